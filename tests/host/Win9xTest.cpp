#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "SaverDriver.h"
#include "base/OwnedHandles.h"

using namespace driver;

namespace {

const char DESKTOP_KEY[] = "Control Panel\\Desktop";
const char USE_PASSWORD[] = "ScreenSaveUsePassword";
// After a refused password check the show refuses a close without asking
// for this long.
const DWORD RECHECK_DELAY = 200;

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
        RegistryKey key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, DESKTOP_KEY, 0, KEY_READ, key.receive()) == ERROR_SUCCESS) {
            savedSize = sizeof saved;
            hadValue = RegQueryValueExA(key.handle(), USE_PASSWORD, nullptr, &savedType, saved, &savedSize) ==
                       ERROR_SUCCESS;
        }
        deleteTree("Software\\CinevaneTests");
        usePassword(1);
    }
    void TearDown() override {
        process.kill();
        RegistryKey key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, DESKTOP_KEY, 0, KEY_ALL_ACCESS, key.receive()) == ERROR_SUCCESS) {
            if (hadValue)
                RegSetValueExA(key.handle(), USE_PASSWORD, 0, savedType, saved, savedSize);
            else
                RegDeleteValueA(key.handle(), USE_PASSWORD);
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
        if (!process.start(copy.program, "/s")) return nullptr;
        HWND saver = process.waitForSaver();
        if (saver) waitForeground(saver);
        return saver;
    }
    bool callsReach(DWORD count) {
        return pump::until([&] { return fake("Calls") >= count || process.ended(); }) && fake("Calls") == count;
    }
    // After a refused request the show refuses a close without asking for a
    // while, and such a close leaves nothing behind while the pointer stays
    // put. So this presses a key, lets the show answer it, and presses again
    // until the show asks: the close that asks comes after that interval
    // however long the machine takes.
    ::testing::AssertionResult keyUntilAsked(HWND saver) {
        const DWORD before = fake("Calls");
        pump::until([&] {
            if (fake("Calls") == before && IsWindow(saver)) {
                pressKey('K');
                RunningProgram::settle(saver);
            }
            return fake("Calls") != before || !IsWindow(saver);
        });
        if (fake("Calls") == before + 1) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "calls went from " << before << " to " << fake("Calls");
    }
    // A movement that must not close the show leaves no trace, and neither
    // would a close within that interval; such a movement proves something
    // only once the interval is over, which only the clock tells. The show
    // notes the refusal's end before it handles anything queued later, so once
    // its window has settled the interval began no later than now; it ends
    // when the clock that both read has gone on by the whole interval.
    ::testing::AssertionResult outlastRecheckDelay(HWND saver) {
        if (!RunningProgram::settle(saver)) return ::testing::AssertionFailure() << "the show went";
        const DWORD refusalNotedBy = GetTickCount();
        if (!pump::until([&] { return GetTickCount() - refusalNotedBy > RECHECK_DELAY; }))
            return ::testing::AssertionFailure() << "the clock stood still";
        return ::testing::AssertionSuccess();
    }

    ProgramCopy copy;
    RunningProgram process;
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
    EXPECT_EQ(0u, process.finish());
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
    ASSERT_TRUE(RunningProgram::settle(saver));
    EXPECT_FALSE(process.ended());

    // Measured from where the close was refused, 3 more pixels stay below
    // the threshold although the cursor is now 6 from the start.
    ASSERT_TRUE(outlastRecheckDelay(saver));
    moveMouse(3, 0);
    ASSERT_TRUE(cursorSettledAndSeen(saver));
    EXPECT_EQ(1u, fake("Calls"));
    moveMouse(0, 2);
    EXPECT_TRUE(callsReach(2));
    ASSERT_TRUE(RunningProgram::settle(saver));

    answer(1);
    ASSERT_TRUE(keyUntilAsked(saver));
    EXPECT_EQ(0u, process.finish());
    EXPECT_EQ(3u, fake("Calls"));
}

// Whether the close posted during the refusal comes within the interval
// depends on the machine's speed; that the interval is kept is checked with a
// clock of the test's own (HostWindow cases).
TEST_F(Win9x, CloseRightAfterARefusalKeepsTheShowAndTheNextCloseAsksAgain) {
    answer(0);
    writeDword(FAKE_PASSWORD_KEY, "PostClose", 1);  // one more WM_CLOSE at once
    HWND saver = startShow();
    ASSERT_NE(nullptr, saver);
    pressKey('K');
    ASSERT_TRUE(callsReach(1));
    writeDword(FAKE_PASSWORD_KEY, "PostClose", 0);
    ASSERT_TRUE(RunningProgram::settle(saver));
    EXPECT_FALSE(process.ended()) << "a refused password ended the show";

    EXPECT_TRUE(keyUntilAsked(saver));
    answer(1);
    ASSERT_TRUE(keyUntilAsked(saver));
    EXPECT_EQ(0u, process.finish());
}

