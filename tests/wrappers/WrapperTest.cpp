#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <vector>

#include "base/ButtonControl.h"
#include "base/Exception.h"
#include "base/ListBoxControl.h"
#include "support/MessagePump.h"
#include "support/TestErrors.h"

using testerrors::thrownCode;

namespace {

const char* const spyClass = "CinevaneTestSpy";
std::vector<UINT> spySaw;  // messages that reached the spy class's own procedure

LRESULT CALLBACK spyProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    spySaw.push_back(message);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

bool spySawMessage(UINT message) {
    for (UINT m : spySaw) {
        if (m == message) return true;
    }
    return false;
}

// A wrapper of the spy class that records what reaches its virtual operations.
class Recorder : public WindowBase {
public:
    HWND create(HWND parent, UINT id, const Bounds& bounds, DWORD style, bool noThrow) override {
        return WindowBase::create(spyClass, parent, id, bounds, style, noThrow);
    }
    HWND attach(HWND window) override { return WindowBase::attach(spyClass, window); }
    HWND createOf(const char* className, HWND parent, bool noThrow) {
        return WindowBase::create(className, parent, 1, Bounds(0, 0, 10, 10), 0, noThrow);
    }
    LRESULT windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override {
        seen.push_back(message);
        return WindowBase::windowProc(hwnd, message, wParam, lParam);
    }
    void onCommand(HWND hwnd, WORD id, WORD code) override {
        commands.push_back({hwnd, id, code});
        if (throwOnCommand) throwWin32Error(ERROR_INVALID_FUNCTION);
    }

    struct Command {
        HWND hwnd;
        WORD id, code;
    };
    std::vector<UINT> seen;
    std::vector<Command> commands;
    bool throwOnCommand = false;
};

// One parent window for the whole program: top-level windows are slow to
// come and go on the X display.
class WrapperTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = spyProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = spyClass;
        RegisterClassA(&wc);
        parent = CreateWindowExA(0, "STATIC", "parent", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    static void TearDownTestSuite() { DestroyWindow(parent); }
    void SetUp() override {
        ASSERT_NE(nullptr, parent);
        spySaw.clear();
    }
    void TearDown() override { pump::dispatchPending(); }

    HWND newButton(DWORD style = BS_AUTOCHECKBOX) {
        return CreateWindowExA(0, "Button", "b", WS_CHILD | WS_VISIBLE | style, 0, 0, 80, 20, parent,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
    }

    static HWND parent;
};

HWND WrapperTest::parent = nullptr;

TEST_F(WrapperTest, CreateSubclassAndDestroyThroughEveryState) {
    ButtonControl button;
    EXPECT_EQ(nullptr, button.handle());
    HWND window = button.create(parent, 7, Bounds(5, 6, 80, 20), BS_AUTOCHECKBOX, false);
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(window, button.handle());
    EXPECT_EQ(parent, GetParent(window));
    EXPECT_EQ(7, GetDlgCtrlID(window));
    EXPECT_EQ(static_cast<LONG>(WS_CHILD | WS_VISIBLE),
              GetWindowLongA(window, GWL_STYLE) & (WS_CHILD | WS_VISIBLE));
    RECT rect;
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(5, rect.left);
    EXPECT_EQ(6, rect.top);
    EXPECT_EQ(80, rect.right - rect.left);
    EXPECT_EQ(0, GetWindowTextLengthA(window));

    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_FUNCTION),
              thrownCode([&] { button.create(parent, 8, Bounds(), 0, false); }));

    const LONG_PTR original = GetWindowLongPtrA(window, GWLP_WNDPROC);
    const LONG_PTR shared = reinterpret_cast<LONG_PTR>(WindowBase::sharedWindowProc);
    for (int twice = 0; twice < 2; ++twice) {
        button.subclass(true);
        EXPECT_EQ(shared, GetWindowLongPtrA(window, GWLP_WNDPROC));
        EXPECT_EQ(reinterpret_cast<LONG_PTR>(&button), GetWindowLongPtrA(window, GWLP_USERDATA));
    }
    for (int twice = 0; twice < 2; ++twice) {
        button.subclass(false);
        EXPECT_EQ(original, GetWindowLongPtrA(window, GWLP_WNDPROC));
        EXPECT_EQ(0, GetWindowLongPtrA(window, GWLP_USERDATA));
    }

    button.subclass(true);
    EXPECT_TRUE(button.destroy());
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(nullptr, button.handle());
    EXPECT_FALSE(button.destroy());
}

