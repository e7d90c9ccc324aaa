#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "host/CommandLine.h"

namespace {

HWND handle(UINT_PTR value) {
    return reinterpret_cast<HWND>(value);
}

// Text that ends exactly at the end of a readable page, followed by a page
// that may not be touched: reading past the terminator faults.
class FencedText {
public:
    FencedText() {
        SYSTEM_INFO system;
        GetSystemInfo(&system);
        pageSize = system.dwPageSize;
        base = static_cast<char*>(VirtualAlloc(nullptr, 2 * pageSize, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        DWORD old;
        VirtualProtect(base + pageSize, pageSize, PAGE_NOACCESS, &old);
    }
    ~FencedText() { VirtualFree(base, 0, MEM_RELEASE); }
    const char* place(const char* text, size_t length) {
        char* start = base + pageSize - (length + 1);
        memcpy(start, text, length);
        start[length] = '\0';
        return start;
    }

private:
    DWORD pageSize;
    char* base;
};

}  // namespace

TEST(CommandTail, SkipsTheProgramNameAndTheBlanksBehindIt) {
    static const struct {
        int line;
        const char* commandLine;
        const char* tail;
    } cases[] = {
        {__LINE__, "cinevane.scr", ""},
        {__LINE__, "cinevane.scr /s", "/s"},
        {__LINE__, "C:\\saver\\cinevane.scr   /p 1234", "/p 1234"},
        {__LINE__, "\"C:\\Program Files\\cinevane.scr\" /c:99", "/c:99"},
        {__LINE__, "\"C:\\Program Files\\cinevane.scr\"/s", "/s"},
        {__LINE__, "\"C:\\unterminated name /s", ""},
        {__LINE__, "\"\" -s", "-s"},
        {__LINE__, "cinevane.scr\t\r\n\x01 s", "s"},
        {__LINE__, "C:\\Program Files\\cinevane.scr /s", "Files\\cinevane.scr /s"},
        {__LINE__, "", ""},
        {__LINE__, "   /s", "/s"},
    };
    for (const auto& c : cases) {
        const char* tail = findCommandTail(c.commandLine);
        EXPECT_STREQ(c.tail, tail) << "case at line " << c.line;
        EXPECT_TRUE(tail >= c.commandLine && tail <= c.commandLine + strlen(c.commandLine));
    }
}

TEST(CommandTail, QuotedNameStepsOverDoubleByteCharacters) {
    if (GetACP() != 932) GTEST_SKIP() << "needs code page 932";
    // 0x95 0x5C is one Shift-JIS character whose trail byte is a backslash;
    // 0x83 0x22 would be a lead byte followed by a quote byte.
    const char commandLine[] = "\"C:\\\x95\x5C\\cinevane.scr\" /s";
    EXPECT_STREQ("/s", findCommandTail(commandLine));
    const char unquoted[] = "C:\\\x95\x5C\\cinevane.scr /s";
    EXPECT_STREQ("/s", findCommandTail(unquoted));
}

TEST(WindowHandle, DecimalDigitsUpToTheFirstOtherByte) {
    static const struct {
        int line;
        const char* text;
        UINT_PTR value;
    } cases[] = {
        {__LINE__, "", 0},       {__LINE__, "x12", 0},         {__LINE__, "12", 12},
        {__LINE__, "12ab", 12},  {__LINE__, "0012", 12},       {__LINE__, "-5", 0},
        {__LINE__, " 5", 0},     {__LINE__, "4294967295", 0xFFFFFFFF},
        {__LINE__, "4294967296", 0},  // wraps at 32 bits
        {__LINE__, "\xB1\xB2", 0},    // bytes above 127 are no digits
    };
    for (const auto& c : cases) EXPECT_EQ(handle(c.value), parseWindowHandle(c.text)) << "case at line " << c.line;
}

TEST(ModeChoice, EveryRowOfTheSwitchTable) {
    static const struct {
        int line;
        const char* tail;
        RunMode mode;
        UINT_PTR window;
    } cases[] = {
        {__LINE__, "", RunMode::Settings, 0},
        {__LINE__, "S", RunMode::FullScreen, 0},
        {__LINE__, "s", RunMode::FullScreen, 0},
        {__LINE__, "/s", RunMode::FullScreen, 0},
        {__LINE__, "-S", RunMode::FullScreen, 0},
        {__LINE__, "// - /-s anything", RunMode::FullScreen, 0},
        {__LINE__, "   ", RunMode::Settings, 0},
        {__LINE__, "/-/", RunMode::Settings, 0},
        {__LINE__, "/p 1234", RunMode::Preview, 1234},
        {__LINE__, "/P   77", RunMode::Preview, 77},
        {__LINE__, "/p1234", RunMode::Preview, 1234},
        {__LINE__, "/p", RunMode::Preview, 0},
        {__LINE__, "/p 12ab", RunMode::Preview, 12},
        {__LINE__, "/p\t12", RunMode::Preview, 0},
        {__LINE__, "/l 99", RunMode::Preview, 99},
        {__LINE__, "L 99", RunMode::Preview, 99},
        {__LINE__, "/c:4660", RunMode::OwnedSettings, 4660},
        {__LINE__, "/C", RunMode::OwnedSettings, 0},
        {__LINE__, "/c 4660", RunMode::OwnedSettings, 0},
        {__LINE__, "/c: 4660", RunMode::OwnedSettings, 0},
        {__LINE__, "/a 321", RunMode::ChangePassword, 321},
        {__LINE__, "A", RunMode::ChangePassword, 0},
        {__LINE__, "/x", RunMode::Invalid, 0},
        {__LINE__, "\t/s", RunMode::Invalid, 0},
        {__LINE__, "?", RunMode::Invalid, 0},
        {__LINE__, "\x95\x5C", RunMode::Invalid, 0},
    };
    for (const auto& c : cases) {
        ModeChoice choice = chooseMode(c.tail);
        EXPECT_EQ(c.mode, choice.mode) << "case at line " << c.line;
        EXPECT_EQ(handle(c.window), choice.windowHandle) << "case at line " << c.line;
    }
}

// Several thousand random command lines never make the tail finder or the
// mode choice read past the terminator, and always give a defined mode.
TEST(ModeChoice, RandomCommandLinesStayInsideTheText) {
    FencedText fence;
    srand(20261207);
    static const char alphabet[] = "sSpPlLcCaAxX:/- \"\t0123456789\x81\x95\x5C\xE0\xFF\x01";
    char text[64];
    for (int round = 0; round < 5000; ++round) {
        size_t length = static_cast<size_t>(rand() % 40);
        for (size_t i = 0; i < length; ++i) {
            // Mostly bytes that mean something here, sometimes any byte but 0.
            text[i] = rand() % 4 ? alphabet[rand() % (sizeof alphabet - 1)] : static_cast<char>(1 + rand() % 255);
        }
        const char* line = fence.place(text, length);
        const char* tail = findCommandTail(line);
        ASSERT_TRUE(tail >= line && tail <= line + length) << "round " << round;
        ModeChoice choice = chooseMode(tail);
        ASSERT_TRUE(choice.mode >= RunMode::Invalid && choice.mode <= RunMode::ChangePassword) << "round " << round;
        if (choice.mode == RunMode::FullScreen || choice.mode == RunMode::Settings ||
            choice.mode == RunMode::Invalid) {
            EXPECT_EQ(nullptr, choice.windowHandle) << "round " << round;
        }
    }
}
