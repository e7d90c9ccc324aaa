#include <gtest/gtest.h>

#include <windows.h>

#include "SaverDriver.h"
#include "base/OwnedHandles.h"
#include "resources/ResourceIds.h"

using namespace driver;

namespace {

// The settings dialog's result after Cancel: what it passes to EndDialog,
// or -1 should the program carry no dialog template.
DWORD expectedDialogResult(const ProgramCopy& copy) {
    HMODULE image = LoadLibraryExA(copy.program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    bool hasTemplate = image && FindResourceA(image, MAKEINTRESOURCEA(IDD_SETTINGS), RT_DIALOG);
    if (image) FreeLibrary(image);
    return hasTemplate ? 2 : static_cast<DWORD>(-1);
}

// Runs the settings mode; a dialog that stays open is checked for its owner
// and cancelled. Returns the exit code.
DWORD runSettings(RunningProgram& process, HWND expectedOwner) {
    HWND dialog = process.waitForWindow("#32770");
    if (dialog) {
        EXPECT_EQ(expectedOwner, GetWindow(dialog, GW_OWNER));
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }
    return process.finish();
}

HWND deadWindow() {
    TestWindow* window = createTestWindow();
    HWND handle = window->handle;
    destroyTestWindow(window);
    return handle;
}

std::string decimal(HWND window) {
    return std::to_string(reinterpret_cast<UINT_PTR>(window));
}

}  // namespace

class Modes : public ::testing::Test {
protected:
    void SetUp() override {
        copy = makeCopy("modes");
        other = foregroundWindow();
        owner = createTestWindow();
    }
    void TearDown() override { destroyTestWindow(owner); }
    ProgramCopy copy;
    RunningProgram process;
    TestWindow* other = nullptr;  // the foreground window
    TestWindow* owner = nullptr;
};

TEST_F(Modes, ProgramNameAloneOpensTheSettingsWithoutParent) {
    ASSERT_TRUE(takeForeground());
    ASSERT_TRUE(process.startCommandLine(copy.program, "\"" + copy.program + "\""));
    EXPECT_EQ(expectedDialogResult(copy), runSettings(process, nullptr));
    EXPECT_EQ(0, other->disabledCount);
}

TEST_F(Modes, SettingsOwnerIsTheGivenWindowOrTheForegroundOne) {
    bool shown = expectedDialogResult(copy) == 2;
    static const struct {
        int line;
        const char* tail;  // the handle of `owner` is appended where it ends in ':'
        bool toOwner;
    } cases[] = {
        {__LINE__, "/c:", true},
        {__LINE__, "-C:", true},
        {__LINE__, "/c", false},
        {__LINE__, "/c 12", false},
        {__LINE__, "/c:0", false},
    };
    for (const auto& c : cases) {
        // Closing the last case's dialog hands the activation to its owner
        // in Wine's own time: the test window must be in front again.
        ASSERT_TRUE(takeForeground()) << "line " << c.line;
        std::string tail = c.tail;
        if (tail.back() == ':') tail += decimal(owner->handle);
        int ownerBefore = owner->disabledCount, otherBefore = other->disabledCount;
        HWND expected = c.toOwner ? owner->handle : other->handle;
        ASSERT_TRUE(process.start(copy.program, tail)) << "line " << c.line;
        EXPECT_EQ(expectedDialogResult(copy), runSettings(process, expected)) << "line " << c.line;
        if (shown) {
            // A modal dialog disables its owner while it runs.
            EXPECT_EQ(c.toOwner ? 1 : 0, owner->disabledCount - ownerBefore) << "line " << c.line;
            EXPECT_EQ(c.toOwner ? 0 : 1, other->disabledCount - otherBefore) << "line " << c.line;
        }
    }
}

TEST_F(Modes, FullScreenLetterBehindAnySwitchMarks) {
    static const char* tails[] = {"s", "S", "/s", "-S", "/-/ - -s", "  /S", "/s with more text"};
    for (const char* tail : tails) {
        SetCursorPos(500, 400);
        ASSERT_TRUE(process.start(copy.program, tail)) << tail;
        HWND saver = process.waitForSaver();
        ASSERT_NE(nullptr, saver) << tail;
        EXPECT_EQ(0u, process.endShowWithKey()) << tail;
    }
}

TEST_F(Modes, QuotedNameWithBlanksIsSkippedWholeAndUnquotedEndsAtTheBlank) {
    ProgramCopy blank = makeCopy("with blank");
    ASSERT_TRUE(process.startCommandLine(blank.program, "\"" + blank.program + "\" /s"));
    HWND saver = process.waitForSaver();
    ASSERT_NE(nullptr, saver);
    EXPECT_EQ(0u, process.endShowWithKey());

    // Unquoted, the name ends at the blank: the tail starts with "blank\...".
    ASSERT_TRUE(process.startCommandLine(blank.program, blank.program + " /s"));
    EXPECT_EQ(static_cast<DWORD>(-1), process.finish());

    // An unquoted name without blanks is fine.
    ASSERT_TRUE(process.startCommandLine(copy.program, copy.program + " /s"));
    saver = process.waitForSaver();
    ASSERT_NE(nullptr, saver);
    EXPECT_EQ(0u, process.endShowWithKey());
}

TEST_F(Modes, PreviewNeedsTheHandleOfALiveWindow) {
    static const struct {
        int line;
        const char* format;  // %s: the handle of the driver's window
        bool runs;
    } cases[] = {
        {__LINE__, "/p %s", true},    {__LINE__, "/P   %s", true}, {__LINE__, "/l %s", true},
        {__LINE__, "-L %sxyz", true}, {__LINE__, "/p", false},     {__LINE__, "/p xyz", false},
        {__LINE__, "/p0", false},     {__LINE__, "/l", false},
    };
    for (const auto& c : cases) {
        char tail[64];
        wsprintfA(tail, c.format, decimal(owner->handle).c_str());
        ASSERT_TRUE(process.start(copy.program, tail)) << "line " << c.line;
        if (c.runs) {
            HWND preview = nullptr;
            EXPECT_TRUE(pump::until([&] {
                return (preview = FindWindowExA(owner->handle, nullptr, "WindowsScreenSaverClass", "Preview")) ||
                       process.ended();
            })) << "line " << c.line;
            EXPECT_NE(nullptr, preview) << "line " << c.line;
            if (preview) PostMessageA(preview, WM_CLOSE, 0, 0);
            EXPECT_EQ(0u, process.finish()) << "line " << c.line;
        } else {
            EXPECT_EQ(static_cast<DWORD>(-1), process.finish()) << "line " << c.line;
        }
    }
    ASSERT_TRUE(process.start(copy.program, "/p " + decimal(deadWindow())));
    EXPECT_EQ(static_cast<DWORD>(-1), process.finish());
}

TEST_F(Modes, PasswordChangeOutsideThe9xFamilyEndsWithMinusOne) {
    ProgramCopy withMpr = makeCopy("mpr-nt", NT_PROGRAM, MPR_DLL);
    deleteTree(FAKE_MPR_KEY);
    ASSERT_TRUE(process.start(withMpr.program, "/a " + decimal(owner->handle)));
    EXPECT_EQ(static_cast<DWORD>(-1), process.finish());
    EXPECT_EQ(0u, readDword(FAKE_MPR_KEY, "Calls"));
}

TEST_F(Modes, UnknownLettersEndWithMinusOne) {
    static const char* tails[] = {"/x", "X", "-?", "/ q", "/\ts"};
    for (const char* tail : tails) {
        ASSERT_TRUE(process.start(copy.program, tail)) << tail;
        EXPECT_EQ(static_cast<DWORD>(-1), process.finish()) << tail;
    }
}
