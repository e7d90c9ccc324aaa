// The settings dialog driven as a user drives it: clicks, keys and the
// system's own file and folder dialogs, with the INI file beside the program.
#include <gtest/gtest.h>

#include <windows.h>
#include <dlgs.h>
#include <shlobj.h>

#include <memory>
#include <string>
#include <vector>

#include "DialogDriver.h"
#include "support/IniFile.h"
#include "support/MatroskaSource.h"
#include "support/MessagePump.h"
#include "support/ScriptNames.h"
#include "dialog/SettingsDialogProc.h"
#include "playback/foundation/MediaFoundation.h"
#include "SystemDialogs.h"
#include "resources/ResourceIds.h"
#include "support/TestFiles.h"
#include "support/TestPaths.h"

namespace {


// Result of a dialog that its test script left open.
const INT_PTR scriptLeftOpen = 99;

const std::vector<std::string> threeEntries = {"C:\\clips\\one.avi", "C:\\folder\\", "D:\\two.wmv"};

class SettingsDialog : public testing::Test {
protected:
    void SetUp() override {
        driver::reset();
        iniPath = testpaths::programFolder() + "cinevane.ini";
        backupPath = iniPath + ".before-test";
        MoveFileExA(iniPath.c_str(), backupPath.c_str(), MOVEFILE_REPLACE_EXISTING);
        DeleteFileA(iniPath.c_str());
    }
    void TearDown() override {
        EXPECT_FALSE(driver::lapsed()) << "an expected dialog never appeared";
        driver::reset();
        DeleteFileA(iniPath.c_str());
        MoveFileExA(backupPath.c_str(), iniPath.c_str(), 0);
    }

    // Shows the dialog as the settings mode does and runs `script` on it
    // once it is up; the script ends the dialog. Returns the dialog's result.
    INT_PTR show(const std::function<void(HWND)>& script) {
        driver::whenDialogAppears([&](HWND dialog) {
            window = dialog;
            script(dialog);
            // EndDialog hides the dialog. One still shown after its script
            // (stopped by a failed assertion, say) is ended here with a
            // result of its own, so that no test waits for it.
            if (IsWindow(dialog) && IsWindowVisible(dialog)) {
                ADD_FAILURE() << "the script left the dialog open";
                EndDialog(dialog, scriptLeftOpen);
            }
        });
        return showSettingsDialog(GetModuleHandleA(nullptr), nullptr);
    }

