#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include <string>
#include <vector>

#include "base/ButtonControl.h"
#include "base/Exception.h"
#include "playback/show/ForwardingVideoView.h"
#include "playback/show/PictureWindow.h"
#include "playback/show/ShowMessages.h"
#include "support/MessagePump.h"
#include "support/TestErrors.h"
#include "support/TestPaths.h"

using testerrors::thrownCode;
using testpaths::clip;

namespace {

const int viewWidth = 400, viewHeight = 300;

struct Received {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool posted;
};
std::vector<Received> parentGot;  // what reached the parent window
std::vector<UINT> classProcSaw;   // what reached the view's class procedure
std::vector<WPARAM> notifications;  // MM_MCINOTIFY codes that reached the view

LRESULT CALLBACK parentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SHOW_NEXT:
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_LBUTTONUP:
        parentGot.push_back({message, wParam, lParam, !InSendMessage()});
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// Installed over the view's subclassing: it sees the notifications that the
// view consumes.
LRESULT CALLBACK notifySpy(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == MM_MCINOTIFY) notifications.push_back(wParam);
    return CallWindowProcA(WindowBase::sharedWindowProc, hwnd, message, wParam, lParam);
}

// Installed under the view's subclassing: it sees what the view passes on
// to its class procedure.
LRESULT CALLBACK classSpy(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    classProcSaw.push_back(message);
    return VideoView::viewClassProc(hwnd, message, wParam, lParam);
}

int countParentGot(UINT message) {
    int n = 0;
    for (const auto& r : parentGot) n += r.message == message;
    return n;
}

bool classProcSawMessage(UINT message) {
    for (UINT m : classProcSaw) {
        if (m == message) return true;
    }
    return false;
}

void fillWhite(HWND window) {
    HDC dc = GetDC(window);
    RECT all = {0, 0, viewWidth, viewHeight};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ReleaseDC(window, dc);
}

// Repaints now and returns the points of a grid, 10 pixels apart, whose
// colour is not black.
std::vector<POINT> paintedNotBlack(HWND window) {
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
    std::vector<POINT> found;
    HDC dc = GetDC(window);
    for (int y = 5; y < viewHeight; y += 10) {
        for (int x = 5; x < viewWidth; x += 10) {
            if (GetPixel(dc, x, y) != RGB(0, 0, 0)) found.push_back(POINT{x, y});
        }
    }
    ReleaseDC(window, dc);
    return found;
}

// One white parent window for the program; top-level windows are slow to
// come and go on the X display.
class ViewTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = parentProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        wc.lpszClassName = "CinevaneTestSaver";
        RegisterClassA(&wc);
        parent = CreateWindowExA(WS_EX_TOPMOST, "CinevaneTestSaver", "saver", WS_POPUP | WS_VISIBLE,
                                 0, 0, viewWidth, viewHeight, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        UpdateWindow(parent);
    }
    static void TearDownTestSuite() { DestroyWindow(parent); }

    void SetUp() override {
        ASSERT_NE(nullptr, parent);
        VideoView::registerClass();
        parentGot.clear();
        classProcSaw.clear();
        notifications.clear();
    }
    void TearDown() override { pump::drain(parent); }

    // Creates the view over the parent and subclasses it with the spy below
    // its own procedure, as a show does.
    HWND createForwarding(ForwardingVideoView& view) {
        HWND window = view.create(parent, 101, Bounds(0, 0, viewWidth, viewHeight), 0, false);
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(classSpy));
        view.subclass(true);
        return window;
    }

    void playToTheEnd(ForwardingVideoView& view, const char* name) {
        view.open(clip(name).c_str());
        view.setDestination(Bounds(0, 0, viewWidth, viewHeight));
        view.play(0, 0, 0, 0);
        ASSERT_TRUE(pump::until([] { return countParentGot(WM_SHOW_NEXT) > 0; })) << name;
        pump::drain(parent);
    }

    static HWND parent;
};

HWND ViewTest::parent = nullptr;

