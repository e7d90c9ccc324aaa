#include "support/InProcessShow.h"

#include <gtest/gtest.h>
#include <commctrl.h>
#include <mmsystem.h>
#include <psapi.h>

#include <cstring>

#include "host/SaverWindow.h"
#include "playback/show/ShowMessages.h"
#include "support/MessagePump.h"
#include "support/RunningProgram.h"
#include "support/TestPaths.h"

namespace inprocess {

bool enabled = false;

std::string iniPath() { return testpaths::programFolder() + "cinevane.ini"; }

void Case::SetUp() {
    if (!enabled) GTEST_SKIP() << "runs only in a show's own process";
}

ProgramCopy copyOfThisProgram(const std::string& hint) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return ProgramCopy(hint, path);
}

void runCase(const ProgramCopy& copy, const std::string& suiteAndName) {
    RunningProgram child;
    ASSERT_TRUE(child.start(copy.program, "--in-process --gtest_filter=" + suiteAndName));
    ASSERT_TRUE(child.waitForExit(8 * pump::DEADLINE)) << suiteAndName << " did not finish";
    EXPECT_EQ(0u, child.exitCode()) << suiteAndName << " failed; its output is above";
}

int runTests(int argc, char** argv, const char* inProcessSuite) {
    testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i)
        if (strcmp(argv[i], "--in-process") == 0) enabled = true;
    if (enabled) {
        // As the program does at its start. It also keeps the common controls
        // loaded when a show closes its last video device and the driver goes
        // with them: Wine can hang unloading them there, which the program,
        // holding them itself, never meets.
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TAB_CLASSES};
        InitCommonControlsEx(&controls);
    } else {
        std::string filter = GTEST_FLAG_GET(filter);
        GTEST_FLAG_SET(filter, filter + (filter.find('-') == std::string::npos ? "-" : ":") + inProcessSuite + "*");
    }
    return RUN_ALL_TESTS();
}

namespace {

const char kClassName[] = "CinevaneTestSaver";
SaverHooks hooks;
int handled = 0;
bool inShowNext = false;
WPARAM parameter = 0;

LRESULT CALLBACK testSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE && hooks.beforeCreate) hooks.beforeCreate();
    bool isShowMessage = message == WM_SHOW_START || message == WM_SHOW_NEXT;
    inShowNext = message == WM_SHOW_NEXT;
    parameter = wParam;
    LRESULT result = hostWindowProc(window, message, wParam, lParam);
    inShowNext = false;
    parameter = wParam;  // messages sent while it was handled may have changed it
    if (isShowMessage) {
        ++handled;
        if (hooks.afterShowMessage) hooks.afterShowMessage(message);
    }
    if (hooks.afterMessage) hooks.afterMessage(message);
    return result;
}

BOOL CALLBACK countWindow(HWND window, LPARAM counter) {
    ++*reinterpret_cast<DWORD*>(counter);
    EnumChildWindows(window, countWindow, counter);
    return TRUE;
}

}  // namespace

HWND createSaver(int width, int height, const SaverHooks& saverHooks) {
    hooks = saverHooks;
    WNDCLASSA saverClass = {};
    saverClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC;
    saverClass.lpfnWndProc = testSaverProc;
    saverClass.hInstance = GetModuleHandleA(nullptr);
    saverClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    saverClass.lpszClassName = kClassName;
    RegisterClassA(&saverClass);
    HWND window = CreateWindowExA(WS_EX_TOPMOST, kClassName, "Screen Saver",
                                  WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
                                  width, height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (window) SetForegroundWindow(window);
    return window;
}

HWND createSaver(const SaverHooks& hooks) {
    return createSaver(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), hooks);
}

bool waitUntilGone(HWND window, DWORD deadline) {
    return pump::until([window] { return !IsWindow(window); }, deadline);
}

bool endWithKey(HWND window) {
    PostMessageA(window, WM_KEYDOWN, VK_SHIFT, 0);
    return waitUntilGone(window);
}

int showMessagesHandled() { return handled; }
bool handlingShowNext() { return inShowNext; }
WPARAM handlingParameter() { return parameter; }

std::string openDeviceAlias() {
    DWORD count = 0;
    MCI_SYSINFO_PARMSA query = {};
    query.lpstrReturn = reinterpret_cast<char*>(&count);
    query.dwRetSize = sizeof count;
    if (mciSendCommandA(MCI_ALL_DEVICE_ID, MCI_SYSINFO, MCI_SYSINFO_OPEN | MCI_SYSINFO_QUANTITY,
                        reinterpret_cast<DWORD_PTR>(&query)) || count != 1)
        return "";
    char name[300] = {};
    query.lpstrReturn = name;
    query.dwRetSize = sizeof name;
    query.dwNumber = 1;
    if (mciSendCommandA(MCI_ALL_DEVICE_ID, MCI_SYSINFO, MCI_SYSINFO_OPEN | MCI_SYSINFO_NAME,
                        reinterpret_cast<DWORD_PTR>(&query)))
        return "";
    return name;
}

std::string pathOfAlias(const std::string& alias) {
    return alias.substr(0, alias.find_last_of('_'));
}

bool deviceStatus(const std::string& alias, DWORD item, DWORD& value) {
    MCIDEVICEID device = mciGetDeviceIDA(alias.c_str());
    if (!device) return false;
    MCI_STATUS_PARMS status = {};
    status.dwItem = item;
    if (mciSendCommandA(device, MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT,
                        reinterpret_cast<DWORD_PTR>(&status)))
        return false;
    value = static_cast<DWORD>(status.dwReturn);
    return true;
}

namespace {

SIZE_T heapBytesInUse() {
    HANDLE heaps[64];
    DWORD count = GetProcessHeaps(64, heaps);
    SIZE_T total = 0;
    for (DWORD i = 0; i < count && i < 64; ++i) {
        if (!HeapLock(heaps[i])) continue;
        PROCESS_HEAP_ENTRY entry = {};
        while (HeapWalk(heaps[i], &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) total += entry.cbData;
        HeapUnlock(heaps[i]);
    }
    return total;
}

}  // namespace

ResourceFigures measure() {
    ResourceFigures figures = {};
    // Wine keeps the process's GDI objects in a table indexed by the low word
    // of the handle, and GetObjectType accepts the bare index.
    for (ULONG_PTR index = 1; index < 0x10000; ++index)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(index))) ++figures.gdiObjects;
    EnumThreadWindows(GetCurrentThreadId(), countWindow, reinterpret_cast<LPARAM>(&figures.windows));
    figures.guiGdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    figures.guiUser = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                             sizeof memory))
        figures.privateBytes = memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage;
    figures.heapBytes = heapBytesInUse();
    return figures;
}

}  // namespace inprocess