TEST_F(WrapperTest, CreateFailures) {
    Recorder recorder;
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER),
              thrownCode([&] { recorder.create(nullptr, 1, Bounds(), 0, false); }));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE),
              thrownCode([&] { recorder.createOf("CinevaneNoSuchClass", parent, false); }));
    HWND window = reinterpret_cast<HWND>(1);
    EXPECT_EQ(0u, thrownCode([&] { window = recorder.createOf("CinevaneNoSuchClass", parent, true); }));
    EXPECT_EQ(nullptr, window);
    EXPECT_EQ(nullptr, recorder.handle());
}

TEST_F(WrapperTest, WindowDestroyedBehindTheWrappersBack) {
    ButtonControl button;
    HWND first = button.create(parent, 1, Bounds(0, 0, 50, 20), 0, false);
    DestroyWindow(first);
    EXPECT_EQ(nullptr, button.handle());
    const std::function<void()> operations[] = {
        [&] { button.requireWindow(); },     [&] { button.setCheck(BST_CHECKED); },
        [&] { button.getCheck(); },          [&] { button.modifyStyle(0, WS_TABSTOP); },
        [&] { button.setFocus(); },          [&] { button.invalidate(); },
        [&] { button.enable(FALSE); },       [&] { button.subclass(true); },
    };
    for (const auto& operation : operations) {
        EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE), thrownCode(operation));
    }
    HWND second = button.create(parent, 2, Bounds(0, 0, 50, 20), 0, false);
    EXPECT_TRUE(IsWindow(second));
    EXPECT_EQ(second, button.handle());
}

TEST_F(WrapperTest, AttachChecksTheClass) {
    HWND buttonWindow = newButton();
    ListBoxControl list;
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER),
              thrownCode([&] { list.attach(buttonWindow); }));
    EXPECT_EQ(nullptr, list.handle());
    EXPECT_EQ(nullptr, list.attach(nullptr));
    EXPECT_EQ(nullptr, list.handle());

    ButtonControl button;
    EXPECT_EQ(nullptr, button.attach(buttonWindow));
    EXPECT_EQ(buttonWindow, button.handle());
    EXPECT_NE(reinterpret_cast<LONG_PTR>(WindowBase::sharedWindowProc),
              GetWindowLongPtrA(buttonWindow, GWLP_WNDPROC)) << "attaching does not subclass";
    EXPECT_EQ(buttonWindow, button.attach(nullptr));

    HWND gone = newButton();
    DestroyWindow(gone);
    EXPECT_NE(0u, thrownCode([&] { button.attach(gone); })) << "the class cannot be read";
    EXPECT_EQ(nullptr, button.handle());
}

TEST_F(WrapperTest, SharedProcedureRoutesCommandsAndDestruction) {
    Recorder recorder;
    HWND window = recorder.create(parent, 3, Bounds(0, 0, 40, 40), 0, false);
    recorder.subclass(true);
    spySaw.clear();

    SendMessageA(window, WM_COMMAND, MAKEWPARAM(5, 9), 0);
    ASSERT_EQ(1u, recorder.commands.size());
    EXPECT_EQ(window, recorder.commands[0].hwnd);
    EXPECT_EQ(5, recorder.commands[0].id);
    EXPECT_EQ(9, recorder.commands[0].code);
    ASSERT_FALSE(recorder.seen.empty());
    EXPECT_EQ(static_cast<UINT>(WM_COMMAND), recorder.seen.back());
    EXPECT_TRUE(spySawMessage(WM_COMMAND)) << "the previous procedure sees it too";

    // An exception from the object ends at the window procedure.
    recorder.throwOnCommand = true;
    EXPECT_EQ(0, SendMessageA(window, WM_COMMAND, MAKEWPARAM(6, 0), 0));
    EXPECT_EQ(2u, recorder.commands.size());

    spySaw.clear();
    recorder.seen.clear();
    DestroyWindow(window);
    EXPECT_TRUE(spySawMessage(WM_DESTROY));
    bool objectSawDestroy = false;
    for (UINT m : recorder.seen) objectSawDestroy |= m == WM_DESTROY;
    EXPECT_TRUE(objectSawDestroy);
    EXPECT_EQ(nullptr, recorder.handle());
    // Empty again: a new window can be created and subclassed.
    HWND again = recorder.create(parent, 4, Bounds(0, 0, 40, 40), 0, false);
    EXPECT_NE(nullptr, again);
    recorder.subclass(true);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&recorder), GetWindowLongPtrA(again, GWLP_USERDATA));
}

TEST_F(WrapperTest, SharedProcedureWithoutAnObject) {
    HWND window = CreateWindowExA(0, spyClass, "abc", WS_CHILD, 0, 0, 10, 10, parent, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WindowBase::sharedWindowProc));
    spySaw.clear();
    EXPECT_EQ(0, SendMessageA(window, WM_COMMAND, MAKEWPARAM(1, 0), 0));
    EXPECT_EQ(3, SendMessageA(window, WM_GETTEXTLENGTH, 0, 0)) << "default processing";
    EXPECT_TRUE(spySaw.empty());
    DestroyWindow(window);
}

