// The pickers against the system's own open-file dialog and folder browser.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "DialogDriver.h"
#include "support/MessagePump.h"
#include "dialog/FilePicker.h"
#include "dialog/FolderPicker.h"
#include "resources/ResourceIds.h"
#include "SystemDialogs.h"
#include "support/TestFiles.h"
#include "support/TestPaths.h"

namespace {

const DWORD dialogFlags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_ALLOWMULTISELECT | OFN_HIDEREADONLY;
const char* const videoFilter =
    "wmv \x83\x74\x83\x40\x83\x43\x83\x8B (*.wmv)|*.wmv|avi \x83\x74\x83\x40\x83\x43\x83\x8B (*.avi)|*.avi|"
    "mpeg \x83\x74\x83\x40\x83\x43\x83\x8B (*.mpg;*.mpeg)|*.mpg;*.mpeg";

// Opens `folder` in the dialog, then chooses the quoted `names` there.
driver::Action chooseFiles(const std::string& folder, const std::vector<std::string>& names) {
    return [folder, names](HWND dialog) {
        std::string text;
        for (const std::string& name : names) text += (names.size() > 1 ? "\"" + name + "\" " : name);
        systemdialogs::chooseFiles(dialog, folder, text);
    };
}

std::vector<std::string> selectedPaths(FilePicker& picker) {
    std::vector<std::string> paths;
    for (int i = 0; i < picker.selectedCount(); ++i) paths.push_back(picker.selectedPath(i));
    return paths;
}

// A fresh folder holding empty files of these names.
std::string folderWith(const std::string& hint, const std::vector<std::string>& names) {
    const std::string folder = testpaths::freshFolder(hint);
    for (const std::string& name : names) EXPECT_TRUE(testfiles::touch(folder + name)) << name;
    return folder;
}

class PickerDialog : public testing::Test {
protected:
    void SetUp() override { driver::reset(); }
    void TearDown() override {
        EXPECT_FALSE(driver::lapsed()) << "an expected dialog never appeared";
        driver::reset();
    }

    // The paths the picker gives when the user chooses names in folder;
    // none, and a failure, when it reports no choice.
    std::vector<std::string> choose(const std::string& folder, const std::vector<std::string>& names) {
        driver::whenDialogAppears(chooseFiles(folder, names));
        if (filePicker.run()) return selectedPaths(filePicker);
        ADD_FAILURE() << "the picker reports no choice";
        return {};
    }

    FilePicker filePicker{nullptr, dialogFlags, 4096};
};

}  // namespace

TEST_F(PickerDialog, ThreeFilesChosenTogetherGiveThreeFullPaths) {
    const std::string folder = folderWith("three", {"a.avi", "b.avi", "c.avi"});
    filePicker.setFilter(videoFilter);
    const std::string directory = folder.substr(0, folder.size() - 1);
    EXPECT_EQ(std::vector<std::string>({directory + "\\c.avi", directory + "\\a.avi", directory + "\\b.avi"}),
              choose(folder, {"c.avi", "a.avi", "b.avi"}));
}

TEST_F(PickerDialog, OneFileGivesItsFullPath) {
    const std::string folder = folderWith("one", {"only.wmv"});
    filePicker.setFilter(videoFilter);
    EXPECT_EQ(std::vector<std::string>({folder + "only.wmv"}), choose(folder, {"only.wmv"}));
}

