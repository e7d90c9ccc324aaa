#include "SaverDriver.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/TestPaths.h"

namespace driver {

namespace {

void writeIni(const std::string& folder) {
    std::string ini = folder + "cinevane.ini";
    std::string clip = testpaths::sourcePath("tests\\media\\pattern.avi");
    WritePrivateProfileStringA("Setting", "Random", "0", ini.c_str());
    WritePrivateProfileStringA("Setting", "Resume", "0", ini.c_str());
    WritePrivateProfileStringA("Setting", "Sound", "0", ini.c_str());
    WritePrivateProfileStringA("PlayList", "Count", "1", ini.c_str());
    WritePrivateProfileStringA("PlayList", "Path0", clip.c_str(), ini.c_str());
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, ini.c_str());  // flush
}

void copyBeside(const std::string& folder, const char* name) {
    std::string from = testpaths::binaryPath(std::string("tests\\host\\") + name);
    CopyFileA(from.c_str(), (folder + name).c_str(), FALSE);
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

void send(INPUT* inputs, UINT count) {
    SendInput(count, inputs, sizeof(INPUT));
}

LRESULT CALLBACK testWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    TestWindow* self = reinterpret_cast<TestWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self) {
        switch (message) {
            case WM_HELP: {
                ++self->helpCount;
                self->lastWParam = wParam;
                const HELPINFO* help = reinterpret_cast<const HELPINFO*>(lParam);
                self->helpItem = help && help->cbSize == sizeof(HELPINFO) ? help->hItemHandle : nullptr;
                return 1;
            }
            case WM_CONTEXTMENU:
                ++self->contextMenuCount;
                self->lastWParam = wParam;
                self->lastLParam = lParam;
                return 0;
            case WM_ENABLE:
                if (!wParam) ++self->disabledCount;
                break;
        }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}


// Wine settings for the programs under test, made once per run: no window
// manager runs in the test session, so Wine must not wait for one.
class WineSettings : public ::testing::Environment {
public:
    void SetUp() override {
        for (const char* name : PROGRAMS) {
            std::string key = std::string(APP_DEFAULTS) + name;
            // Wine has an MPR.DLL of its own; the fake beside the copy wins.
            writeString((key + "\\DllOverrides").c_str(), "mpr", "native,builtin");
            // Wine confines the pointer to a full-screen window by grabbing
            // it, and the driver could no longer move it.
            writeString((key + "\\X11 Driver").c_str(), "GrabPointer", "N");
        }
        // Without a window manager Wine waits two seconds for one whenever
        // an activated window goes, unless the window is not handed to it.
        // Such a window holds the pointer, so the copies that test movement
        // keep the default.
        for (const char* name : {NT_PROGRAM, WIN98_PROGRAM})
            writeString((std::string(APP_DEFAULTS) + name + "\\X11 Driver").c_str(), "Managed", "N");
        for (const char* name : {WIN98_PROGRAM, WIN98_MOUSE_PROGRAM})
            writeString((std::string(APP_DEFAULTS) + name).c_str(), "Version", "win98");
    }
    void TearDown() override {
        for (const char* name : PROGRAMS) deleteTree((std::string(APP_DEFAULTS) + name).c_str());
    }

private:
    static constexpr const char* PROGRAMS[] = {NT_PROGRAM, NT_MOUSE_PROGRAM, WIN98_PROGRAM, WIN98_MOUSE_PROGRAM};
};
::testing::Environment* const wineSettings = ::testing::AddGlobalTestEnvironment(new WineSettings);

}  // namespace

Copy makeCopy(const std::string& hint, const std::string& fileName, int components) {
    Copy copy;
    copy.folder = testpaths::freshFolder(hint);
    copy.program = copy.folder + fileName;
    CopyFileA(testpaths::binaryPath("cinevane.scr").c_str(), copy.program.c_str(), FALSE);
    writeIni(copy.folder);
    if (components & PASSWORD_CPL) copyBeside(copy.folder, "PASSWORD.CPL");
    if (components & MPR_DLL) copyBeside(copy.folder, "MPR.DLL");
    return copy;
}

PROCESS_INFORMATION start(const Copy& copy, const std::string& commandLine) {
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(copy.program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        copy.folder.c_str(), &startup, &process))
        process = PROCESS_INFORMATION();
    return process;
}

PROCESS_INFORMATION startWith(const Copy& copy, const std::string& tail) {
    return start(copy, "\"" + copy.program + "\" " + tail);
}

