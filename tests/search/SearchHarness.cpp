#include "SearchHarness.h"

#include <tlhelp32.h>
#include <winternl.h>

#include <cstring>
#include <cwchar>

#include "playback/playlist/PlaylistBuilder.h"
#include "playback/playlist/SearchMessages.h"
#include "playback/show/ShowMessages.h"
#include "support/ImportRedirect.h"
#include "support/PlayOrder.h"
#include "support/TestPaths.h"

namespace search {

std::string bigFolder(const char* name) {
    return testpaths::binaryPath(std::string("search-data\\") + name + "\\");
}

std::vector<std::string> repeated(const std::string& entry, int times) {
    return std::vector<std::string>(static_cast<size_t>(times), entry);
}

std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::vector<std::string> clipFolder(const char* hint, const char* clip, int copies) {
    std::string folder = testpaths::freshFolder(hint);
    std::vector<std::string> paths = {folder};
    const std::string source = testpaths::clip(clip);
    for (int i = 0; i < copies; ++i) {
        paths.push_back(folder + "copy" + std::to_string(i) + ".avi");
        CopyFileA(source.c_str(), paths.back().c_str(), FALSE);
    }
    return paths;
}

std::vector<std::string> listOrder(const std::vector<std::string>& entries) { return playorder::builtFrom(entries); }

namespace {

// The search lists through the wide call on the NT family.
typedef HANDLE(WINAPI* FindFirstProc)(LPCWSTR, LPWIN32_FIND_DATAW);
FindFirstProc systemFindFirst = nullptr;
HANDLE hangOver = nullptr;  // manual-reset: set while nothing hangs
volatile LONG blocked = 0;

HANDLE WINAPI hangingFindFirst(LPCWSTR pattern, LPWIN32_FIND_DATAW found) {
    if (std::wcsstr(pattern, L"hang\\*") && WaitForSingleObject(hangOver, 0) == WAIT_TIMEOUT) {
        InterlockedIncrement(&blocked);
        WaitForSingleObject(hangOver, INFINITE);
        InterlockedDecrement(&blocked);
    }
    return systemFindFirst(pattern, found);
}

}  // namespace

HangingSearch::HangingSearch() {
    if (!hangOver) hangOver = CreateEventA(nullptr, TRUE, TRUE, nullptr);
    if (!systemFindFirst) systemFindFirst = imports::redirect("kernel32.dll", "FindFirstFileW", &hangingFindFirst);
    ResetEvent(hangOver);
}

HangingSearch::~HangingSearch() { release(); }

void HangingSearch::release() { SetEvent(hangOver); }

bool HangingSearch::holding() const { return InterlockedCompareExchange(&blocked, 0, 0) > 0; }

std::string HangingSearch::folder() { return testpaths::freshFolder("hang"); }

namespace {

// The program makes no semaphores; the system makes one for a lock of its
// own (the heap's, the runtime's) the first time two threads meet at it, and
// keeps it for the process (seen under Wine 10).
bool isSemaphore(HANDLE handle) {
    typedef LONG(WINAPI * QueryObject)(HANDLE, int, void*, ULONG, ULONG*);
    static const QueryObject query = reinterpret_cast<QueryObject>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryObject")));
    const int objectTypeInformation = 2;
    struct {
        UNICODE_STRING name;
        WCHAR rest[128];
    } type = {};
    ULONG length = 0;
    return query && query(handle, objectTypeInformation, &type, sizeof type, &length) >= 0 && type.name.Buffer &&
           lstrcmpW(type.name.Buffer, L"Semaphore") == 0;
}

}  // namespace

Holdings holdings() {
    Holdings held = {0, 0};
    // Wine answers GetProcessHandleCount with 0; a handle value is in use
    // when the system can tell its flags.
    for (ULONG_PTR value = 4; value < 0x10000; value += 4) {
        DWORD flags;
        const HANDLE handle = reinterpret_cast<HANDLE>(value);
        if (GetHandleInformation(handle, &flags) && !isSemaphore(handle)) ++held.handles;
    }
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 thread = {};
    thread.dwSize = sizeof thread;
    for (BOOL more = Thread32First(snapshot, &thread); more; more = Thread32Next(snapshot, &thread))
        if (thread.th32OwnerProcessID == GetCurrentProcessId()) ++held.threads;
    CloseHandle(snapshot);
    return held;
}

ShowLog::~ShowLog() {
    mcicalls::record(nullptr);
}

inprocess::SaverHooks ShowLog::hooks() {
    mcicalls::record(&calls);
    inprocess::SaverHooks hooks;
    hooks.afterMessage = [this](UINT message) {
        // Each file opened is an event of the message that opened it, which
        // may be another (the search's timer); a file played again in a row
        // opens again.
        const WPARAM parameter = inprocess::handlingParameter();
        bool logged = false;
        for (; callsSeen < calls.size(); ++callsSeen) {
            const mcicalls::Call& call = calls[callsSeen];
            if (call.command != MCI_OPEN || call.result != 0) continue;
            events.push_back({message, call.element.empty() ? "(unknown)" : call.element, parameter});
            logged = true;
        }
        if (!logged && (message == WM_SHOW_START || message == WM_SHOW_NEXT || message == WM_SEARCH_FOUND ||
                        message == WM_SEARCH_DONE)) {
            events.push_back({message, "", parameter});
            logged = true;
        }
        if (logged && react) react();
    };
    return hooks;
}

std::vector<std::string> ShowLog::played() const {
    std::vector<std::string> files;
    for (const ShowEvent& event : events)
        if (!event.opened.empty()) files.push_back(event.opened);
    return files;
}

int ShowLog::first(UINT message) const {
    for (size_t i = 0; i < events.size(); ++i)
        if (events[i].message == message) return static_cast<int>(i);
    return -1;
}

int ShowLog::opening(size_t n) const {
    for (size_t i = 0; i < events.size(); ++i)
        if (!events[i].opened.empty() && n-- == 0) return static_cast<int>(i);
    return -1;
}

int ShowLog::count(UINT message) const {
    int found = 0;
    for (const ShowEvent& event : events) found += event.message == message;
    return found;
}

}  // namespace search
