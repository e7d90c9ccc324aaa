#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "SaverDriver.h"

using namespace driver;

namespace {

const char DESKTOP_KEY[] = "Control Panel\\Desktop";
const char USE_PASSWORD[] = "ScreenSaveUsePassword";

DWORD fake(const char* name) {
    return readDword(FAKE_PASSWORD_KEY, name);
}

DWORD fake(const char* name, DWORD call) {
    return fake((name + std::to_string(call)).c_str());
}

// The state as the whole session sees it. Each Wine process keeps its own
// copy once read, so the driver looks where Wine shares it.
bool screenSaverRunning() {
    return readString("Software\\Wine\\Temporary System Parameters\\Control Panel\\Desktop",
                      "WINE_ScreenSaverRunning") == "1";
}

}  // namespace

// Shows under Wine's win98 setting with the test build of PASSWORD.CPL.
class Win9x : public ::testing::Test {
protected:
    void SetUp() override {
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, DESKTOP_KEY, 0, KEY_READ, &key) == ERROR_SUCCESS) {
            savedSize = sizeof saved;
            hadValue = RegQueryValueExA(key, USE_PASSWORD, nullptr, &savedType, saved, &savedSize) == ERROR_SUCCESS;
            RegCloseKey(key);
        }
        deleteTree("Software\\CinevaneTests");
        usePassword(1);
    }
    void TearDown() override {
        if (process.hProcess) finish(process, 0);
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, DESKTOP_KEY, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
            if (hadValue)
                RegSetValueExA(key, USE_PASSWORD, 0, savedType, saved, savedSize);
            else
                RegDeleteValueA(key, USE_PASSWORD);
            RegCloseKey(key);
        }
        deleteTree("Software\\CinevaneTests");
        // A show that did not end as it should may have left this on.
        SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, FALSE, nullptr, 0);
    }
    void usePassword(DWORD value) { writeDword(DESKTOP_KEY, USE_PASSWORD, value); }
    void answer(DWORD value) { writeDword(FAKE_PASSWORD_KEY, "Answer", value); }

    HWND startShow(int components = PASSWORD_CPL, const char* hint = "win9x", const char* name = WIN98_PROGRAM) {
        copy = makeCopy(hint, name, components);
        placeCursor(400, 300);
        process = startWith(copy, "/s");
        HWND saver = findSaver(process);
        if (saver) waitForeground(saver);
        return saver;
    }
    bool callsReach(DWORD count) {
        return waitUntil([&] { return fake("Calls") >= count || processEnded(process); }) && fake("Calls") == count;
    }
    // Waits until the 200 ms after the last refused request have passed.
    void outlastRecheckDelay(DWORD call) {
        DWORD exit = fake("Exit", call);
        waitUntil([&] { return GetTickCount() - exit > 250; });
    }

    Copy copy;
    PROCESS_INFORMATION process = {};
    bool hadValue = false;
    DWORD savedType = 0, savedSize = 0;
    BYTE saved[64] = {};
};

TEST_F(Win9x, AcceptedPasswordEndsTheShowAndScreenSaverRunningGoesOff) {
    answer(1);
    HWND saver = startShow();
    ASSERT_NE(nullptr, saver);
    EXPECT_EQ(1u, fake("Loads"));
    EXPECT_TRUE(screenSaverRunning());
    pressKey('K');
    EXPECT_EQ(0u, finish(process));
    ASSERT_EQ(1u, fake("Calls"));
    EXPECT_EQ(saver, readWindow(FAKE_PASSWORD_KEY, "Window1"));
    EXPECT_EQ(1u, fake("Running", 1));  // on while the password guards the desktop
    EXPECT_FALSE(screenSaverRunning());
}