// The picker keeps its buffer from one run to the next. Whether the dialog
// ends a single path with one zero or more, the earlier run's names must not
// come back.
TEST_F(PickerDialog, SeveralFilesThenOneFileGiveOnlyThatFile) {
    const std::string folder = folderWith("again", {"a.avi", "b.avi", "c.avi"});
    filePicker.setFilter(videoFilter);
    ASSERT_EQ(3u, choose(folder, {"c.avi", "a.avi", "b.avi"}).size());
    const std::string several(filePicker.selectionBuffer(), 4096);

    EXPECT_EQ(std::vector<std::string>({folder + "b.avi"}), choose(folder, {"b.avi"}));

    // As a dialog leaves the buffer that writes the path with one zero: the
    // earlier names follow it.
    const size_t end = lstrlenA(filePicker.selectionBuffer()) + 1;
    ASSERT_LT(end, several.size());
    memcpy(filePicker.selectionBuffer() + end, several.data() + end, several.size() - end);
    ASSERT_NE(0, filePicker.selectionBuffer()[end]) << "the earlier names should follow the path";
    EXPECT_EQ(std::vector<std::string>({folder + "b.avi"}), selectedPaths(filePicker));
}

TEST_F(PickerDialog, FilesInADriveRootGetOneBackslash) {
    const std::vector<std::string> names = {"cinevane-root-1.avi", "cinevane-root-2.avi"};
    for (const std::string& name : names) EXPECT_TRUE(testfiles::touch("C:\\" + name));
    const std::vector<std::string> paths = choose("C:\\", names);
    for (const std::string& name : names) DeleteFileA(("C:\\" + name).c_str());
    EXPECT_EQ(std::vector<std::string>({"C:\\" + names[0], "C:\\" + names[1]}), paths);
}

TEST_F(PickerDialog, FolderEndingInByte5CGetsItsBackslash) {
    // The folder's last character has the second byte 0x5C.
    const std::string folder = testpaths::freshFolder("dbcs") + "\x95\x5C";
    ASSERT_EQ(932u, GetACP());
    SetLastError(0xdeadbeef);
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << "error " << GetLastError();
    EXPECT_TRUE(testfiles::touch(folder + "\\x.avi"));
    EXPECT_TRUE(testfiles::touch(folder + "\\y.avi"));
    const std::vector<std::string> paths = choose(folder + "\\", {"x.avi", "y.avi"});
    ASSERT_EQ(std::vector<std::string>({folder + "\\x.avi", folder + "\\y.avi"}), paths);
    for (const std::string& path : paths) {
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path.c_str())) << path;
    }
}

TEST_F(PickerDialog, FilterBecomesThreePairsWithTheFirstSelected) {
    filePicker.setFilter(videoFilter);
    std::vector<std::string> types;
    int selected = -2;
    driver::whenDialogAppears([&](HWND dialog) {
        types = systemdialogs::fileTypes(dialog, selected);
        systemdialogs::cancel(dialog);
    });
    EXPECT_FALSE(filePicker.run());
    EXPECT_EQ(std::vector<std::string>({"wmv ファイル (*.wmv)", "avi ファイル (*.avi)", "mpeg ファイル (*.mpg;*.mpeg)"}),
              types);
    EXPECT_EQ(0, selected);
}

// The program's own filter (string resource IDS_FILE_FILTER): the three kinds of
// video first, and last one entry for all files, through which files of
// other formats can be chosen.
TEST_F(PickerDialog, ProgramFilterEndsWithAllFilesAndStartsAtTheFirstEntry) {
    char filter[512] = {};
    ASSERT_GT(LoadStringA(GetModuleHandleA(nullptr), IDS_FILE_FILTER, filter, sizeof filter), 0);
    const std::string folder = testpaths::freshFolder("all-files");
    for (const char* name : {"clip.wmv", "film.mp4", "notes.txt"}) ASSERT_TRUE(testfiles::touch(folder + name));
    filePicker.setFilter(filter);
    std::vector<std::string> types;
    int selected = -2;
    std::vector<std::string> shownAtFirst, shownForAllFiles;
    driver::whenDialogAppears([&](HWND dialog) {
        types = systemdialogs::fileTypes(dialog, selected);
        systemdialogs::openFolder(dialog, folder);
        pump::until([&] { return !(shownAtFirst = systemdialogs::listedFiles(dialog)).empty(); });
        systemdialogs::chooseFileType(dialog, static_cast<int>(types.size()) - 1);
        pump::until([&] { return (shownForAllFiles = systemdialogs::listedFiles(dialog)).size() >= 3; });
        systemdialogs::chooseFiles(dialog, folder, "film.mp4");
    });
    ASSERT_TRUE(filePicker.run());
    EXPECT_EQ(std::vector<std::string>({"wmv ファイル (*.wmv)", "avi ファイル (*.avi)", "mpeg ファイル (*.mpg;*.mpeg)",
                                        "すべてのファイル (*.*)"}),
              types);
    EXPECT_EQ(0, selected);
    EXPECT_EQ(std::vector<std::string>({"clip.wmv"}), shownAtFirst);
    std::sort(shownForAllFiles.begin(), shownForAllFiles.end());
    EXPECT_EQ(std::vector<std::string>({"clip.wmv", "film.mp4", "notes.txt"}), shownForAllFiles);
    EXPECT_EQ(std::vector<std::string>({folder + "film.mp4"}), selectedPaths(filePicker));
}

