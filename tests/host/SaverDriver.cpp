#include "SaverDriver.h"

#include <gtest/gtest.h>

#include "base/OwnedHandles.h"
#include "support/TestPaths.h"

namespace driver {

namespace {

void copyBeside(const std::string& folder, const char* name) {
    std::string from = testpaths::binaryPath(std::string("tests\\host\\") + name);
    CopyFileA(from.c_str(), (folder + name).c_str(), FALSE);
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

ProgramCopy makeCopy(const std::string& hint, const std::string& fileName, int components) {
    ProgramCopy copy(hint, ProgramCopy::builtProgram(), fileName);
    copy.setOptions(0, 0, 0);
    copy.setEntries({testpaths::clip("pattern.avi")});
    if (components & PASSWORD_CPL) copyBeside(copy.folder, "PASSWORD.CPL");
    if (components & MPR_DLL) copyBeside(copy.folder, "MPR.DLL");
    return copy;
}

::testing::AssertionResult cursorSettledAndSeen(HWND window) {
    if (!userinput::cursorSettled()) {
        POINT at = {}, target = userinput::cursorTarget();
        GetCursorPos(&at);
        return ::testing::AssertionFailure() << "the pointer is at " << at.x << "," << at.y
                                             << ", not where the moves put it, " << target.x << "," << target.y;
    }
    PostMessageA(window, WM_MOUSEMOVE, 0, 0);
    if (!RunningProgram::settle(window)) return ::testing::AssertionFailure() << "the show ended";
    return ::testing::AssertionSuccess();
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
    // Asked again while it waits: a program of an earlier case that is still
    // going away may hold the foreground for a moment and refuse the first.
    return pump::until([&] {
        if (GetForegroundWindow() != window) SetForegroundWindow(window);
        return GetForegroundWindow() == window;
    });
}

void destroyTestWindow(TestWindow* window) {
    if (!window) return;
    if (IsWindow(window->handle)) DestroyWindow(window->handle);
    delete window;
}

bool waitForeground(HWND window) {
    return pump::until([&] { return GetForegroundWindow() == window; });
}

DWORD readDword(const char* path, const char* name, DWORD fallback) {
    RegistryKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, key.receive()) != ERROR_SUCCESS) return fallback;
    DWORD value = fallback, size = sizeof value;
    if (RegQueryValueExA(key.handle(), name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size) !=
        ERROR_SUCCESS)
        value = fallback;
    return value;
}

HWND readWindow(const char* path, const char* name) {
    RegistryKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, key.receive()) != ERROR_SUCCESS) return nullptr;
    ULONGLONG value = 0;
    DWORD type = 0, size = sizeof value;
    if (RegQueryValueExA(key.handle(), name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_QWORD)
        value = 0;
    return reinterpret_cast<HWND>(static_cast<UINT_PTR>(value));
}

std::string readString(const char* path, const char* name) {
    char text[256] = {};
    DWORD size = sizeof text - 1;
    RegistryKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, key.receive()) != ERROR_SUCCESS) return "";
    RegQueryValueExA(key.handle(), name, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size);
    return text;
}

void writeString(const char* path, const char* name, const char* value) {
    RegistryKey key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.receive(), nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExA(key.handle(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), lstrlenA(value) + 1);
}

void writeDword(const char* path, const char* name, DWORD value) {
    RegistryKey key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.receive(), nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExA(key.handle(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

void deleteTree(const char* path) {
    {
        RegistryKey key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_ALL_ACCESS, key.receive()) == ERROR_SUCCESS) {
            char child[256];
            while (RegEnumKeyA(key.handle(), 0, child, sizeof child) == ERROR_SUCCESS) {
                std::string childPath = std::string(path) + "\\" + child;
                deleteTree(childPath.c_str());
            }
        }
    }
    RegDeleteKeyA(HKEY_CURRENT_USER, path);
}

}  // namespace driver