TEST_F(ViewTest, RegisteringTwiceSucceeds) {
    EXPECT_EQ(0u, thrownCode([] { VideoView::registerClass(); }));
    EXPECT_EQ(0u, thrownCode([] { VideoView::registerClass(); }));
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    ASSERT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), "CinevaneView", &wc));
    EXPECT_EQ(static_cast<UINT>(CS_HREDRAW | CS_VREDRAW), wc.style);
    EXPECT_EQ(static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)), wc.hbrBackground);
    EXPECT_EQ(&VideoView::viewClassProc, wc.lpfnWndProc);
}

TEST_F(ViewTest, CreateBindsTheWindowToTheObject) {
    VideoView view;
    HWND window = view.create(parent, 101, Bounds(0, 0, viewWidth, viewHeight), 0, false);
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(&view, GetPropA(window, "CinevaneView"));
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    EXPECT_STREQ("CinevaneView", name);
    EXPECT_EQ(101, GetDlgCtrlID(window));
    EXPECT_FALSE(view.isOpen());
    view.destroy();
}

TEST_F(ViewTest, ViewWithoutMediaPaintsAllBlack) {
    VideoView view;
    HWND window = view.create(parent, 101, Bounds(0, 0, viewWidth, viewHeight), 0, false);
    fillWhite(window);
    EXPECT_TRUE(paintedNotBlack(window).empty());
    view.destroy();
}

TEST_F(ViewTest, EverythingOutsideTheDestinationIsBlack) {
    VideoView view;
    HWND window = view.create(parent, 101, Bounds(0, 0, viewWidth, viewHeight), 0, false);
    view.open(clip("red.avi").c_str());
    view.setDestination(Bounds(100, 50, 200, 100));
    fillWhite(window);
    std::vector<POINT> notBlack = paintedNotBlack(window);
    // The grid has 20 by 10 points inside (100, 50)-(300, 150).
    EXPECT_EQ(200u, notBlack.size());
    for (const POINT& p : notBlack) {
        EXPECT_TRUE(p.x >= 100 && p.x < 300 && p.y >= 50 && p.y < 150) << p.x << "," << p.y;
    }
    // A destination over the whole view leaves nothing to fill.
    view.setDestination(Bounds(0, 0, viewWidth, viewHeight));
    fillWhite(window);
    EXPECT_EQ(static_cast<size_t>(40 * 30), paintedNotBlack(window).size());
    view.destroy();
}

TEST_F(ViewTest, WindowWithoutAnObjectIsValidatedWithoutDrawing) {
    HWND window = CreateWindowExA(0, "CinevaneView", "", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, parent,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, window);
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
    EXPECT_FALSE(GetUpdateRect(window, nullptr, FALSE));
    DestroyWindow(window);
}

TEST_F(ViewTest, InputReachesTheParentAsTheSamePostedMessage) {
    ForwardingVideoView view;
    HWND window = createForwarding(view);
    static const struct {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        bool forwarded;
    } cases[] = {
        {WM_KEYDOWN, VK_SPACE, 0x00390001, true},
        {WM_SYSKEYDOWN, VK_MENU, 0x20380001, true},
        {WM_MOUSEMOVE, 0, MAKELPARAM(10, 20), true},
        {WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 40), true},
        {WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(50, 60), true},
        {WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(70, 80), true},
        {WM_KEYUP, VK_SPACE, static_cast<LPARAM>(0xC0390001), false},
        {WM_CHAR, ' ', 0x00390001, false},
        {WM_LBUTTONUP, 0, MAKELPARAM(30, 40), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "message 0x" << std::hex << c.message);
        parentGot.clear();
        classProcSaw.clear();
        EXPECT_EQ(0, SendMessageA(window, c.message, c.wParam, c.lParam));
        pump::drain(parent);
        EXPECT_EQ(!c.forwarded, classProcSawMessage(c.message));
        if (!c.forwarded) {
            EXPECT_EQ(0, countParentGot(c.message));
            continue;
        }
        // The window system may add mouse moves of its own; the case counts once.
        ASSERT_EQ(1, countParentGot(c.message));
        for (const auto& r : parentGot) {
            if (r.message != c.message) continue;
            EXPECT_EQ(c.wParam, r.wParam);
            EXPECT_EQ(c.lParam, r.lParam);
            EXPECT_TRUE(r.posted);
        }
    }
    view.destroy();
}