TEST_F(Win9x, WithoutPasswordLibraryTheFirstInputEndsTheShow) {
    HWND saver = startShow(NONE);
    ASSERT_NE(nullptr, saver);
    EXPECT_FALSE(screenSaverRunning());
    clickButton(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(0u, process.finish());
    EXPECT_EQ(0u, fake("Loads"));
}

TEST_F(Win9x, PasswordValueOffLeavesTheLibraryAlone) {
    usePassword(0);
    HWND saver = startShow();
    ASSERT_NE(nullptr, saver);
    EXPECT_EQ(0u, process.endShowWithKey());
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
    answer(1);
    ASSERT_TRUE(keyUntilAsked(saver));
    EXPECT_EQ(0u, process.finish());

    usePassword(0);
    saver = startShow(PASSWORD_CPL, "autoplay-open");
    ASSERT_NE(nullptr, saver);
    EXPECT_EQ(0, SendMessageA(saver, autoPlay, 0, 0));
    EXPECT_EQ(0u, process.finish());
}

TEST_F(Win9x, SecondShowEndsBeforeReadingThePasswordSetting) {
    answer(0);
    HWND saver = startShow();
    ASSERT_NE(nullptr, saver);
    ASSERT_EQ(1u, fake("Loads"));
    // Another window takes the foreground; the refused password keeps the show.
    HWND other = foregroundWindow()->handle;
    PostMessageA(saver, WM_ACTIVATEAPP, FALSE, GetCurrentThreadId());
    ASSERT_TRUE(pump::until([&] {
        if (GetForegroundWindow() != other) SetForegroundWindow(other);
        return fake("Calls") >= 1 && GetForegroundWindow() == other;
    }));
    ASSERT_TRUE(RunningProgram::settle(saver));

    ProgramCopy second = makeCopy("win9x-second", WIN98_PROGRAM, PASSWORD_CPL);
    RunningProgram again;
    ASSERT_TRUE(again.start(second.program, "/s"));
    EXPECT_EQ(0u, again.finish());
    EXPECT_EQ(1u, fake("Loads"));  // the second process never loaded it
    EXPECT_TRUE(waitForeground(saver));

    answer(1);
    ASSERT_TRUE(keyUntilAsked(saver));
    EXPECT_EQ(0u, process.finish());
}

TEST_F(Win9x, PasswordChangeCallsTheSystemDialog) {
    TestWindow* owner = createTestWindow();
    copy = makeCopy("win9x-mpr", WIN98_PROGRAM, MPR_DLL);
    ASSERT_TRUE(process.start(copy.program, "/a " + std::to_string(reinterpret_cast<UINT_PTR>(owner->handle))));
    EXPECT_EQ(0u, process.finish());
    EXPECT_EQ(1u, readDword(FAKE_MPR_KEY, "Calls"));
    EXPECT_EQ("SCRSAVE", readString(FAKE_MPR_KEY, "Provider"));
    EXPECT_EQ(owner->handle, readWindow(FAKE_MPR_KEY, "Parent"));
    EXPECT_EQ(0u, readDword(FAKE_MPR_KEY, "Reserved"));

    // Without a live handle the foreground window is the parent.
    ASSERT_TRUE(takeForeground());
    ASSERT_TRUE(process.start(copy.program, "-A 12"));
    EXPECT_EQ(0u, process.finish());
    EXPECT_EQ(2u, readDword(FAKE_MPR_KEY, "Calls"));
    EXPECT_EQ(foregroundWindow()->handle, readWindow(FAKE_MPR_KEY, "Parent"));

    // Without the component the mode ends quietly.
    ProgramCopy bare = makeCopy("win9x-no-mpr", WIN98_PROGRAM);
    ASSERT_TRUE(process.start(bare.program, "/a"));
    EXPECT_EQ(0u, process.finish());
    EXPECT_EQ(2u, readDword(FAKE_MPR_KEY, "Calls"));
    destroyTestWindow(owner);
}

// The machine's last-chance debugger, replaced for one case by a program
// that does not exist: the system's filter then answers that the handler is
// to run, as it does on a machine without a registered debugger.
class NoDebugger {
public:
    NoDebugger() {
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, KEY, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.receive(), nullptr);
        DWORD size = sizeof saved - 1;
        hadDebugger = RegQueryValueExA(key.handle(), "Debugger", nullptr, nullptr, reinterpret_cast<BYTE*>(saved),
                                       &size) == ERROR_SUCCESS;
        const char none[] = "cinevane-test-no-such-debugger.exe %ld %ld";
        RegSetValueExA(key.handle(), "Debugger", 0, REG_SZ, reinterpret_cast<const BYTE*>(none), sizeof none);
    }
    ~NoDebugger() {
        if (hadDebugger)
            RegSetValueExA(key.handle(), "Debugger", 0, REG_SZ, reinterpret_cast<const BYTE*>(saved),
                           lstrlenA(saved) + 1);
        else
            RegDeleteValueA(key.handle(), "Debugger");
    }

private:
    static constexpr const char* KEY = "Software\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug";
    RegistryKey key;
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
    EXPECT_EQ(static_cast<DWORD>(-1), process.finish());
    EXPECT_EQ(1u, fake("Calls"));
    EXPECT_FALSE(screenSaverRunning());
}
