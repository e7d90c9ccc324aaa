// The built program in its settings mode: the command lines that open the
// dialog, its exit code, and the INI file beside the program.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>

#include "DialogDriver.h"
#include "SystemDialogs.h"
#include "resources/ResourceIds.h"
#include "support/MessagePump.h"
#include "support/ProcessWindows.h"
#include "support/ProgramCopy.h"
#include "support/RunningProgram.h"
#include "support/TestFiles.h"

namespace {

// A copy of the program in a folder of its own, run with `arguments`. Its
// own name keeps the Wine settings made for it away from other tests.
class SettingsMode : public testing::Test {
protected:
    void SetUp() override {
        owner = CreateWindowExA(0, "Static", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 400, 300, 200, 100,
                                nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, owner);
    }
    void TearDown() override {
        process.kill();
        DestroyWindow(owner);
    }

    // Starts the program and waits for its dialog. A click lands where the
    // dialog is drawn: it is awaited painted, and in front.
    HWND start(const std::string& arguments) {
        EXPECT_TRUE(process.start(copy.program, arguments));
        HWND dialog = process.waitForDialog();
        if (!dialog) return nullptr;
        EXPECT_TRUE(RunningProgram::settle(dialog));
        SetForegroundWindow(dialog);
        EXPECT_TRUE(pump::until([&] { return GetForegroundWindow() == dialog; }));
        return dialog;
    }

    ProgramCopy copy{"mode", ProgramCopy::builtProgram(), "settings-mode.scr"};
    RunningProgram process;
    HWND owner = nullptr;
};

}  // namespace

TEST_F(SettingsMode, OkWithoutArgumentWritesTheIniBesideTheProgram) {
    HWND dialog = start("");
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(nullptr, GetWindow(dialog, GW_OWNER));
    EXPECT_EQ("設定", driver::wideText(dialog));
    HWND noSound = GetDlgItem(dialog, IDC_NO_SOUND);
    driver::click(noSound);
    ASSERT_TRUE(pump::until([&] { return SendMessageA(noSound, BM_GETCHECK, 0, 0) == BST_CHECKED; }));
    driver::click(GetDlgItem(dialog, IDOK));
    EXPECT_EQ(1u, process.finish());
    EXPECT_EQ("0", copy.iniValue("PlayList", "Count", "<missing>"));
    EXPECT_EQ("0", copy.iniValue("Setting", "Sound", "<missing>"));
}

// The open-file dialog loads Media Foundation to offer its types; the
// program still ends in order, with its exit code and the INI file written.
TEST_F(SettingsMode, OkAfterTheOpenFileDialogEndsInOrder) {
    HWND dialog = start("");
    ASSERT_NE(nullptr, dialog);
    PostMessageA(GetDlgItem(dialog, IDC_ADD_FILE), BM_CLICK, 0, 0);
    HWND picker = nullptr;
    ASSERT_TRUE(pump::until([&] {
        picker = processwindows::topWindowOf(process.id(), "#32770", nullptr, true);
        return picker && picker != dialog;
    }));
    systemdialogs::cancel(picker);
    ASSERT_TRUE(pump::until([&] { return !IsWindow(picker); }));
    driver::click(GetDlgItem(dialog, IDOK));
    EXPECT_EQ(1u, process.finish());
    EXPECT_EQ("1", copy.iniValue("Setting", "Sound", "<missing>"));
}

TEST_F(SettingsMode, ConfigureWithHandleOwnsTheDialogAndCancelWritesNothing) {
    const std::string arguments = "/c:" + std::to_string(reinterpret_cast<UINT_PTR>(owner));
    HWND dialog = start(arguments.c_str());
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(owner, GetWindow(dialog, GW_OWNER));
    driver::click(GetDlgItem(dialog, IDCANCEL));
    EXPECT_EQ(2u, process.finish());
    EXPECT_FALSE(testfiles::exists(copy.iniPath));
}

TEST_F(SettingsMode, ConfigureAloneShowsTheDialog) {
    HWND dialog = start("/c");
    ASSERT_NE(nullptr, dialog);
    driver::click(GetDlgItem(dialog, IDCANCEL));
    EXPECT_EQ(2u, process.finish());
}

TEST_F(SettingsMode, OkThatCannotWriteTheIniTellsSoAndStaysOpen) {
    ASSERT_TRUE(CreateDirectoryA(copy.iniPath.c_str(), nullptr)) << "a folder where the file should be";
    HWND dialog = start("");
    ASSERT_NE(nullptr, dialog);
    driver::click(GetDlgItem(dialog, IDOK));
    HWND box = nullptr;
    ASSERT_TRUE(pump::until([&] { return (box = processwindows::topWindowOf(process.id(), "#32770", "cinevane", true)); }));
    EXPECT_EQ(dialog, GetWindow(box, GW_OWNER));
    EXPECT_NE(std::string::npos, systemdialogs::messageText(box).find("cinevane.ini に保存できませんでした"));
    systemdialogs::acknowledge(box);
    EXPECT_TRUE(pump::until([&] { return !IsWindow(box); }) && IsWindowVisible(dialog));
    driver::click(GetDlgItem(dialog, IDCANCEL));
    EXPECT_EQ(2u, process.finish()) << "Cancel ends it";
    EXPECT_TRUE(RemoveDirectoryA(copy.iniPath.c_str())) << "nothing written in its place";
}

TEST_F(SettingsMode, IniPathBeyondMaxPathEndsWithMinusOneAndNoDialog) {
    // A folder so deep that the program fits but "cinevane.ini" beside it does not.
    std::string deep = copy.folder + "d";
    while (deep.size() < 250) {
        CreateDirectoryA(deep.c_str(), nullptr);
        deep += "\\" + std::string(std::min<size_t>(60, 250 - deep.size()), 'd');
    }
    ASSERT_TRUE(CreateDirectoryA(deep.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS) << deep;
    const std::string program = deep + "\\s.scr";
    ASSERT_GE((deep + "\\cinevane.ini").size(), static_cast<size_t>(MAX_PATH));
    ASSERT_TRUE(CopyFileA(ProgramCopy::builtProgram().c_str(), program.c_str(), FALSE));
    // Started from this process's folder: the program's own is too long to be a current folder.
    ASSERT_TRUE(process.startCommandLine(program, "\"" + program + "\" /c", nullptr));
    EXPECT_EQ(static_cast<DWORD>(-1), process.finish());
}
