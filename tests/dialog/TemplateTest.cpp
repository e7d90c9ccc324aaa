// The settings dialog's template as the system builds it: read back from the running
// dialog, created with a procedure that does nothing.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "DialogDriver.h"
#include "resources/ResourceIds.h"

namespace {

INT_PTR CALLBACK passiveProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

struct ExpectedControl {
    int id;
    const char* className;
    const char* caption;  // UTF-8
    DWORD style;
    RECT units;           // x, y, width, height in dialog units
};

const ExpectedControl controls[] = {
    {IDC_ENTRY_LIST, "ListBox", "", 0x50A10101, {7, 7, 175, 123}},
    {IDC_ADD_FOLDER, "Button", "フォルダの追加", 0x50010000, {7, 136, 55, 14}},
    {IDC_ADD_FILE, "Button", "ファイルの追加", 0x50010000, {67, 136, 55, 14}},
    {IDC_DELETE, "Button", "削除", 0x50010000, {127, 136, 55, 14}},
    {IDC_UP, "Button", "上へ", 0x50010000, {186, 7, 50, 14}},
    {IDC_DOWN, "Button", "下へ", 0x50010000, {186, 25, 50, 14}},
    {IDC_RANDOM, "Button", "ランダム再生", 0x50010003, {7, 159, 105, 11}},
    {IDC_RESUME, "Button", "前回の続きから再生", 0x50010003, {7, 171, 105, 11}},
    {IDC_NO_SOUND, "Button", "音声なし", 0x50010003, {7, 183, 105, 11}},
    {IDC_KEEP_ASPECT, "Button", "縦横比を保つ", 0x50010003, {7, 195, 105, 11}},
    {IDOK, "Button", "OK", 0x50010001, {132, 210, 50, 14}},
    {IDCANCEL, "Button", "キャンセル", 0x50010000, {187, 210, 50, 14}},
};

class Template : public testing::Test {
protected:
    void SetUp() override {
        SetLastError(0xdeadbeef);
        dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SETTINGS), nullptr, passiveProc, 0);
        ASSERT_NE(nullptr, dialog) << "error " << GetLastError();
        ShowWindow(dialog, SW_SHOWNORMAL);
    }
    void TearDown() override {
        if (dialog) DestroyWindow(dialog);
    }

    // Position and size in dialog units to a rectangle of the dialog's
    // client area; the system converts position and size each on its own.
    RECT pixels(const RECT& units) const {
        RECT box = units;
        MapDialogRect(dialog, &box);
        return RECT{box.left, box.top, box.left + box.right, box.top + box.bottom};
    }

    HWND dialog = nullptr;
};

}  // namespace

TEST_F(Template, DialogStyleCaptionAndSize) {
    EXPECT_EQ("設定", driver::wideText(dialog));
    // Beyond the template's style the system adds visibility (shown here)
    // and the 3-D look of every dialog since Windows 95.
    EXPECT_EQ(0x80C800C0u, static_cast<DWORD>(GetWindowLongA(dialog, GWL_STYLE)) & ~(WS_VISIBLE | WS_CLIPSIBLINGS | DS_3DLOOK));
    EXPECT_EQ(0u, static_cast<DWORD>(GetWindowLongA(dialog, GWL_EXSTYLE)) &
                      ~(WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT))
        << "no extended style beyond the frame and the control parent the system adds";
    EXPECT_EQ(nullptr, GetMenu(dialog));
    char className[32] = {};
    GetClassNameA(dialog, className, sizeof className);
    EXPECT_STREQ("#32770", className);

    RECT client;
    GetClientRect(dialog, &client);
    const RECT expected = pixels(RECT{0, 0, 245, 231});
    EXPECT_EQ(expected.right, client.right);
    EXPECT_EQ(expected.bottom, client.bottom);
}

TEST_F(Template, FontIsNinePointJapaneseGothic) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
    ASSERT_NE(nullptr, font);
    LOGFONTA face = {};
    ASSERT_EQ(static_cast<int>(sizeof face), GetObjectA(font, sizeof face, &face));
    EXPECT_STREQ("MS UI Gothic", face.lfFaceName);
    EXPECT_EQ(400, face.lfWeight);
    EXPECT_EQ(0, face.lfItalic);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(-MulDiv(9, GetDeviceCaps(screen, LOGPIXELSY), 72), face.lfHeight);
    // The dialog manager asks for the default character set; under the
    // Japanese code page that is realised as Shift-JIS.
    HGDIOBJ old = SelectObject(screen, font);
    EXPECT_EQ(SHIFTJIS_CHARSET, GetTextCharset(screen));
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
}