TEST_F(WrapperTest, DestroyingASubclassedWrapperRestoresTheProcedure) {
    HWND window = newButton();
    const LONG_PTR original = GetWindowLongPtrA(window, GWLP_WNDPROC);
    {
        ButtonControl button;
        button.attach(window);
        button.subclass(true);
        button.setCheck(BST_CHECKED);
    }
    ASSERT_TRUE(IsWindow(window));
    EXPECT_EQ(original, GetWindowLongPtrA(window, GWLP_WNDPROC));
    EXPECT_EQ(0, GetWindowLongPtrA(window, GWLP_USERDATA));
    EXPECT_EQ(BST_CHECKED, SendMessageA(window, BM_GETCHECK, 0, 0));
    SendMessageA(window, BM_SETCHECK, BST_UNCHECKED, 0);
    EXPECT_EQ(BST_UNCHECKED, SendMessageA(window, BM_GETCHECK, 0, 0));
}

TEST_F(WrapperTest, ButtonCheckStates) {
    ButtonControl button;
    button.create(parent, 1, Bounds(0, 0, 80, 20), BS_AUTO3STATE, false);
    for (WPARAM state : {BST_CHECKED, BST_INDETERMINATE, BST_UNCHECKED}) {
        button.setCheck(state);
        EXPECT_EQ(static_cast<LRESULT>(state), button.getCheck());
    }
}

TEST_F(WrapperTest, StyleEnableAndFocus) {
    ButtonControl button;
    HWND window = button.create(parent, 1, Bounds(0, 0, 80, 20), 0, false);
    button.modifyStyle(0, WS_TABSTOP);
    EXPECT_NE(0, GetWindowLongA(window, GWL_STYLE) & WS_TABSTOP);
    button.modifyStyle(WS_TABSTOP, 0);
    EXPECT_EQ(0, GetWindowLongA(window, GWL_STYLE) & WS_TABSTOP);
    button.enable(FALSE);
    EXPECT_FALSE(IsWindowEnabled(window));
    button.enable(TRUE);
    EXPECT_TRUE(IsWindowEnabled(window));
    SetForegroundWindow(parent);
    button.setFocus();
    EXPECT_EQ(window, GetFocus());
}

TEST_F(WrapperTest, EmptyListBoxRejectsEveryIndex) {
    ListBoxControl list;
    list.create(parent, 1, Bounds(0, 0, 200, 100), WS_VSCROLL | LBS_NOTIFY, false);
    EXPECT_EQ(0, list.getCount());
    EXPECT_EQ(LB_ERR, list.getCurSel());
    const std::function<void()> rejected[] = {
        [&] { list.getText(0); },       [&] { list.getText(-1); },
        [&] { list.deleteString(0); },  [&] { list.deleteString(-1); },
        [&] { list.setCurSel(0); },     [&] { list.setCurSel(-2); },
        [&] { list.insertString(1, "x"); }, [&] { list.insertString(-1, "x"); },
    };
    for (const auto& call : rejected) {
        EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), thrownCode(call));
    }
    EXPECT_EQ(0u, thrownCode([&] { list.setCurSel(-1); }));
}

TEST_F(WrapperTest, ListBoxOperations) {
    ListBoxControl list;
    list.create(parent, 1, Bounds(0, 0, 200, 100), WS_VSCROLL | LBS_NOTIFY, false);
    list.addString("b");
    StringArray more;
    more.add("c");
    more.add("");
    more.add("\x95\x5c\x8e\xa6");  // 表示
    list.addStrings(more);
    list.insertString(0, "a");
    list.insertString(list.getCount(), "end");
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER),
              thrownCode([&] { list.insertString(list.getCount() + 1, "x"); }));
    const char* expected[] = {"a", "b", "c", "", "\x95\x5c\x8e\xa6", "end"};
    ASSERT_EQ(6, list.getCount());
    for (int i = 0; i < 6; ++i) EXPECT_STREQ(expected[i], list.getText(i).c_str()) << i;
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), thrownCode([&] { list.getText(6); }));

    list.setCurSel(5);
    EXPECT_EQ(5, list.getCurSel());
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), thrownCode([&] { list.setCurSel(6); }));
    EXPECT_EQ(5, list.getCurSel());
    list.setCurSel(-1);
    EXPECT_EQ(LB_ERR, list.getCurSel());

    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), thrownCode([&] { list.deleteString(6); }));
    list.deleteString(0);
    list.deleteString(4);
    ASSERT_EQ(4, list.getCount());
    EXPECT_STREQ("b", list.getText(0).c_str());
    EXPECT_STREQ("\x95\x5c\x8e\xa6", list.getText(3).c_str());
}

}  // namespace