TEST_F(Win9x, RefusedPasswordKeepsTheShowAndMovesTheReferencePoint) {
    answer(0);
    HWND saver = startShow(PASSWORD_CPL, "win9x-mouse", WIN98_MOUSE_PROGRAM);
    ASSERT_NE(nullptr, saver);
    moveMouse(3, 0);
    ASSERT_TRUE(cursorSettledAndSeen(saver));
    EXPECT_EQ(0u, fake("Calls"));
    pressKey('K');
    ASSERT_TRUE(callsReach(1));
    ASSERT_TRUE(settle(saver));
    EXPECT_FALSE(processEnded(process));

    // Measured from where the close was refused, 3 more pixels stay below
    // the threshold although the cursor is now 6 from the start.
    outlastRecheckDelay(1);
    moveMouse(3, 0);
    ASSERT_TRUE(cursorSettledAndSeen(saver));
    EXPECT_EQ(1u, fake("Calls"));
    moveMouse(0, 2);
    EXPECT_TRUE(callsReach(2));
    ASSERT_TRUE(settle(saver));

    answer(1);
    outlastRecheckDelay(2);
    pressKey('K');
    EXPECT_EQ(0u, finish(process));
    EXPECT_EQ(3u, fake("Calls"));
}

TEST_F(Win9x, CloseRightAfterARefusalIsRefusedWithoutAsking) {
    answer(0);
    writeDword(FAKE_PASSWORD_KEY, "PostClose", 1);  // one more WM_CLOSE at once
    HWND saver = startShow();
    ASSERT_NE(nullptr, saver);
    pressKey('K');
    ASSERT_TRUE(callsReach(1));
    writeDword(FAKE_PASSWORD_KEY, "PostClose", 0);
    ASSERT_TRUE(settle(saver));
    // Asked again only when 200 ms had passed since the refusal.
    if (fake("Calls") > 1) {
        EXPECT_GE(fake("Entry", 2) - fake("Exit", 1), 200u);
    }
    DWORD calls = fake("Calls");

    outlastRecheckDelay(calls);
    pressKey('K');
    EXPECT_TRUE(callsReach(calls + 1));
    EXPECT_TRUE(settle(saver));
    answer(1);
    outlastRecheckDelay(calls + 1);
    pressKey('K');
    EXPECT_EQ(0u, finish(process));
}

