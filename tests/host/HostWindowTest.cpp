// The saver window's procedures in this process, for states that a running
// program passes through too briefly to be caught from outside.
#include <gtest/gtest.h>

#include <windows.h>

#include "PassThroughShowController.h"
#include "host/ClosingRules.h"
#include "host/HostState.h"
#include "host/SaverWindow.h"

namespace {

int verifyCalls = 0;
BOOL verifyAnswer = FALSE;
bool checkingDuringVerify = false;

BOOL WINAPI fakeVerify(HWND) {
    ++verifyCalls;
    checkingDuringVerify = hostState().isChecking;
    return verifyAnswer;
}

// The clock of the password check's recheck delay, set by the test.
DWORD clockNow = 0;
DWORD WINAPI testClock() {
    return clockNow;
}

bool closeWasPosted(HWND window) {
    MSG message;
    return PeekMessageA(&message, window, WM_CLOSE, WM_CLOSE, PM_REMOVE) != FALSE;
}

}  // namespace

class HostWindow : public ::testing::Test {
protected:
    void SetUp() override {
        hostState() = HostState();
        hostState().isWin9x = true;
        hostState().moduleHandle = GetModuleHandleA(nullptr);
        WNDCLASSA probeClass = {};
        probeClass.lpfnWndProc = hostWindowProc;
        probeClass.hInstance = GetModuleHandleA(nullptr);
        probeClass.lpszClassName = "CinevaneHostProbe";
        RegisterClassA(&probeClass);
        window = CreateWindowExA(0, "CinevaneHostProbe", "Screen Saver", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        verifyCalls = 0;
        verifyAnswer = FALSE;
    }
    void TearDown() override {
        hostState().isClosing = true;  // no rule may run while it goes
        DestroyWindow(window);
        MSG quit;
        PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        UnregisterClassA("CinevaneHostProbe", GetModuleHandleA(nullptr));
        hostState() = HostState();
    }
    HWND window = nullptr;
};

TEST_F(HostWindow, OnceClosingIsApprovedInputNoLongerCounts) {
    ASSERT_NE(nullptr, window);
    SendMessageA(window, WM_KEYDOWN, 'A', 0);
    EXPECT_TRUE(closeWasPosted(window));  // the rule is live before

    hostState().isClosing = true;
    static const struct {
        int line;
        UINT message;
        WPARAM wParam;
    } cases[] = {
        {__LINE__, WM_KEYDOWN, 'A'},          {__LINE__, WM_SYSKEYDOWN, 'F'},
        {__LINE__, WM_LBUTTONDOWN, 0},        {__LINE__, WM_RBUTTONDOWN, 0},
        {__LINE__, WM_MBUTTONDOWN, 0},        {__LINE__, WM_ACTIVATEAPP, FALSE},
        {__LINE__, WM_POWERBROADCAST, 4},     {__LINE__, WM_POWER, 3},
    };
    for (const auto& c : cases) {
        SendMessageA(window, c.message, c.wParam, 0);
        EXPECT_FALSE(closeWasPosted(window)) << "line " << c.line;
    }
}

// Until a close is approved the show gets its timers (a tick may switch
// files) and painting, which also hides the pointer; once it is approved the
// host answers both itself while the window goes: a timer with 0, painting
// through the default procedure, which validates.
TEST_F(HostWindow, TimersAndPaintingReachTheShowOnlyUntilClosingIsApproved) {
    ASSERT_NE(nullptr, window);
    ShowWindow(window, SW_SHOWNOACTIVATE);  // only a visible window has an area to paint
    const HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    static const struct {
        int line;
        bool closing;
        UINT message;
        bool reachesShow, hidesPointer;
    } cases[] = {
        {__LINE__, false, WM_TIMER, true, false},
        {__LINE__, false, WM_PAINT, true, true},
        {__LINE__, true, WM_TIMER, false, false},
        {__LINE__, true, WM_PAINT, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case at line " << c.line);
        hostState().isClosing = c.closing;
        const int handedBefore = messagesHandedToShow(c.message);
        RECT update;
        InvalidateRect(window, nullptr, FALSE);
        ASSERT_TRUE(GetUpdateRect(window, &update, FALSE));
        SetCursor(arrow);
        EXPECT_EQ(0, SendMessageA(window, c.message, 1, 0));
        EXPECT_EQ(handedBefore + (c.reachesShow ? 1 : 0), messagesHandedToShow(c.message));
        EXPECT_EQ(c.hidesPointer ? nullptr : arrow, GetCursor());
        if (c.message == WM_PAINT) {
            EXPECT_FALSE(GetUpdateRect(window, &update, FALSE));
        }
    }
}

TEST_F(HostWindow, PasswordCheckIsAskedOnlyWhenAllowed) {
    ASSERT_NE(nullptr, window);
    HostState& host = hostState();

    // No password protection: approved at once.
    EXPECT_TRUE(verifyBeforeClose(window));
    EXPECT_TRUE(host.isClosing);
    host.isClosing = false;

    host.verifyPassword = fakeVerify;
    host.isChecking = true;
    EXPECT_FALSE(verifyBeforeClose(window));
    EXPECT_EQ(0, verifyCalls);
    host.isChecking = false;

    host.tickCount = testClock;
    clockNow = 100000;
    host.lastCheckTick = clockNow - 50;
    EXPECT_FALSE(verifyBeforeClose(window));
    EXPECT_EQ(0, verifyCalls) << "asked again within 200 ms";

    host.lastCheckTick = clockNow - 300;
    EXPECT_FALSE(verifyBeforeClose(window));
    EXPECT_EQ(1, verifyCalls);
    EXPECT_TRUE(checkingDuringVerify);
    EXPECT_FALSE(host.isChecking);
    EXPECT_FALSE(host.isClosing);
    EXPECT_EQ(clockNow, host.lastCheckTick) << "the refusal's end is noted";

    // A tick count that wrapped around since the last request.
    host.lastCheckTick = clockNow + 0x80000000u;
    verifyAnswer = TRUE;
    EXPECT_TRUE(verifyBeforeClose(window));
    EXPECT_EQ(2, verifyCalls);
    EXPECT_TRUE(host.isClosing);
    EXPECT_FALSE(verifyBeforeClose(window)) << "a second approval while closing";
}

TEST_F(HostWindow, PasswordCheckWaitsTwoHundredMillisecondsAfterARefusal) {
    ASSERT_NE(nullptr, window);
    HostState& host = hostState();
    host.verifyPassword = fakeVerify;
    host.tickCount = testClock;
    // The clock reads `since` milliseconds after a refusal that ended at `end`.
    static const struct {
        int line;
        DWORD end, since;
        bool asked;
    } cases[] = {
        {__LINE__, 5000, 0, false},
        {__LINE__, 5000, 50, false},
        {__LINE__, 5000, 199, false},
        {__LINE__, 5000, 200, true},
        {__LINE__, 5000, 60000, true},
        // Across the wrap of the tick count.
        {__LINE__, 0xFFFFFFF0u, 100, false},
        {__LINE__, 0xFFFFFFF0u, 250, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case at line " << c.line);
        verifyCalls = 0;
        host.lastCheckTick = c.end;
        clockNow = c.end + c.since;
        EXPECT_FALSE(verifyBeforeClose(window));
        EXPECT_EQ(c.asked ? 1 : 0, verifyCalls);
        EXPECT_EQ(c.asked ? clockNow : c.end, host.lastCheckTick);
        EXPECT_FALSE(host.isClosing);
    }
    // Through the window: a close within the interval is refused without a
    // check and keeps the window, one after it asks.
    host.lastCheckTick = clockNow;
    verifyCalls = 0;
    verifyAnswer = TRUE;
    clockNow += 120;
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, verifyCalls);
    EXPECT_TRUE(IsWindow(window));
    clockNow += 80;
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(1, verifyCalls);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(HostWindow, PasswordRequestOutsideThe9xFamilyIsNotAnswered) {
    ASSERT_NE(nullptr, window);
    hostState().verifyPassword = fakeVerify;
    verifyAnswer = TRUE;
    EXPECT_EQ(1, SendMessageA(window, WM_PASSWORD_REQUEST, 0, 0));
    EXPECT_EQ(1, verifyCalls);
    hostState().isWin9x = false;
    EXPECT_EQ(0, SendMessageA(window, WM_PASSWORD_REQUEST, 0, 0));
    EXPECT_EQ(1, verifyCalls);
    // Outside the 9x family the first close is approved without a check.
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
}
