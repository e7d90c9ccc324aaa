#include "support/RunningProgram.h"

#include <psapi.h>
#include <tlhelp32.h>

#include <cstdio>

#include "support/HandleCount.h"
#include "support/ProcessWindows.h"
#include "support/UserInput.h"

namespace {

const char SAVER_CLASS[] = "WindowsScreenSaverClass";

std::string folderOf(const std::string& program) {
    return program.substr(0, program.find_last_of('\\') + 1);
}

bool hasUpdateRegion(HWND window) {
    RECT r;
    return GetUpdateRect(window, &r, FALSE) != FALSE;
}

struct ChildScan {
    DWORD thread;
    bool pending;
};

BOOL CALLBACK scanChild(HWND child, LPARAM data) {
    ChildScan* scan = reinterpret_cast<ChildScan*>(data);
    if (GetWindowThreadProcessId(child, nullptr) == scan->thread && hasUpdateRegion(child)) scan->pending = true;
    return TRUE;
}

}  // namespace

RunningProgram::~RunningProgram() {
    kill();
    close();
}

bool RunningProgram::start(const std::string& program, const std::string& arguments) {
    std::string commandLine = "\"" + program + "\"" + (arguments.empty() ? "" : " " + arguments);
    return startCommandLine(program, commandLine);
}

bool RunningProgram::startCommandLine(const std::string& program, const std::string& commandLine) {
    return startCommandLine(program, commandLine, folderOf(program).c_str());
}

bool RunningProgram::startCommandLine(const std::string& program, const std::string& commandLine,
                                      const char* folder) {
    kill();
    close();
    std::string line = commandLine;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(program.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, folder, &startup, &info))
        return false;
    CloseHandle(info.hThread);
    process = info.hProcess;
    processId = info.dwProcessId;
    return true;
}

// The handle stays open until the object goes or starts again, so that the
// process id cannot be given to another process while it is looked for.
void RunningProgram::close() {
    if (process) CloseHandle(process);
    process = nullptr;
}

bool RunningProgram::running() const {
    return process && WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
}

bool RunningProgram::ended() const {
    return process && WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
}

bool RunningProgram::waitForExit(DWORD deadline) {
    return process && pump::until([this] { return ended(); }, deadline);
}

DWORD RunningProgram::threadCount() const {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    DWORD threads = 0;
    THREADENTRY32 entry;
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        threads += entry.th32OwnerProcessID == processId;
    CloseHandle(snapshot);
    return threads;
}

long RunningProgram::handleCount() const {
    return process ? processHandleCount(process, processId) : -1;
}

SIZE_T RunningProgram::privateBytes() const {
    PROCESS_MEMORY_COUNTERS_EX memory;
    ZeroMemory(&memory, sizeof memory);
    if (!process || !GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory))
        return 0;
    return memory.PrivateUsage;
}

DWORD RunningProgram::exitCode() const {
    DWORD code = STILL_ACTIVE;
    if (process) GetExitCodeProcess(process, &code);
    return code;
}

DWORD RunningProgram::finish(DWORD deadline) {
    if (!process) return TIMED_OUT;
    DWORD code = waitForExit(deadline) ? exitCode() : TIMED_OUT;
    kill();
    close();
    return code;
}

void RunningProgram::kill() {
    if (!running()) return;
    TerminateProcess(process, 1);
    WaitForSingleObject(process, pump::DEADLINE);
}

DWORD RunningProgram::endShowWithKey() {
    HWND saver = running() ? waitForSaver() : nullptr;
    if (!saver) return NO_SHOW;
    pump::until([saver] { return GetForegroundWindow() == saver || !IsWindow(saver); });
    userinput::pressKey(VK_SHIFT);
    return waitForExit() ? exitCode() : TIMED_OUT;
}

bool RunningProgram::nothingLeft() const {
    if (!ended()) return false;
    // The system takes down what an ended process leaves a moment after its
    // end, later on a busy machine.
    std::string left;
    if (pump::until([&] { return (left = whatIsLeft()).empty(); }, 10000)) return true;
    std::printf("left behind by process %lu: %s\n", processId, left.c_str());
    return false;
}

std::string RunningProgram::whatIsLeft() const {
    if (processwindows::topWindowOf(processId, SAVER_CLASS)) return "its saver window";
    FILETIME started, exited, kernel, user;
    if (!GetProcessTimes(process, &started, &exited, &kernel, &user)) return "(its times cannot be read)";
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return "(the processes cannot be listed)";
    std::string left;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        // Wine starts its desktop's process from the first program that
        // needs the desktop after the last one went; it is the system's.
        if (lstrcmpiA(entry.szExeFile, "explorer.exe") == 0) continue;
        if (entry.th32ParentProcessID == processId && !startedBefore(entry.th32ProcessID, started))
            left += std::string(left.empty() ? "" : ", ") + "its child " + entry.szExeFile;
    }
    CloseHandle(snapshot);
    return left;
}

// A process that names the program as its parent but is older than it was
// started by an earlier process that had the same id.
bool RunningProgram::startedBefore(DWORD otherId, const FILETIME& started) {
    HANDLE other = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, otherId);
    if (!other) return false;
    FILETIME otherStarted, exited, kernel, user;
    const bool older = GetProcessTimes(other, &otherStarted, &exited, &kernel, &user) &&
                       CompareFileTime(&otherStarted, &started) < 0;
    CloseHandle(other);
    return older;
}

HWND RunningProgram::waitForWindow(const char* windowClass, const char* title, DWORD deadline) const {
    HWND found = nullptr;
    pump::until(
        [&] {
            found = processwindows::topWindowOf(processId, windowClass, title);
            return found || !running();
        },
        deadline);
    return found;
}

HWND RunningProgram::waitForSaver(DWORD deadline) const {
    return waitForWindow(SAVER_CLASS, "Screen Saver", deadline);
}

HWND RunningProgram::waitForDialog(DWORD deadline) const {
    HWND found = nullptr;
    pump::until(
        [&] {
            found = processwindows::topWindowOf(processId, "#32770", nullptr, true);
            return found || !running();
        },
        deadline);
    return found;
}

bool RunningProgram::settle(HWND window) {
    DWORD thread = GetWindowThreadProcessId(window, nullptr);
    if (!thread) return false;
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    pump::until([&] {
        if (!IsWindow(window)) return true;
        ChildScan scan = {thread, hasUpdateRegion(window)};
        EnumChildWindows(window, scanChild, reinterpret_cast<LPARAM>(&scan));
        return !scan.pending;
    });
    return IsWindow(window) != FALSE;
}