TEST_F(PickerDialog, CancelReportsNoChoice) {
    driver::whenDialogAppears(systemdialogs::cancel);
    EXPECT_FALSE(filePicker.run());
    EXPECT_EQ(0, filePicker.selectedCount());
    EXPECT_EQ(0u, filePicker.failure());
}

TEST_F(PickerDialog, SmallBufferNeverShowsADialog) {
    FilePicker small(nullptr, dialogFlags, 259);
    bool shown = false;
    driver::whenDialogAppears([&](HWND dialog) {
        shown = true;
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    // A dialog would have been shown, and cancelled, inside run().
    EXPECT_FALSE(small.run());
    EXPECT_FALSE(shown);
    driver::reset();
}

namespace {

const char* const folderPrompt = "\x83\x74\x83\x48\x83\x8B\x83\x5F\x82\xF0\x91\x49\x91\xF0\x82\xB5\x82\xC4\x82\xAD\x82\xBE\x82\xB3\x82\xA2\x81\x42";

driver::Action chooseFolder(const std::string& path) {
    return [path](HWND browser) { systemdialogs::chooseFolder(browser, path); };
}

}  // namespace

TEST_F(PickerDialog, FolderBrowserOpensAtTheFolderChosenBefore) {
    const std::string folder = systemdialogs::browsableFolder("chosen") + "\\chosen-one";
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
        pump::until([&] { return systemdialogs::selectedFolderName(browser) == "chosen-one"; });
        preselected = systemdialogs::selectedFolderName(browser);
        SendMessageA(GetDlgItem(browser, IDOK), BM_CLICK, 0, 0);
    });
    ASSERT_TRUE(picker.browse(folderPrompt, nullptr));
    EXPECT_EQ("chosen-one", preselected);
    EXPECT_STREQ(folder.c_str(), picker.chosenPath());
}

TEST_F(PickerDialog, CancelledBrowseKeepsNoPreselection) {
    const std::string folder = systemdialogs::browsableFolder("kept");
    FolderPicker picker(nullptr);
    driver::whenDialogAppears(systemdialogs::cancel);
    EXPECT_FALSE(picker.browse(folderPrompt, nullptr));
    EXPECT_STREQ("", picker.chosenPath());

    driver::whenDialogAppears(chooseFolder(folder));
    ASSERT_TRUE(picker.browse(folderPrompt, nullptr));
    driver::whenDialogAppears(systemdialogs::cancel);
    EXPECT_FALSE(picker.browse(folderPrompt, nullptr));
    EXPECT_STREQ(folder.c_str(), picker.chosenPath()) << "a cancel keeps the choice";
}

TEST_F(PickerDialog, DriveRootComesBackAsTheRoot) {
    FolderPicker picker(nullptr);
    driver::whenDialogAppears(chooseFolder("C:\\"));
    ASSERT_TRUE(picker.browse(folderPrompt, nullptr));
    EXPECT_STREQ("C:\\", picker.chosenPath());
}