    HWND item(int id) const { return GetDlgItem(window, id); }
    bool enabled(int id) const { return IsWindowEnabled(item(id)) != FALSE; }
    bool checked(int id) const { return SendMessageA(item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    int selection() const { return static_cast<int>(SendMessageA(item(IDC_ENTRY_LIST), LB_GETCURSEL, 0, 0)); }

    // The texts the list shows, in the program's narrow form (exact for a
    // name in any script).
    std::vector<std::string> listed() const {
        std::vector<std::string> entries;
        const int count = static_cast<int>(SendMessageW(item(IDC_ENTRY_LIST), LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            wchar_t text[MAX_PATH + 1] = {};
            SendMessageW(item(IDC_ENTRY_LIST), LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
            entries.push_back(scriptnames::narrow(text));
        }
        return entries;
    }

    // Clicks on entry `index` of the list, as a user selects it.
    void clickEntry(int index) {
        RECT box = {};
        SendMessageA(item(IDC_ENTRY_LIST), LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&box));
        driver::clickAt(item(IDC_ENTRY_LIST), POINT{(box.left + box.right) / 2, (box.top + box.bottom) / 2});
    }

    // Enabled state of Up, Down and Delete, as "UDX" with "-" for disabled.
    std::string moveButtons() const {
        return std::string(enabled(IDC_UP) ? "U" : "-") + (enabled(IDC_DOWN) ? "D" : "-") + (enabled(IDC_DELETE) ? "X" : "-");
    }

    bool okIsDefault() const {
        return (GetWindowLongA(item(IDOK), GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON &&
               LOWORD(SendMessageA(window, DM_GETDEFID, 0, 0)) == IDOK;
    }

    // One edit of the list threeEntries: the entry clicked first (-1: none),
    // the button then clicked, and what the dialog shows after it.
    struct Edit {
        int entry;
        int button;
        std::vector<int> order;  // the places in threeEntries of what is listed
        int selection;
        const char* moveButtons;
        int focus;  // the control that has it
    };
    // Makes the edits on the stored threeEntries, then saves them with Enter
    // or leaves with Cancel. Where the list has the focus after an edit, OK
    // is the default button and the button clicked has lost its default look.
    void expectEdits(const std::vector<Edit>& edits, bool save) {
        inifile::setEntries(iniPath, threeEntries);
        std::vector<std::string> entries;
        const INT_PTR result = show([&](HWND) {
            for (const Edit& edit : edits) {
                SCOPED_TRACE(testing::Message() << "entry " << edit.entry << ", button " << edit.button);
                if (edit.entry >= 0) clickEntry(edit.entry);
                driver::click(item(edit.button));
                entries.clear();
                for (int place : edit.order) entries.push_back(threeEntries[place]);
                EXPECT_EQ(entries, listed());
                EXPECT_EQ(edit.selection, selection());
                EXPECT_EQ(edit.moveButtons, moveButtons());
                EXPECT_EQ(item(edit.focus), GetFocus());
                if (edit.focus == IDC_ENTRY_LIST) {
                    EXPECT_TRUE(okIsDefault());
                    EXPECT_FALSE(GetWindowLongA(item(edit.button), GWL_STYLE) & BS_DEFPUSHBUTTON);
                }
            }
            if (save) {
                driver::pressKey(VK_RETURN);
            } else {
                driver::click(item(IDCANCEL));
            }
        });
        if (!save) {
            EXPECT_EQ(IDCANCEL, result);
            return;
        }
        EXPECT_EQ(IDOK, result) << "Enter on the list means OK";
        std::vector<std::string> stored = {"Count=" + std::to_string(entries.size())};
        for (size_t i = 0; i < entries.size(); ++i) stored.push_back("Path" + std::to_string(i) + "=" + entries[i]);
        EXPECT_EQ(stored, inifile::section(iniPath, "PlayList"));
    }

    // What the next message box said, and whether the dialog owned it; it is closed with OK.
    struct Told {
        std::string text;
        bool owned = false;
    };
    void whenTold(Told& told) {
        driver::whenDialogAppears([&told, this](HWND box) {
            told = {systemdialogs::messageText(box), GetWindow(box, GW_OWNER) == window};
            systemdialogs::acknowledge(box);
        });
    }

    std::string iniPath;
    std::string backupPath;
    HWND window = nullptr;
};

}  // namespace

TEST_F(SettingsDialog, OpensEmptyWithoutIniFile) {
    const INT_PTR result = show([&](HWND dialog) {
        EXPECT_EQ("設定", driver::wideText(dialog));
        EXPECT_TRUE(listed().empty());
        EXPECT_FALSE(checked(IDC_RANDOM));
        EXPECT_FALSE(checked(IDC_RESUME));
        EXPECT_FALSE(checked(IDC_NO_SOUND));
        EXPECT_FALSE(checked(IDC_KEEP_ASPECT));
        EXPECT_EQ("---", moveButtons());
        EXPECT_TRUE(enabled(IDC_ADD_FILE));
        EXPECT_TRUE(enabled(IDC_ADD_FOLDER));
        EXPECT_TRUE(enabled(IDOK));
        driver::click(item(IDCANCEL));
    });
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(iniPath.c_str())) << "Cancel writes nothing";
}

TEST_F(SettingsDialog, OpensWithTheStoredListAndOptions) {
    inifile::setOptions(iniPath, 1, 0, 0);
    inifile::setEntries(iniPath, threeEntries);
    const INT_PTR result = show([&](HWND) {
        EXPECT_EQ(threeEntries, listed());
        EXPECT_EQ(-1, selection()) << "nothing selected at first";
        EXPECT_EQ("---", moveButtons());
        EXPECT_TRUE(checked(IDC_RANDOM));
        EXPECT_FALSE(checked(IDC_RESUME));
        EXPECT_TRUE(checked(IDC_NO_SOUND)) << "Sound 0 is shown as No sound";
        driver::pressKey(VK_ESCAPE);
    });
    EXPECT_EQ(IDCANCEL, result) << "Escape means Cancel";
}

TEST_F(SettingsDialog, ButtonStatesFollowTheSelection) {
    inifile::setEntries(iniPath, threeEntries);
    show([&](HWND) {
        clickEntry(0);
        EXPECT_EQ(0, selection());
        EXPECT_EQ("-DX", moveButtons()) << "first entry";
        clickEntry(2);
        EXPECT_EQ("U-X", moveButtons()) << "last entry";
        clickEntry(1);
        EXPECT_EQ("UDX", moveButtons()) << "middle entry";
        driver::pressKey(VK_HOME);
        EXPECT_EQ(0, selection());
        EXPECT_EQ("-DX", moveButtons()) << "keyboard selection";
        driver::pressKey(VK_ESCAPE);
    });
}

TEST_F(SettingsDialog, OnlyEntrySelectedLeavesOnlyDelete) {
    inifile::setEntries(iniPath, {"C:\\only.avi"});
    show([&](HWND) {
        clickEntry(0);
        EXPECT_EQ("--X", moveButtons());
        EXPECT_TRUE(enabled(IDC_ADD_FILE));
        EXPECT_TRUE(enabled(IDC_ADD_FOLDER));
        driver::pressKey(VK_ESCAPE);
    });
}

TEST_F(SettingsDialog, UpMovesTheEntryAndKeepsItSelected) {
    // Up had the focus and is now disabled: the list has it.
    expectEdits({{1, IDC_UP, {1, 0, 2}, 0, "-DX", IDC_ENTRY_LIST}}, true);
}

// A list box that refuses every insertion, as one out of memory does.
LRESULT CALLBACK refusingListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == LB_INSERTSTRING) return LB_ERRSPACE;
    const WNDPROC original = reinterpret_cast<WNDPROC>(GetPropA(list, "original"));
    return CallWindowProcA(original, list, message, wParam, lParam);
}

TEST_F(SettingsDialog, FailedMoveKeepsTheEntry) {
    inifile::setEntries(iniPath, threeEntries);
    show([&](HWND) {
        HWND list = item(IDC_ENTRY_LIST);
        const LONG_PTR original = GetWindowLongPtrA(list, GWLP_WNDPROC);
        SetPropA(list, "original", reinterpret_cast<HANDLE>(original));
        SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(refusingListProc));
        clickEntry(1);
        driver::click(item(IDC_UP));
        EXPECT_EQ(threeEntries, listed()) << "Up";
        clickEntry(1);
        driver::click(item(IDC_DOWN));
        EXPECT_EQ(threeEntries, listed()) << "Down";
        SetWindowLongPtrA(list, GWLP_WNDPROC, original);
        RemovePropA(list, "original");
        driver::click(item(IDCANCEL));
    });
}

TEST_F(SettingsDialog, DownMovesTheEntryToTheEnd) {
    // An enabled button keeps the focus.
    expectEdits({{0, IDC_DOWN, {1, 0, 2}, 1, "UDX", IDC_DOWN}, {-1, IDC_DOWN, {1, 2, 0}, 2, "U-X", IDC_ENTRY_LIST}},
                false);
}

TEST_F(SettingsDialog, DeleteRemovesTheEntryAndHandsTheFocusToTheList) {
    expectEdits({{1, IDC_DELETE, {0, 2}, -1, "---", IDC_ENTRY_LIST}}, true);
}

TEST_F(SettingsDialog, OkWritesOptionsAndListAndKeepsTheResumePoint) {
    inifile::setValue(iniPath, "Setting", "Resume", "1");
    inifile::setEntries(iniPath, threeEntries);
    inifile::setResume(iniPath, "C:\\clips\\one.avi", "3,7");
    const INT_PTR result = show([&](HWND) {
        driver::click(item(IDC_RANDOM));
        driver::click(item(IDC_RESUME));
        driver::click(item(IDC_NO_SOUND));
        EXPECT_TRUE(checked(IDC_RANDOM));
        EXPECT_FALSE(checked(IDC_RESUME));
        EXPECT_TRUE(checked(IDC_NO_SOUND));
        driver::click(item(IDOK));
    });
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(std::vector<std::string>({"KeepAspect=0", "Random=1", "Resume=0", "Sound=0"}),
              inifile::section(iniPath, "Setting"));
    EXPECT_EQ(std::vector<std::string>({"Count=3", "Path0=" + threeEntries[0], "Path1=" + threeEntries[1],
                                        "Path2=" + threeEntries[2]}),
              inifile::section(iniPath, "PlayList"));
    EXPECT_EQ(std::vector<std::string>({"Name=C:\\clips\\one.avi", "Time=3,7"}), inifile::section(iniPath, "Resume"));
}

TEST_F(SettingsDialog, KeepAspectBoxShowsAndStoresTheSetting) {
    struct Row {
        const char* stored;  // the value in the file before, or null for none
        bool clicked;        // the user clicks the box once
        bool shown;          // the box as the dialog opens
        const char* saved;   // the value after OK
    };
    const Row rows[] = {
        {nullptr, false, false, "0"},
        {nullptr, true, false, "1"},
        {"1", false, true, "1"},
        {"1", true, true, "0"},
        {"0", true, false, "1"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "stored " << (row.stored ? row.stored : "none") << ", clicked "
                                        << row.clicked);
        DeleteFileA(iniPath.c_str());
        if (row.stored) inifile::setValue(iniPath, "Setting", "KeepAspect", row.stored);
        bool shown = !row.shown;
        const INT_PTR result = show([&](HWND) {
            shown = checked(IDC_KEEP_ASPECT);
            if (row.clicked) driver::click(item(IDC_KEEP_ASPECT));
            driver::click(item(IDOK));
        });
        EXPECT_EQ(IDOK, result);
        EXPECT_EQ(row.shown, shown);
        EXPECT_EQ(row.saved, inifile::value(iniPath, "Setting", "KeepAspect", "<missing>"));
    }
}

TEST_F(SettingsDialog, CancelAfterChangesLeavesTheFileAsItWas) {
    inifile::setValue(iniPath, "Setting", "Random", "0");
    inifile::setEntries(iniPath, threeEntries);
    inifile::setValue(iniPath, "Resume", "Time", "1,2");
    const std::string before = testfiles::readBytes(iniPath);
    ASSERT_FALSE(before.empty());
    const INT_PTR result = show([&](HWND) {
        clickEntry(2);
        driver::click(item(IDC_UP));
        driver::click(item(IDC_DELETE));
        driver::click(item(IDC_RANDOM));
        driver::click(item(IDC_NO_SOUND));
        driver::click(item(IDC_KEEP_ASPECT));
        EXPECT_EQ(2u, listed().size());
        driver::click(item(IDCANCEL));
    });
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_EQ(before, testfiles::readBytes(iniPath));
}

TEST_F(SettingsDialog, OkWithEmptyListWritesCountZero) {
    inifile::setEntries(iniPath, {"C:\\a.avi", "C:\\b.avi"});
    show([&](HWND) {
        clickEntry(0);
        driver::click(item(IDC_DELETE));
        clickEntry(0);
        driver::click(item(IDC_DELETE));
        EXPECT_TRUE(listed().empty());
        driver::click(item(IDOK));
    });
    EXPECT_EQ(std::vector<std::string>({"Count=0"}), inifile::section(iniPath, "PlayList"));
    EXPECT_EQ(std::vector<std::string>({"KeepAspect=0", "Random=0", "Resume=0", "Sound=1"}),
              inifile::section(iniPath, "Setting"));
}

TEST_F(SettingsDialog, AddFileAppendsTheChosenFilesWithoutMovingTheSelection) {
    const std::string folder = testpaths::freshFolder("add");
    for (const char* name : {"a.wmv", "b.avi", "c.mpg"}) EXPECT_TRUE(testfiles::touch(folder + name));
    inifile::setEntries(iniPath, {"C:\\first.avi"});
    HWND fileDialogOwner = nullptr;
    const INT_PTR result = show([&](HWND dialog) {
        clickEntry(0);
        driver::whenDialogAppears([&](HWND fileDialog) {
            fileDialogOwner = GetWindow(fileDialog, GW_OWNER);
            systemdialogs::chooseFiles(fileDialog, folder, "\"b.avi\" \"a.wmv\" \"c.mpg\"");
        });
        driver::click(item(IDC_ADD_FILE));
        pump::until([&] { return listed().size() == 4; });
        driver::whenDialogAppears([&](HWND fileDialog) { systemdialogs::chooseFiles(fileDialog, folder, "b.avi"); });
        driver::click(item(IDC_ADD_FILE));
        pump::until([&] { return listed().size() == 5; });
        // A cancelled dialog adds nothing.
        driver::whenDialogAppears(systemdialogs::cancel);
        driver::click(item(IDC_ADD_FILE));
        EXPECT_EQ(dialog, fileDialogOwner);
        EXPECT_EQ(0, selection()) << "new entries are not selected";
        EXPECT_EQ("-DX", moveButtons());
        driver::click(item(IDOK));
    });
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(std::vector<std::string>({"Count=5", "Path0=C:\\first.avi", "Path1=" + folder + "b.avi",
                                        "Path2=" + folder + "a.wmv", "Path3=" + folder + "c.mpg",
                                        "Path4=" + folder + "b.avi"}),
              inifile::section(iniPath, "PlayList"));
}

// The open-file dialog's types: today's types where Media Foundation plays
// them, Matroska files only where Windows also has a source for them.
TEST_F(SettingsDialog, AddFileOffersTheTypesThisWindowsPlays) {
    const std::vector<std::string> classic = {"wmv ファイル (*.wmv)", "avi ファイル (*.avi)", "mpeg ファイル (*.mpg;*.mpeg)"};
    const std::string today = "mp4 ファイル (*.mp4;*.m4v;*.mov)", matroska = "mkv ファイル (*.mkv)";
    const std::string all = "すべてのファイル (*.*)";
    const struct {
        int line;
        bool foundation, matroska;
        std::vector<std::string> expected;
    } rows[] = {
        {__LINE__, true, true, {classic[0], classic[1], classic[2], today, matroska, all}},
        {__LINE__, true, false, {classic[0], classic[1], classic[2], today, all}},
        {__LINE__, false, true, {classic[0], classic[1], classic[2], all}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "row at line " << row.line);
        MediaFoundation::refuse(!row.foundation);
        std::unique_ptr<MatroskaSource> source(row.matroska ? new MatroskaSource : nullptr);
        std::vector<std::string> types;
        show([&](HWND) {
            driver::whenDialogAppears([&](HWND fileDialog) {
                int selected = -1;
                types = systemdialogs::fileTypes(fileDialog, selected);
                systemdialogs::cancel(fileDialog);
            });
            driver::click(item(IDC_ADD_FILE));
            driver::click(item(IDCANCEL));
        });
        EXPECT_EQ(row.expected, types);
    }
    MediaFoundation::refuse(false);
}

TEST_F(SettingsDialog, AddFolderAppendsOneTrailingBackslash) {
    const std::string folder = systemdialogs::browsableFolder("added");
    show([&](HWND) {
        driver::whenDialogAppears([](HWND browser) { systemdialogs::chooseFolder(browser, "C:\\"); });
        driver::click(item(IDC_ADD_FOLDER));
        driver::whenDialogAppears([&](HWND browser) { systemdialogs::chooseFolder(browser, folder); });
        driver::click(item(IDC_ADD_FOLDER));
        driver::whenDialogAppears(systemdialogs::cancel);
        driver::click(item(IDC_ADD_FOLDER));
        pump::until([&] { return listed().size() == 2; });
        EXPECT_EQ(std::vector<std::string>({"C:\\", folder + "\\"}), listed());
        driver::click(item(IDCANCEL));
    });
}

// Each name of the table as a folder holding a file of that name, added
// through the folder browser and the open-file dialog: listed as it is,
// saved and read back exactly; the file keeps the ANSI form while it can.
TEST_F(SettingsDialog, NamesOfAnyScriptAreListedAndSavedWhole) {
    for (const scriptnames::Row& row : scriptnames::rows()) {
        SCOPED_TRACE(testing::Message() << "row at line " << row.line);
        const std::string name = scriptnames::narrow(row.name);
        const std::string folder = systemdialogs::browsableFolder(name);
        const std::string file = folder + "\\" + name + ".avi";
        CloseHandle(CreateFileW(WidePath(file.c_str()).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
        DeleteFileA(iniPath.c_str());
        show([&](HWND) {
            driver::whenDialogAppears([&](HWND browser) { systemdialogs::chooseFolder(browser, folder); });
            driver::click(item(IDC_ADD_FOLDER));
            driver::whenDialogAppears([&](HWND fileDialog) { systemdialogs::chooseFiles(fileDialog, folder, name + ".avi"); });
            driver::click(item(IDC_ADD_FILE));
            pump::until([&] { return listed().size() == 2; });
            EXPECT_EQ(std::vector<std::string>({folder + "\\", file}), listed());
            driver::click(item(IDOK));
        });
        EXPECT_EQ(std::vector<std::string>({folder + "\\", file}), inifile::entries(iniPath));
        EXPECT_EQ(row.fitsTheCodePage, testfiles::readBytes(iniPath).compare(0, 2, "\xFF\xFE") != 0);
    }
}

TEST_F(SettingsDialog, ShowsAgainInTheSameProcess) {
    inifile::setEntries(iniPath, {"C:\\a.avi"});
    for (int showing = 0; showing < 2; ++showing) {
        SCOPED_TRACE(testing::Message() << "showing " << showing);
        HWND owner = nullptr;
        const INT_PTR result = show([&](HWND dialog) {
            EXPECT_EQ(std::vector<std::string>({"C:\\a.avi"}), listed());
            driver::whenDialogAppears([&](HWND fileDialog) {
                owner = GetWindow(fileDialog, GW_OWNER);
                systemdialogs::cancel(fileDialog);
            });
            driver::click(item(IDC_ADD_FILE));
            EXPECT_EQ(dialog, owner) << "the open-file dialog belongs to this showing";
            driver::click(item(IDOK));
        });
        EXPECT_EQ(IDOK, result);
    }
}

TEST_F(SettingsDialog, ProcedureClaimsOnlyItsOwnCommands) {
    inifile::setEntries(iniPath, threeEntries);
    show([&](HWND dialog) {
        struct {
            int line;
            UINT message;
            WPARAM wParam;
            INT_PTR result;
        } const cases[] = {
            {__LINE__, WM_COMMAND, MAKEWPARAM(IDC_RANDOM, BN_CLICKED), FALSE},
            {__LINE__, WM_COMMAND, MAKEWPARAM(IDC_NO_SOUND, BN_CLICKED), FALSE},
            {__LINE__, WM_COMMAND, MAKEWPARAM(1234, BN_CLICKED), FALSE},
            {__LINE__, WM_COMMAND, MAKEWPARAM(IDC_ENTRY_LIST, LBN_DBLCLK), TRUE},
            {__LINE__, WM_COMMAND, MAKEWPARAM(IDC_ENTRY_LIST, LBN_SELCHANGE), TRUE},
            {__LINE__, WM_COMMAND, MAKEWPARAM(IDC_UP, BN_CLICKED), TRUE},
            {__LINE__, WM_UPDATE_BUTTONS, 0, TRUE},
            {__LINE__, DM_SETDEFID, IDCANCEL, FALSE},  // left to the dialog manager
            {__LINE__, WM_NULL, 0, FALSE},
        };
        for (const auto& c : cases) {
            EXPECT_EQ(c.result, settingsDialogProc(dialog, c.message, c.wParam, 0)) << "case at line " << c.line;
        }
        EXPECT_EQ(threeEntries, listed()) << "Up without a selection moves nothing";
        driver::click(item(IDCANCEL));
    });
}

// The dialog's own message lies outside the range of the dialog manager's
// messages: a request to change the default button reaches the manager.
TEST_F(SettingsDialog, DefaultButtonCanBeChanged) {
    show([&](HWND dialog) {
        EXPECT_EQ(IDOK, LOWORD(SendMessageA(dialog, DM_GETDEFID, 0, 0)));
        SendMessageA(dialog, DM_SETDEFID, IDCANCEL, 0);
        EXPECT_EQ(IDCANCEL, LOWORD(SendMessageA(dialog, DM_GETDEFID, 0, 0)));
        EXPECT_EQ(DC_HASDEFID, HIWORD(SendMessageA(dialog, DM_GETDEFID, 0, 0)));
        SendMessageA(dialog, DM_SETDEFID, IDOK, 0);
        EXPECT_EQ(IDOK, LOWORD(SendMessageA(dialog, DM_GETDEFID, 0, 0)));
        driver::click(item(IDCANCEL));
    });
}

// Cancel after a failed save: see the settings mode's case.
TEST_F(SettingsDialog, AFailedSaveIsToldAndOkWorksOnceTheFileCanBeWritten) {
    ASSERT_TRUE(CreateDirectoryA(iniPath.c_str(), nullptr)) << "a folder where the file should be";
    Told told;
    const INT_PTR result = show([&](HWND dialog) {
        driver::click(item(IDC_RANDOM));
        whenTold(told);
        driver::click(item(IDOK));
        EXPECT_TRUE(pump::until([&] { return !told.text.empty(); }));
        EXPECT_TRUE(IsWindowVisible(dialog) && checked(IDC_RANDOM));
        EXPECT_TRUE(RemoveDirectoryA(iniPath.c_str()));
        driver::click(item(IDOK));
    });
    EXPECT_EQ(IDOK, result);
    EXPECT_TRUE(told.owned);
    wchar_t reason[512] = {};
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, ERROR_ACCESS_DENIED, 0x400,
                   reason, 512, nullptr);
    // The system's reason, without its line break.
    EXPECT_EQ("設定を cinevane.ini に保存できませんでした。\n\n" + driver::utf8(reason), told.text + "\r\n");
    EXPECT_EQ("1", inifile::value(iniPath, "Setting", "Random", "<missing>"));
}

TEST_F(SettingsDialog, AddFileTakesALargeSelectionWholeOrSaysItCouldNot) {
    const std::string folder = testpaths::freshFolder("many"), padding(140, 'v');
    std::string cameraNames, longNames;  // 200 names as cameras give them; 220 longer ones, beyond the first room
    for (int i = 0; i < 220; ++i) {
        const std::string name = "VID_20240612_" + std::to_string(183000 + i) + ".mp4";
        if (i < 200) cameraNames += "\"" + name + "\" ";
        longNames += "\"" + padding + name + "\" ";
        ASSERT_TRUE(testfiles::touch(folder + name) && testfiles::touch(folder + padding + name));
    }
    const struct {
        const std::string& names;
        std::string told;
        size_t listed;
    } rows[] = {{cameraNames, "", 200},
                {longNames, "選んだファイルの一覧を受け取れませんでした。もう一度選んでください。", 200},
                {longNames, "", 420}};
    show([&](HWND) {
        for (const auto& row : rows) {
            Told told;
            driver::whenDialogAppears([&](HWND fileDialog) {
                systemdialogs::chooseFiles(fileDialog, folder, row.names);
                if (!row.told.empty()) whenTold(told);
            });
            driver::click(item(IDC_ADD_FILE));
            pump::until([&] { return listed().size() == row.listed && told.text == row.told; });
            EXPECT_EQ(row.listed, listed().size());
            EXPECT_EQ(row.told, told.text);
        }
        EXPECT_EQ(folder + "VID_20240612_183199.mp4", listed()[199]);
        EXPECT_EQ(folder + padding + "VID_20240612_183219.mp4", listed().back());
        driver::click(item(IDCANCEL));
    });
}

TEST_F(SettingsDialog, AFolderThatCannotBeAddedIsNamed) {
    std::string deep = systemdialogs::browsableFolder("deep");
    deep += "\\" + std::string(MAX_PATH - 2 - deep.size(), 'd');  // 259 bytes, 260 with the backslash
    ASSERT_TRUE(CreateDirectoryA(deep.c_str(), nullptr));
    show([&](HWND) {
        for (const bool computer : {false, true}) {  // the computer has no path
            Told told;
            std::string name;
            driver::whenDialogAppears([&](HWND browser) {
                if (computer) name = systemdialogs::chooseComputer(browser);
                if (!computer) systemdialogs::chooseFolder(browser, deep);
                whenTold(told);
            });
            driver::click(item(IDC_ADD_FOLDER));
            EXPECT_TRUE(pump::until([&] { return !told.text.empty(); }));
            EXPECT_EQ(computer ? "「" + name + "」はファイル システムのフォルダではないため、追加できませんでした。"
                               : "次の項目はパスが長すぎるため、追加できませんでした。\n\n" + deep + "\\",
                      told.text);
            EXPECT_TRUE(told.owned && listed().empty());
        }
        driver::click(item(IDCANCEL));
    });
}
