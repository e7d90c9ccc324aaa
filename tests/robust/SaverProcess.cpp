#include "SaverProcess.h"

#include <tlhelp32.h>

#include "RobustReport.h"
#include "support/ProcessWindows.h"
#include "support/TestPaths.h"

namespace {

HWND saverWindowOf(DWORD processId) {
    return processwindows::topWindowOf(processId, "WindowsScreenSaverClass");
}

}  // namespace

SaverProcess::~SaverProcess() {
    kill();
    if (process) CloseHandle(process);
}

std::string SaverProcess::prepare(const std::string& hint, const std::string& iniText) {
    std::string folder = testpaths::freshFolder(hint);
    CopyFileA(testpaths::binaryPath("cinevane.scr").c_str(), (folder + "cinevane.scr").c_str(), FALSE);
    robust::writeBytes(folder + "cinevane.ini", iniText);
    return folder;
}

bool SaverProcess::start(const std::string& folder) {
    std::string line = "\"" + folder + "cinevane.scr\" /s";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    startedAt = GetTickCount();
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &info)) {
        return false;
    }
    CloseHandle(info.hThread);
    process = info.hProcess;
    id = info.dwProcessId;
    code = STILL_ACTIVE;
    return true;
}

HWND SaverProcess::waitForWindow(DWORD milliseconds) {
    DWORD begun = GetTickCount();
    while (process && GetTickCount() - begun < milliseconds) {
        saverWindow = saverWindowOf(id);
        if (saverWindow) return saverWindow;
        if (WaitForSingleObject(process, 5) == WAIT_OBJECT_0) break;
    }
    return nullptr;
}

// The handle stays open until the object goes, so that the process id
// cannot be given to another process while it is still looked for.
bool SaverProcess::waitForExit(DWORD milliseconds) {
    if (!process) return false;
    if (code != STILL_ACTIVE) return true;
    if (WaitForSingleObject(process, milliseconds) != WAIT_OBJECT_0) return false;
    endedAt = GetTickCount();
    GetExitCodeProcess(process, &code);
    return true;
}

bool SaverProcess::nothingLeft() const {
    if (!process || WaitForSingleObject(process, 0) != WAIT_OBJECT_0) return false;
    if (saverWindowOf(id)) return false;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return false;
    bool left = false;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        if (entry.th32ParentProcessID == id) left = true;
    }
    CloseHandle(snapshot);
    return !left;
}

void SaverProcess::kill() {
    if (!process || WaitForSingleObject(process, 0) == WAIT_OBJECT_0) return;
    TerminateProcess(process, 99);
    WaitForSingleObject(process, 10000);
}

void SaverProcess::pressKey() {
    if (!saverWindow) saverWindow = saverWindowOf(id);
    if (saverWindow) PostMessageA(saverWindow, WM_KEYDOWN, VK_SPACE, 1);
}