// Wine may hand the keyboard to the popup that carries Media Foundation's
// picture as it appears; the show keeps every key all the same.
TEST_F(ViewTest, ThePictureWindowLeavesEveryKeyToTheShow) {
    ForwardingVideoView view;
    HWND window = createForwarding(view);
    PictureWindow picture;
    HWND popup = picture.showOver(window);
    ASSERT_NE(nullptr, popup);
    SetFocus(popup);
    EXPECT_EQ(parent, GetFocus());
    parentGot.clear();
    SendMessageA(popup, WM_KEYDOWN, VK_SPACE, 0x00390001);
    EXPECT_EQ(1, countParentGot(WM_KEYDOWN));
    picture.destroy();
    view.destroy();
}

// Each format plays inside the view and its end reaches the parent exactly
// once. Wine's AVI driver draws into the view itself; its DirectShow driver
// (mpg, wmv) cannot name its display window, is bound all the same and puts
// its own video window into the view, over the destination.
TEST_F(ViewTest, ClipPlayedToItsEndPostsOneShowNext) {
    static const struct {
        const char* name;
        bool videoChild;
    } cases[] = {{"pattern.avi", false}, {"pattern.mpg", true}, {"pattern.wmv", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ForwardingVideoView view;
        HWND window = createForwarding(view);
        parentGot.clear();
        playToTheEnd(view, c.name);
        EXPECT_EQ(1, countParentGot(WM_SHOW_NEXT));
        for (const auto& r : parentGot) {
            if (r.message != WM_SHOW_NEXT) continue;
            EXPECT_EQ(view.openNumber(), r.wParam) << "not the number of the open that played";
            EXPECT_EQ(0, r.lParam);
            EXPECT_TRUE(r.posted);
        }
        HWND videoWindow = GetWindow(window, GW_CHILD);
        if (c.videoChild) {
            ASSERT_NE(nullptr, videoWindow);
            EXPECT_TRUE(IsWindowVisible(videoWindow));
            RECT rect;
            GetWindowRect(videoWindow, &rect);
            MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
            EXPECT_EQ(0, rect.left);
            EXPECT_EQ(0, rect.top);
            EXPECT_EQ(viewWidth, rect.right);
            EXPECT_EQ(viewHeight, rect.bottom);
        } else {
            EXPECT_EQ(nullptr, videoWindow);
        }
        EXPECT_TRUE(view.isOpen());
        view.destroy();
    }
}

TEST_F(ViewTest, ClipStoppedOrClosedPostsNothing) {
    for (bool closeIt : {false, true}) {
        SCOPED_TRACE(closeIt ? "close" : "stop");
        ForwardingVideoView view;
        HWND window = createForwarding(view);
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(notifySpy));
        view.open(clip("long.avi").c_str());
        view.play(0, 0, 0, 0);
        if (closeIt) {
            view.close();
        } else {
            // Wine's AVI driver passes on the error of the wave device it does
            // not have, although the play stops.
            DWORD code = thrownCode([&] { view.stop(); });
            EXPECT_TRUE(code == 0 || code == MMSYSERR_INVALHANDLE) << code;
        }
        // The driver answers the ended play with a notification of its own.
        ASSERT_TRUE(pump::until([] { return !notifications.empty(); }));
        pump::drain(parent);
        EXPECT_EQ(0, countParentGot(WM_SHOW_NEXT));
        view.destroy();
    }
}

