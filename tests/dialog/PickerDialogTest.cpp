// The pickers against the system's own open-file dialog and folder browser.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <dlgs.h>

#include <string>
#include <vector>

#include "DialogDriver.h"
#include "dialog/FilePicker.h"
#include "dialog/FolderPicker.h"
#include "support/TestPaths.h"

namespace {

const DWORD dialogFlags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_ALLOWMULTISELECT | OFN_HIDEREADONLY;
const char* const videoFilter =
    "wmv \x83\x74\x83\x40\x83\x43\x83\x8B (*.wmv)|*.wmv|avi \x83\x74\x83\x40\x83\x43\x83\x8B (*.avi)|*.avi|"
    "mpeg \x83\x74\x83\x40\x83\x43\x83\x8B (*.mpg;*.mpeg)|*.mpg;*.mpeg";

void makeFile(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file) << path;
    CloseHandle(file);
}

HWND fileNameBox(HWND dialog) {
    HWND box = GetDlgItem(dialog, edt1);
    return box ? box : GetDlgItem(dialog, cmb13);
}

// Types `text` into the file-name box and presses Open, as a user would
// after typing.
void enterFileName(HWND dialog, const std::string& text) {
    SetWindowTextA(fileNameBox(dialog), text.c_str());
    SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
}

// Opens `folder` in the dialog, then chooses the quoted `names` there.
driver::Action chooseFiles(const std::string& folder, const std::vector<std::string>& names) {
    return [folder, names](HWND dialog) {
        enterFileName(dialog, folder);
        std::string text;
        for (const std::string& name : names) text += (names.size() > 1 ? "\"" + name + "\" " : name);
        enterFileName(dialog, text);
    };
}

std::vector<std::string> selectedPaths(FilePicker& picker) {
    std::vector<std::string> paths;
    for (int i = 0; i < picker.selectedCount(); ++i) paths.push_back(picker.selectedPath(i));
    return paths;
}

class PickerDialog : public testing::Test {
protected:
    void SetUp() override { driver::reset(); }
    void TearDown() override {
        EXPECT_FALSE(driver::lapsed()) << "an expected dialog never appeared";
        driver::reset();
    }
};

}  // namespace

TEST_F(PickerDialog, ThreeFilesChosenTogetherGiveThreeFullPaths) {
    const std::string folder = testpaths::freshFolder("three");
    for (const char* name : {"a.avi", "b.avi", "c.avi"}) makeFile(folder + name);
    FilePicker picker(nullptr, dialogFlags, 4096);
    picker.setFilter(videoFilter);
    driver::whenDialogAppears(chooseFiles(folder, {"c.avi", "a.avi", "b.avi"}));
    ASSERT_TRUE(picker.run());
    const std::string directory = folder.substr(0, folder.size() - 1);
    EXPECT_EQ(std::vector<std::string>({directory + "\\c.avi", directory + "\\a.avi", directory + "\\b.avi"}),
              selectedPaths(picker));
}

TEST_F(PickerDialog, OneFileGivesItsFullPath) {
    const std::string folder = testpaths::freshFolder("one");
    makeFile(folder + "only.wmv");
    FilePicker picker(nullptr, dialogFlags, 4096);
    picker.setFilter(videoFilter);
    driver::whenDialogAppears(chooseFiles(folder, {"only.wmv"}));
    ASSERT_TRUE(picker.run());
    EXPECT_EQ(std::vector<std::string>({folder + "only.wmv"}), selectedPaths(picker));
}

TEST_F(PickerDialog, FilesInADriveRootGetOneBackslash) {
    const std::vector<std::string> names = {"cinevane-root-1.avi", "cinevane-root-2.avi"};
    for (const std::string& name : names) makeFile("C:\\" + name);
    FilePicker picker(nullptr, dialogFlags, 4096);
    driver::whenDialogAppears(chooseFiles("C:\\", names));
    const bool chosen = picker.run();
    for (const std::string& name : names) DeleteFileA(("C:\\" + name).c_str());
    ASSERT_TRUE(chosen);
    EXPECT_EQ(std::vector<std::string>({"C:\\" + names[0], "C:\\" + names[1]}), selectedPaths(picker));
}

TEST_F(PickerDialog, FolderEndingInByte5CGetsItsBackslash) {
    // The folder's last character has the second byte 0x5C.
    const std::string folder = testpaths::freshFolder("dbcs") + "\x95\x5C";
    ASSERT_EQ(932u, GetACP());
    SetLastError(0xdeadbeef);
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << "error " << GetLastError();
    makeFile(folder + "\\x.avi");
    makeFile(folder + "\\y.avi");
    FilePicker picker(nullptr, dialogFlags, 4096);
    driver::whenDialogAppears(chooseFiles(folder + "\\", {"x.avi", "y.avi"}));
    ASSERT_TRUE(picker.run());
    const std::vector<std::string> paths = selectedPaths(picker);
    ASSERT_EQ(std::vector<std::string>({folder + "\\x.avi", folder + "\\y.avi"}), paths);
    for (const std::string& path : paths) {
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path.c_str())) << path;
    }
}

TEST_F(PickerDialog, FilterBecomesThreePairsWithTheFirstSelected) {
    FilePicker picker(nullptr, dialogFlags, 4096);
    picker.setFilter(videoFilter);
    std::vector<std::string> types;
    LRESULT selected = -2;
    driver::whenDialogAppears([&](HWND dialog) {
        HWND typeBox = GetDlgItem(dialog, cmb1);
        const LRESULT count = SendMessageW(typeBox, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            wchar_t text[256] = {};
            SendMessageW(typeBox, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            types.push_back(driver::utf8(text));
        }
        selected = SendMessageW(typeBox, CB_GETCURSEL, 0, 0);
        SendMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
    });
    EXPECT_FALSE(picker.run());
    EXPECT_EQ(std::vector<std::string>({"wmv ファイル (*.wmv)", "avi ファイル (*.avi)", "mpeg ファイル (*.mpg;*.mpeg)"}),
              types);
    EXPECT_EQ(0, selected);
}

TEST_F(PickerDialog, CancelReportsNoChoice) {
    FilePicker picker(nullptr, dialogFlags, 4096);
    driver::whenDialogAppears([](HWND dialog) { SendMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0); });
    EXPECT_FALSE(picker.run());
    EXPECT_EQ(0, picker.selectedCount());
}