TEST_F(Template, ControlsInTableAndTabOrder) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    ASSERT_EQ(sizeof controls / sizeof controls[0], children.size());
    for (size_t i = 0; i < children.size(); ++i) {
        const ExpectedControl& want = controls[i];
        HWND child = children[i];
        SCOPED_TRACE(testing::Message() << "control " << i << ", id " << want.id);
        EXPECT_EQ(want.id, GetDlgCtrlID(child));
        char className[32] = {};
        GetClassNameA(child, className, sizeof className);
        EXPECT_STREQ(want.className, className);
        EXPECT_EQ(want.caption, driver::wideText(child));
        // The system draws a control's border as a sunken client edge, and
        // a list box shows its scroll bar only while its items overflow
        // (checked below).
        const DWORD style = static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE));
        const DWORD exStyle = static_cast<DWORD>(GetWindowLongA(child, GWL_EXSTYLE)) & ~WS_EX_NOPARENTNOTIFY;
        if (want.style & WS_BORDER) {
            EXPECT_EQ(want.style & ~(WS_BORDER | WS_VSCROLL), style & ~WS_VSCROLL);
            EXPECT_EQ(static_cast<DWORD>(WS_EX_CLIENTEDGE), exStyle);
        } else {
            EXPECT_EQ(want.style, style);
            EXPECT_EQ(0u, exStyle);
        }
        EXPECT_TRUE(IsWindowVisible(child));
        EXPECT_TRUE(IsWindowEnabled(child));

        RECT box;
        GetWindowRect(child, &box);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&box), 2);
        const RECT expected = pixels(want.units);
        EXPECT_EQ(expected.left, box.left);
        EXPECT_EQ(expected.top, box.top);
        EXPECT_EQ(expected.right, box.right);
        EXPECT_EQ(expected.bottom, box.bottom);

        // Tab moves to the next control of the table, and from the last back to the first.
        EXPECT_EQ(children[(i + 1) % children.size()], GetNextDlgTabItem(dialog, child, FALSE));
    }
}

TEST_F(Template, ListScrollsVerticallyWhenItsItemsOverflow) {
    HWND list = GetDlgItem(dialog, IDC_ENTRY_LIST);
    ASSERT_NE(nullptr, list);
    for (int i = 0; i < 40; ++i) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("entry"));
    EXPECT_TRUE(GetWindowLongA(list, GWL_STYLE) & WS_VSCROLL);
    EXPECT_FALSE(GetWindowLongA(list, GWL_STYLE) & WS_HSCROLL);
    // Not sorted, single selection, notifying.
    SendMessageA(list, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>("zz"));
    char first[8] = {};
    SendMessageA(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(first));
    EXPECT_STREQ("zz", first);
    EXPECT_EQ(LB_ERR, SendMessageA(list, LB_GETSELCOUNT, 0, 0));
}

// Other programs and earlier versions know the resources by these numbers.
TEST(ResourceNames, StandForTheFixedNumbers) {
    const struct {
        int line;
        int name, number;
    } cases[] = {
        {__LINE__, IDS_PRODUCT_NAME, 101}, {__LINE__, IDS_FILE_FILTER, 1001}, {__LINE__, IDS_FOLDER_PROMPT, 1002},
        {__LINE__, IDI_PROGRAM, 105},      {__LINE__, IDI_SAVER_CLASS, 100},  {__LINE__, IDD_SETTINGS, 2003},
        {__LINE__, IDC_UP, 3},             {__LINE__, IDC_DOWN, 4},           {__LINE__, IDC_ADD_FILE, 5},
        {__LINE__, IDC_ADD_FOLDER, 6},     {__LINE__, IDC_DELETE, 7},         {__LINE__, IDC_ENTRY_LIST, 1000},
        {__LINE__, IDC_RANDOM, 1001},      {__LINE__, IDC_RESUME, 1002},      {__LINE__, IDC_NO_SOUND, 1003},
    };
    for (const auto& c : cases) EXPECT_EQ(c.number, c.name) << "case at line " << c.line;
}
