// The built program in its settings mode: the command lines that open the
// dialog, its exit code, and the INI file beside the program.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>

#include "DialogDriver.h"
#include "SystemDialogs.h"
#include "support/TestPaths.h"

namespace {

struct FoundDialog {
    DWORD processId;
    HWND dialog;
};

BOOL CALLBACK findProcessDialog(HWND window, LPARAM data) {
    FoundDialog* found = reinterpret_cast<FoundDialog*>(data);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (processId == found->processId && lstrcmpA(name, "#32770") == 0 && IsWindowVisible(window)) {
        found->dialog = window;
        return FALSE;
    }
    return TRUE;
}

// A copy of the program in a folder of its own, run with `arguments`. Its
// own name keeps the Wine settings made for it away from other tests.
class SettingsMode : public testing::Test {
protected:
    void SetUp() override {
        folder = systemdialogs::scratchFolder("mode");
        program = folder + "settings-mode.scr";
        ASSERT_TRUE(CopyFileA(testpaths::binaryPath("cinevane.scr").c_str(), program.c_str(), FALSE));
        owner = CreateWindowExA(0, "Static", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 400, 300, 200, 100,
                                nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, owner);
    }
    void TearDown() override {
        if (process.hProcess) {
            TerminateProcess(process.hProcess, 0xDEAD);
            CloseHandle(process.hProcess);
            CloseHandle(process.hThread);
        }
        DestroyWindow(owner);
    }

    // Starts the program and waits for its dialog.
    HWND start(const std::string& arguments) {
        std::string commandLine = "\"" + program + "\"" + (arguments.empty() ? "" : " " + arguments);
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        EXPECT_TRUE(CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                                   folder.c_str(), &startup, &process));
        FoundDialog found = {process.dwProcessId, nullptr};
        driver::pumpUntil([&] {
            EnumWindows(findProcessDialog, reinterpret_cast<LPARAM>(&found));
            return found.dialog != nullptr;
        }, 20000);
        return found.dialog;
    }

    // Exit code of the program once it has ended.
    DWORD exitCode() {
        driver::pumpUntil([&] { return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0; }, 20000);
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(process.hProcess, &code);
        return code;
    }

    std::string iniValue(const char* section, const char* key) {
        char value[MAX_PATH] = {};
        GetPrivateProfileStringA(section, key, "<missing>", value, MAX_PATH, (folder + "cinevane.ini").c_str());
        return value;
    }

    std::string folder;
    std::string program;
    HWND owner = nullptr;
    PROCESS_INFORMATION process = {};
};

}  // namespace

TEST_F(SettingsMode, OkWithoutArgumentWritesTheIniBesideTheProgram) {
    HWND dialog = start("");
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(nullptr, GetWindow(dialog, GW_OWNER));
    EXPECT_EQ("設定", driver::wideText(dialog));
    driver::click(GetDlgItem(dialog, 1003));
    driver::click(GetDlgItem(dialog, IDOK));
    EXPECT_EQ(1u, exitCode());
    EXPECT_EQ("0", iniValue("PlayList", "Count"));
    EXPECT_EQ("0", iniValue("Setting", "Sound"));
}

TEST_F(SettingsMode, ConfigureWithHandleOwnsTheDialogAndCancelWritesNothing) {
    const std::string arguments = "/c:" + std::to_string(reinterpret_cast<UINT_PTR>(owner));
    HWND dialog = start(arguments.c_str());
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(owner, GetWindow(dialog, GW_OWNER));
    driver::click(GetDlgItem(dialog, IDCANCEL));
    EXPECT_EQ(2u, exitCode());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((folder + "cinevane.ini").c_str()));
}

TEST_F(SettingsMode, ConfigureAloneShowsTheDialog) {
    HWND dialog = start("/c");
    ASSERT_NE(nullptr, dialog);
    driver::click(GetDlgItem(dialog, IDCANCEL));
    EXPECT_EQ(2u, exitCode());
}

TEST_F(SettingsMode, IniPathBeyondMaxPathEndsWithMinusOneAndNoDialog) {
    // A folder so deep that the program fits but "cinevane.ini" beside it does not.
    std::string deep = folder + "d";
    while (deep.size() < 250) {
        CreateDirectoryA(deep.c_str(), nullptr);
        deep += "\\" + std::string(std::min<size_t>(60, 250 - deep.size()), 'd');
    }
    ASSERT_TRUE(CreateDirectoryA(deep.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS) << deep;
    program = deep + "\\s.scr";
    ASSERT_GE((deep + "\\cinevane.ini").size(), static_cast<size_t>(MAX_PATH));
    ASSERT_TRUE(CopyFileA(testpaths::binaryPath("cinevane.scr").c_str(), program.c_str(), FALSE));
    std::string commandLine = "\"" + program + "\" /c";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    ASSERT_TRUE(CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &process));
    EXPECT_EQ(static_cast<DWORD>(-1), exitCode());
}