TEST_F(ViewTest, OperationsOnAViewWithoutWindowThrow1400) {
    ForwardingVideoView view;
    HWND window = createForwarding(view);
    DestroyWindow(window);
    EXPECT_EQ(nullptr, view.handle());
    const DWORD gone = ERROR_INVALID_WINDOW_HANDLE;
    EXPECT_EQ(gone, thrownCode([&] { view.open(clip("red.avi").c_str()); }));
    EXPECT_FALSE(view.isOpen());
    EXPECT_EQ(gone, thrownCode([&] { view.play(0, 0, 0, 0); }));
    EXPECT_EQ(gone, thrownCode([&] { view.stop(); }));
    EXPECT_EQ(gone, thrownCode([&] { view.close(); }));
    EXPECT_EQ(gone, thrownCode([&] { view.getDestination(); }));
    EXPECT_EQ(gone, thrownCode([&] { view.setDestination(Bounds()); }));
    VideoView never;
    EXPECT_EQ(gone, thrownCode([&] { never.open(clip("red.avi").c_str()); }));
}

TEST_F(ViewTest, DestroyingTheWindowClosesTheMedia) {
    for (bool subclassed : {false, true}) {
        SCOPED_TRACE(subclassed ? "subclassed" : "plain");
        ForwardingVideoView view;
        HWND window = view.create(parent, 101, Bounds(0, 0, viewWidth, viewHeight), 0, false);
        if (subclassed) view.subclass(true);
        const std::string path = clip("long.avi");
        view.open(path.c_str());
        view.play(0, 0, 0, 0);
        ASSERT_TRUE(view.isOpen());
        DestroyWindow(window);
        EXPECT_FALSE(view.isOpen());
        EXPECT_EQ(nullptr, view.handle());
        EXPECT_EQ(0u, mciGetDeviceIDA((path + "_0").c_str()));
        pump::drain(parent);
        EXPECT_EQ(0, countParentGot(WM_SHOW_NEXT));
    }
}

TEST_F(ViewTest, MciErrorsArriveAsMciException) {
    VideoView view;
    view.create(parent, 101, Bounds(0, 0, viewWidth, viewHeight), 0, false);
    try {
        view.open(clip("damaged.avi").c_str());
        ADD_FAILURE() << "nothing thrown";
    } catch (Exception* e) {
        EXPECT_NE(nullptr, dynamic_cast<MciException*>(e));
        dispose(e);
    }
    EXPECT_FALSE(view.isOpen());
    EXPECT_EQ(static_cast<DWORD>(MCIERR_INVALID_DEVICE_ID),
              thrownCode([&] { view.play(0, 0, 0, 0); }));
    view.destroy();
}

TEST_F(ViewTest, AttachBindsOnlyViewWindows) {
    VideoView owner, other;
    HWND window = owner.create(parent, 101, Bounds(0, 0, viewWidth, viewHeight), 0, false);
    owner.open(clip("red.avi").c_str());
    EXPECT_EQ(window, owner.attach(nullptr));
    EXPECT_FALSE(owner.isOpen());
    EXPECT_EQ(nullptr, GetPropA(window, "CinevaneView"));

    EXPECT_EQ(nullptr, other.attach(window));
    EXPECT_EQ(&other, GetPropA(window, "CinevaneView"));
    other.open(clip("red.avi").c_str());
    ButtonControl button;
    HWND buttonWindow = button.create(parent, 5, Bounds(0, 0, 10, 10), 0, false);
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER),
              thrownCode([&] { other.attach(buttonWindow); }));
    EXPECT_EQ(nullptr, other.handle());
    EXPECT_FALSE(other.isOpen()) << "no media left bound to the old window";
    EXPECT_EQ(nullptr, GetPropA(window, "CinevaneView"));
    button.destroy();
    DestroyWindow(window);
}

TEST_F(ViewTest, DestructorLeavesTheWindowAlone) {
    HWND window;
    LONG_PTR classProc = reinterpret_cast<LONG_PTR>(&VideoView::viewClassProc);
    {
        ForwardingVideoView view;
        window = view.create(parent, 101, Bounds(0, 0, viewWidth, viewHeight), 0, false);
        view.subclass(true);
        view.open(clip("red.avi").c_str());
    }
    ASSERT_TRUE(IsWindow(window));
    EXPECT_EQ(nullptr, GetPropA(window, "CinevaneView"));
    EXPECT_EQ(classProc, GetWindowLongPtrA(window, GWLP_WNDPROC));
    DestroyWindow(window);
}

}  // namespace