bool waitUntil(const std::function<bool()>& done, DWORD deadline) {
    DWORD begin = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (done()) return true;
        if (GetTickCount() - begin >= deadline) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

bool processEnded(const PROCESS_INFORMATION& process) {
    return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0;
}

DWORD finish(PROCESS_INFORMATION& process, DWORD deadline) {
    if (!process.hProcess) return TIMED_OUT;
    DWORD code = TIMED_OUT;
    if (waitUntil([&] { return processEnded(process); }, deadline))
        GetExitCodeProcess(process.hProcess, &code);
    else
        TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, DEADLINE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    process = PROCESS_INFORMATION();
    return code;
}

HWND findWindowOf(const PROCESS_INFORMATION& process, const char* className, const char* title, DWORD deadline) {
    HWND found = nullptr;
    waitUntil(
        [&] {
            HWND window = nullptr;
            while ((window = FindWindowExA(nullptr, window, className, title))) {
                DWORD owner = 0;
                GetWindowThreadProcessId(window, &owner);
                if (owner == process.dwProcessId) {
                    found = window;
                    return true;
                }
            }
            return processEnded(process);
        },
        deadline);
    return found;
}

HWND findSaver(const PROCESS_INFORMATION& process) {
    return findWindowOf(process, "WindowsScreenSaverClass", "Screen Saver");
}

bool settle(HWND window) {
    DWORD thread = GetWindowThreadProcessId(window, nullptr);
    if (!thread) return false;
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    waitUntil([&] {
        if (!IsWindow(window)) return true;
        ChildScan scan = {thread, hasUpdateRegion(window)};
        EnumChildWindows(window, scanChild, reinterpret_cast<LPARAM>(&scan));
        return !scan.pending;
    });
    return IsWindow(window) != FALSE;
}

void pressKey(WORD key, bool withAlt) {
    INPUT inputs[4] = {};
    UINT count = 0;
    auto add = [&](WORD vk, DWORD flags) {
        inputs[count].type = INPUT_KEYBOARD;
        inputs[count].ki.wVk = vk;
        inputs[count].ki.dwFlags = flags;
        ++count;
    };
    if (withAlt) add(VK_MENU, 0);
    add(key, 0);
    add(key, KEYEVENTF_KEYUP);
    if (withAlt) add(VK_MENU, KEYEVENTF_KEYUP);
    send(inputs, count);
}

void clickButton(DWORD downFlag, DWORD upFlag, DWORD data) {
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = downFlag;
    inputs[1].mi.dwFlags = upFlag;
    inputs[0].mi.mouseData = inputs[1].mi.mouseData = data;
    send(inputs, 2);
}

namespace {
POINT expectedCursor = {0, 0};
DWORD lastMoveTick = 0;
}  // namespace

void placeCursor(int x, int y) {
    SetCursorPos(x, y);
    expectedCursor = {x, y};
    lastMoveTick = GetTickCount();
}

bool cursorSettledAndSeen(HWND window) {
    // Wine answers from its own record for 100 ms after a move, then from
    // the display server, which may lag.
    waitUntil([&] {
        POINT cursor;
        return GetTickCount() - lastMoveTick > 150 && GetCursorPos(&cursor) && cursor.x == expectedCursor.x &&
               cursor.y == expectedCursor.y;
    });
    PostMessageA(window, WM_MOUSEMOVE, 0, 0);
    return settle(window);
}

void moveMouse(int dx, int dy) {
    expectedCursor.x += dx;
    expectedCursor.y += dy;
    lastMoveTick = GetTickCount();
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = dx;
    input.mi.dy = dy;
    input.mi.dwFlags = MOUSEEVENTF_MOVE;
    send(&input, 1);
}

TestWindow* createTestWindow(int width, int height) {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = testWindowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        windowClass.lpszClassName = "CinevaneTestDriver";
        registered = RegisterClassA(&windowClass) != 0;
    }
    TestWindow* window = new TestWindow;
    window->handle = CreateWindowExA(0, "CinevaneTestDriver", "driver", WS_POPUP | WS_BORDER, 10, 10, width, height,
                                     nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(window->handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
    // Never activated, so that Wine does not wait for a window manager
    // (there is none) when the window goes.
    ShowWindow(window->handle, SW_SHOWNOACTIVATE);
    return window;
}

TestWindow* foregroundWindow() {
    static TestWindow* window = nullptr;
    if (!window) window = createTestWindow(200, 100);
    return window;
}

bool takeForeground() {
    HWND window = foregroundWindow()->handle;
    SetForegroundWindow(window);
    return waitForeground(window);
}

void destroyTestWindow(TestWindow* window) {
    if (!window) return;
    if (IsWindow(window->handle)) DestroyWindow(window->handle);
    delete window;
}

DWORD readDword(const char* path, const char* name, DWORD fallback) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return fallback;
    DWORD value = fallback, size = sizeof value;
    if (RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS)
        value = fallback;
    RegCloseKey(key);
    return value;
}

HWND readWindow(const char* path, const char* name) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return nullptr;
    ULONGLONG value = 0;
    DWORD type = 0, size = sizeof value;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
        type != REG_QWORD)
        value = 0;
    RegCloseKey(key);
    return reinterpret_cast<HWND>(static_cast<UINT_PTR>(value));
}

std::string readString(const char* path, const char* name) {
    char text[256] = {};
    DWORD size = sizeof text - 1;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return "";
    RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size);
    RegCloseKey(key);
    return text;
}

void writeString(const char* path, const char* name, const char* value) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), lstrlenA(value) + 1);
    RegCloseKey(key);
}

void writeDword(const char* path, const char* name, DWORD value) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
}

void deleteTree(const char* path) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
        char child[256];
        while (RegEnumKeyA(key, 0, child, sizeof child) == ERROR_SUCCESS) {
            std::string childPath = std::string(path) + "\\" + child;
            deleteTree(childPath.c_str());
        }
        RegCloseKey(key);
    }
    RegDeleteKeyA(HKEY_CURRENT_USER, path);
}

}  // namespace driver

namespace driver {

bool waitForeground(HWND window) {
    return waitUntil([&] { return GetForegroundWindow() == window; });
}

DWORD endShowByKey(PROCESS_INFORMATION& process, HWND saver) {
    waitForeground(saver);
    pressKey('Q');
    return finish(process);
}

}  // namespace driver