TEST_F(PickerDialog, SmallBufferNeverShowsADialog) {
    FilePicker picker(nullptr, dialogFlags, 259);
    bool shown = false;
    driver::whenDialogAppears([&](HWND dialog) {
        shown = true;
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }, 300);
    EXPECT_FALSE(picker.run());
    driver::pumpUntil([] { return driver::lapsed(); }, 5000);
    EXPECT_FALSE(shown);
    driver::reset();
}

namespace {

// A new folder on drive C:, which the browser's tree can open.
std::string browsableFolder(const std::string& hint) {
    CreateDirectoryA("C:\\cinevane-tests", nullptr);
    char name[64];
    static int counter = 0;
    wsprintfA(name, "C:\\cinevane-tests\\%lu-%lu-%d-", GetCurrentProcessId(), GetTickCount(), ++counter);
    const std::string folder = name + hint;
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

const char* const folderPrompt = "\x83\x74\x83\x48\x83\x8B\x83\x5F\x82\xF0\x91\x49\x91\xF0\x82\xB5\x82\xC4\x82\xAD\x82\xBE\x82\xB3\x82\xA2\x81\x42";

// Text of the tree item the browser has selected.
std::string selectedFolderName(HWND browser) {
    HWND tree = FindWindowExA(browser, nullptr, WC_TREEVIEWA, nullptr);
    HTREEITEM item = TreeView_GetSelection(tree);
    if (!item) return "";
    wchar_t text[MAX_PATH] = {};
    TVITEMW entry = {};
    entry.mask = TVIF_TEXT;
    entry.hItem = item;
    entry.pszText = text;
    entry.cchTextMax = MAX_PATH;
    SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&entry));
    return driver::utf8(text);
}

// Selects `path` in the folder browser and presses OK.
driver::Action chooseFolder(const std::string& path) {
    return [path](HWND browser) {
        // The tree fills itself in steps; select until the item is there.
        const size_t cut = path.find_last_of('\\');
        const std::string leaf = cut + 1 < path.size() ? path.substr(cut + 1) : "";
        const bool selected = driver::pumpUntil([&] {
            SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(path.c_str()));
            const std::string name = selectedFolderName(browser);
            return leaf.empty() ? !name.empty() : name == leaf;
        });
        EXPECT_TRUE(selected) << path;
        SendMessageA(GetDlgItem(browser, IDOK), BM_CLICK, 0, 0);
    };
}

}  // namespace

TEST_F(PickerDialog, FolderBrowserOpensAtTheFolderChosenBefore) {
    const std::string folder = browsableFolder("chosen") + "\\chosen-one";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    FolderPicker picker(nullptr);
    EXPECT_STREQ("", picker.chosenPath());

    std::string prompt;
    driver::whenDialogAppears([&](HWND browser) {
        wchar_t text[256] = {};
        // The prompt stands in the browser's first static text.
        GetWindowTextW(FindWindowExW(browser, nullptr, L"Static", nullptr), text, 256);
        prompt = driver::utf8(text);
        chooseFolder(folder)(browser);
    });
    ASSERT_TRUE(picker.browse(folderPrompt, nullptr));
    EXPECT_STREQ(folder.c_str(), picker.chosenPath());
    EXPECT_EQ("フォルダを選択してください。", prompt);

    std::string preselected;
    driver::whenDialogAppears([&](HWND browser) {
        driver::pumpUntil([&] { return selectedFolderName(browser) == "chosen-one"; }, 5000);
        preselected = selectedFolderName(browser);
        SendMessageA(GetDlgItem(browser, IDOK), BM_CLICK, 0, 0);
    });
    ASSERT_TRUE(picker.browse(folderPrompt, nullptr));
    EXPECT_EQ("chosen-one", preselected);
    EXPECT_STREQ(folder.c_str(), picker.chosenPath());
}

TEST_F(PickerDialog, CancelledBrowseKeepsNoPreselection) {
    const std::string folder = browsableFolder("kept");
    FolderPicker picker(nullptr);
    driver::whenDialogAppears([](HWND browser) { SendMessageA(GetDlgItem(browser, IDCANCEL), BM_CLICK, 0, 0); });
    EXPECT_FALSE(picker.browse(folderPrompt, nullptr));
    EXPECT_STREQ("", picker.chosenPath());

    driver::whenDialogAppears(chooseFolder(folder));
    ASSERT_TRUE(picker.browse(folderPrompt, nullptr));
    driver::whenDialogAppears([](HWND browser) { SendMessageA(GetDlgItem(browser, IDCANCEL), BM_CLICK, 0, 0); });
    EXPECT_FALSE(picker.browse(folderPrompt, nullptr));
    EXPECT_STREQ(folder.c_str(), picker.chosenPath()) << "a cancel keeps the choice";
}

TEST_F(PickerDialog, DriveRootComesBackAsTheRoot) {
    FolderPicker picker(nullptr);
    driver::whenDialogAppears(chooseFolder("C:\\"));
    ASSERT_TRUE(picker.browse(folderPrompt, nullptr));
    EXPECT_STREQ("C:\\", picker.chosenPath());
}