TEST_F(Win9x, WithoutPasswordLibraryTheFirstInputEndsTheShow) {
    HWND saver = startShow(NONE);
    ASSERT_NE(nullptr, saver);
    EXPECT_FALSE(screenSaverRunning());
    clickButton(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(0u, finish(process));
    EXPECT_EQ(0u, fake("Loads"));
}

TEST_F(Win9x, PasswordValueOffLeavesTheLibraryAlone) {
    usePassword(0);
    HWND saver = startShow();
    ASSERT_NE(nullptr, saver);
    EXPECT_EQ(0u, endShowByKey(process, saver));
    EXPECT_EQ(0u, fake("Loads"));
    EXPECT_EQ(0u, fake("Calls"));
}

TEST_F(Win9x, AutoPlayIsCancelledOnlyUnderPassword) {
    UINT autoPlay = RegisterWindowMessageA("QueryCancelAutoPlay");
    answer(0);
    HWND saver = startShow();
    ASSERT_NE(nullptr, saver);
    EXPECT_EQ(1, SendMessageA(saver, autoPlay, 0, 0));
    EXPECT_TRUE(callsReach(1));  // and the show is asked to close
    EXPECT_TRUE(settle(saver));
    answer(1);
    outlastRecheckDelay(1);
    pressKey('K');
    EXPECT_EQ(0u, finish(process));

    usePassword(0);
    saver = startShow(PASSWORD_CPL, "autoplay-open");
    ASSERT_NE(nullptr, saver);
    EXPECT_EQ(0, SendMessageA(saver, autoPlay, 0, 0));
    EXPECT_EQ(0u, finish(process));
}

TEST_F(Win9x, SecondShowEndsBeforeReadingThePasswordSetting) {
    answer(0);
    HWND saver = startShow();
    ASSERT_NE(nullptr, saver);
    ASSERT_EQ(1u, fake("Loads"));
    // Another window takes the foreground; the refused password keeps the show.
    HWND other = foregroundWindow()->handle;
    PostMessageA(saver, WM_ACTIVATEAPP, FALSE, GetCurrentThreadId());
    ASSERT_TRUE(waitUntil([&] {
        if (GetForegroundWindow() != other) SetForegroundWindow(other);
        return fake("Calls") >= 1 && GetForegroundWindow() == other;
    }));
    ASSERT_TRUE(settle(saver));
    DWORD calls = fake("Calls");

    Copy second = makeCopy("win9x-second", WIN98_PROGRAM, PASSWORD_CPL);
    PROCESS_INFORMATION again = startWith(second, "/s");
    EXPECT_EQ(0u, finish(again));
    EXPECT_EQ(1u, fake("Loads"));  // the second process never loaded it
    EXPECT_TRUE(waitForeground(saver));

    answer(1);
    outlastRecheckDelay(calls);
    pressKey('K');
    EXPECT_EQ(0u, finish(process));
}

TEST_F(Win9x, PasswordChangeCallsTheSystemDialog) {
    TestWindow* owner = createTestWindow();
    copy = makeCopy("win9x-mpr", WIN98_PROGRAM, MPR_DLL);
    process = startWith(copy, "/a " + std::to_string(reinterpret_cast<UINT_PTR>(owner->handle)));
    EXPECT_EQ(0u, finish(process));
    EXPECT_EQ(1u, readDword(FAKE_MPR_KEY, "Calls"));
    EXPECT_EQ("SCRSAVE", readString(FAKE_MPR_KEY, "Provider"));
    EXPECT_EQ(owner->handle, readWindow(FAKE_MPR_KEY, "Parent"));
    EXPECT_EQ(0u, readDword(FAKE_MPR_KEY, "Reserved"));

    // Without a live handle the foreground window is the parent.
    ASSERT_TRUE(takeForeground());
    process = startWith(copy, "-A 12");
    EXPECT_EQ(0u, finish(process));
    EXPECT_EQ(2u, readDword(FAKE_MPR_KEY, "Calls"));
    EXPECT_EQ(foregroundWindow()->handle, readWindow(FAKE_MPR_KEY, "Parent"));

    // Without the component the mode ends quietly.
    Copy bare = makeCopy("win9x-no-mpr", WIN98_PROGRAM);
    process = startWith(bare, "/a");
    EXPECT_EQ(0u, finish(process));
    EXPECT_EQ(2u, readDword(FAKE_MPR_KEY, "Calls"));
    destroyTestWindow(owner);
}

// The machine's last-chance debugger, replaced for one case by a program
// that does not exist: the system's filter then answers that the handler is
// to run, as it does on a machine without a registered debugger.
class NoDebugger {
public:
    NoDebugger() {
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, KEY, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
        DWORD size = sizeof saved - 1;
        hadDebugger = RegQueryValueExA(key, "Debugger", nullptr, nullptr, reinterpret_cast<BYTE*>(saved), &size) ==
                      ERROR_SUCCESS;
        const char none[] = "cinevane-test-no-such-debugger.exe %ld %ld";
        RegSetValueExA(key, "Debugger", 0, REG_SZ, reinterpret_cast<const BYTE*>(none), sizeof none);
    }
    ~NoDebugger() {
        if (hadDebugger)
            RegSetValueExA(key, "Debugger", 0, REG_SZ, reinterpret_cast<const BYTE*>(saved), lstrlenA(saved) + 1);
        else
            RegDeleteValueA(key, "Debugger");
        RegCloseKey(key);
    }

private:
    static constexpr const char* KEY = "Software\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug";
    HKEY key = nullptr;
    bool hadDebugger = false;
    char saved[512] = {};
};

TEST_F(Win9x, FaultInsideTheShowEndsWithMinusOneAndScreenSaverRunningOff) {
    NoDebugger noDebugger;
    answer(2);  // the password check faults
    HWND saver = startShow();
    ASSERT_NE(nullptr, saver);
    EXPECT_TRUE(screenSaverRunning());
    pressKey('K');
    EXPECT_EQ(static_cast<DWORD>(-1), finish(process));
    EXPECT_EQ(1u, fake("Calls"));
    EXPECT_FALSE(screenSaverRunning());
}
