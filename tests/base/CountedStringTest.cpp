#include <gtest/gtest.h>

#include <windows.h>

#include "base/AllocationFaults.h"
#include "base/CountedString.h"
#include "base/Exception.h"
#include "resources/ResourceIds.h"
#include "support/TestErrors.h"

using testerrors::thrownCode;
using testerrors::throwsStaticOutOfMemory;

TEST(CountedString, DefaultIsEmptyOwnBuffer) {
    CountedString s;
    EXPECT_EQ(0, s.length());
    EXPECT_EQ(1, s.bufferSize());
    EXPECT_EQ(1, s.shareCount());
    EXPECT_STREQ("", s.c_str());
}

TEST(CountedString, TextConstructorAllocatesExactly) {
    CountedString s("hello");
    EXPECT_EQ(5, s.length());
    EXPECT_EQ(6, s.bufferSize());
}

TEST(CountedString, CopiesShareUntilChanged) {
    struct Case {
        const char* what;
        void (*change)(CountedString&);
        const char* changed;
    };
    const Case cases[] = {
        {"append", [](CountedString& s) { s.append("!"); }, "abc!"},
        {"at", [](CountedString& s) { *s.at(1) = 'X'; }, "aXc"},
        {"getBuffer", [](CountedString& s) { lstrcpyA(s.getBuffer(2), "zz"); }, "zz"},
        {"assign", [](CountedString& s) { s.assign("new"); }, "new"},
        {"assignNumber", [](CountedString& s) { s.assignNumber(-12); }, "-12"},
        {"+=", [](CountedString& s) { s += "d"; }, "abcd"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CountedString original("abc");
        CountedString copy(original);
        EXPECT_EQ(2, original.shareCount());
        EXPECT_EQ(original.c_str(), copy.c_str());
        c.change(copy);
        EXPECT_STREQ("abc", original.c_str());
        EXPECT_STREQ(c.changed, copy.c_str());
        EXPECT_EQ(1, original.shareCount());
        EXPECT_EQ(1, copy.shareCount());
    }
}

TEST(CountedString, AssignmentSharesAndReleases) {
    CountedString a("one");
    CountedString b("two");
    {
        CountedString c(a);
        b = c;
        EXPECT_EQ(3, a.shareCount());
    }
    EXPECT_EQ(2, a.shareCount());
    EXPECT_STREQ("one", b.c_str());
    b = "three";
    EXPECT_EQ(1, a.shareCount());
    EXPECT_STREQ("one", a.c_str());
}

TEST(CountedString, SelfAssignmentKeepsText) {
    CountedString s("same");
    const char* before = s.c_str();
    CountedString& alias = s;
    s = alias;
    EXPECT_STREQ("same", s.c_str());
    s = s.c_str();
    EXPECT_STREQ("same", s.c_str());
    EXPECT_EQ(before, s.c_str());
    EXPECT_EQ(1, s.shareCount());
}

TEST(CountedString, AssignOrAppendOwnTailIsSafe) {
    CountedString s("abcdef");
    s.append(s.c_str() + 3);
    EXPECT_STREQ("abcdefdef", s.c_str());
    s = s.c_str() + 6;
    EXPECT_STREQ("def", s.c_str());
    EXPECT_EQ(4, s.bufferSize());
}

TEST(CountedString, AppendOwnTextDoubles) {
    CountedString s("ab");
    s.append(s.c_str());
    EXPECT_STREQ("abab", s.c_str());
    CountedString t("xy");
    EXPECT_STREQ("xyxy", (t + t).c_str());
    EXPECT_STREQ("xy", t.c_str());
}

TEST(CountedString, ConcatenationOperators) {
    CountedString a("C:\\");
    EXPECT_STREQ("C:\\dir", (a + "dir").c_str());
    EXPECT_STREQ("x:C:\\", ("x:" + a).c_str());
    EXPECT_STREQ("C:\\C:\\", (a + a).c_str());
    EXPECT_EQ(1, a.shareCount());
}

TEST(CountedString, AppendAfterGetBufferShrinksToText) {
    CountedString s;
    lstrcpyA(s.getBuffer(100), "ab");
    EXPECT_EQ(101, s.bufferSize());
    EXPECT_EQ(2, s.length());
    s.append("c");
    EXPECT_EQ(4, s.bufferSize());
    EXPECT_STREQ("abc", s.c_str());
}

TEST(CountedString, ResizeKeepsTerminatorAndGrowsWithZeros) {
    CountedString s("hello");
    s.resize(3);
    EXPECT_STREQ("he", s.c_str());
    s.resize(10);
    for (int i = 2; i < 10; ++i) EXPECT_EQ('\0', s.c_str()[i]) << i;
    CountedString shared(s);
    shared.resize(2);
    EXPECT_STREQ("h", shared.c_str());
    EXPECT_STREQ("he", s.c_str());
}

TEST(CountedString, ToInt) {
    struct Case {
        const char* text;
        int value;
    } cases[] = {
        {" 120 ", 120}, {"-7", -7}, {"7-", 0}, {"+7", 0}, {"", 0}, {"   ", 0},
        {"\t42\r\n", 42}, {"-", 0}, {"4-2", 0}, {"42a", 0}, {"4 2", 0}, {"0", 0},
        {"007", 7}, {"2147483647", 2147483647}, {"-2147483648", INT_MIN},
        {"4294967297", 1}, {"\x82\x4f", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.value, CountedString(c.text).toInt()) << "'" << c.text << "'";
    }
}

TEST(CountedString, MidLeftRight) {
    struct Case {
        const char* what;
        CountedString result;
        const char* expected;
    };
    CountedString s("abcdefg");
    const Case cases[] = {
        {"mid(5, 10)", s.mid(5, 10), "fg"},
        {"mid(7, 1)", s.mid(7, 1), ""},
        {"mid(-3, 2)", s.mid(-3, 2), "ab"},
        {"mid(2, 0)", s.mid(2, 0), ""},
        {"mid(2, -1)", s.mid(2, -1), ""},
        {"mid(2, 3)", s.mid(2, 3), "cde"},
        {"mid(4)", s.mid(4), "efg"},
        {"mid(-1)", s.mid(-1), "abcdefg"},
        {"mid(100)", s.mid(100), ""},
        {"left(0)", s.left(0), ""},
        {"left(3)", s.left(3), "abc"},
        {"left(100)", s.left(100), "abcdefg"},
        {"right(2)", s.right(2), "fg"},
        {"right(100)", s.right(100), "abcdefg"},
        {"right(0)", s.right(0), ""},
        {"right(-1)", s.right(-1), ""},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(c.expected, c.result.c_str()) << c.what;
        EXPECT_EQ(lstrlenA(c.expected) + 1, c.result.bufferSize()) << c.what;
    }
    EXPECT_STREQ("abcdefg", s.c_str());
}

TEST(CountedString, Trim) {
    CountedString s(" \t\x01 mid dle \r\n");
    EXPECT_STREQ("mid dle \r\n", s.trimLeft().c_str());
    EXPECT_STREQ(" \t\x01 mid dle", s.trimRight().c_str());
    EXPECT_STREQ("", CountedString(" \t ").trimLeft().c_str());
    EXPECT_STREQ("", CountedString(" \t ").trimRight().c_str());
    // Bytes of 128 and above are text, not blanks.
    EXPECT_STREQ("\x81\x40", CountedString("\x81\x40 ").trimRight().c_str());
}

TEST(CountedString, CodePageIs932) {
    ASSERT_EQ(932u, GetACP());
    ASSERT_TRUE(IsDBCSLeadByte(0x95));
}

TEST(CountedString, EndsWithStepsOverDoubleByteCharacters) {
    struct Case {
        const char* text;
        const char* suffix;
        bool expected;
    } cases[] = {
        {"C:\\videos\\", "\\", true},
        {"C:\\videos", "\\", false},
        {"C:\\\x95\x5c", "\\", false},        // folder ending in the character 表
        {"C:\\\x95\x5c\\", "\\", true},
        {"C:\\\x95\x5c", "\x95\x5c", true},
        {"abc", "", true},
        {"", "", true},
        {"", "\\", false},
        {"bc", "abc", false},
        {"abc", "abc", true},
        {"file.AVI", ".avi", false},          // case sensitive
        {"file.avi", ".avi", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, CountedString(c.text).endsWith(c.suffix))
            << "'" << c.text << "' ends with '" << c.suffix << "'";
    }
}

TEST(CountedString, FindStepsOverDoubleByteCharacters) {
    struct Case {
        const char* text;
        const char* needle;
        int from;
        int expected;
    } cases[] = {
        {"a/b/c", "/", 0, 1},
        {"a/b/c", "/", 2, 3},
        {"a/b/c", "/", -5, 1},
        {"a/b/c", "/", 5, -1},
        {"a/b/c", "/", 4, -1},
        {"a/b/c", "", 0, -1},
        {"", "a", 0, -1},
        {"abc", "abcd", 0, -1},
        {"abab", "ab", 1, 2},
        {"C:\\\x95\x5cx\\y", "\\", 3, 6},    // the trail byte 5C of 表 is no backslash
        {"\x95\x5c\\", "\\", 0, 2},
        {"x\x95\x5c", "\x95\x5c", 0, 1},
        {"ABC", "b", 0, -1},                  // case sensitive
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, CountedString(c.text).find(c.needle, c.from))
            << "'" << c.needle << "' in '" << c.text << "' from " << c.from;
    }
}

TEST(CountedString, CompareAndEquals) {
    CountedString s("Movie");
    EXPECT_EQ(0, s.compare("Movie"));
    EXPECT_TRUE(s.equals("Movie"));
    EXPECT_FALSE(s.equals("movie"));
    EXPECT_LT(s.compare("Movies"), 0);
    EXPECT_GT(s.compare(""), 0);
}

TEST(CountedString, NullTextThrows87) {
    CountedString s("keep");
    struct Case {
        const char* what;
        void (*call)(CountedString&);
    } cases[] = {
        {"compare", [](CountedString& t) { t.compare(nullptr); }},
        {"equals", [](CountedString& t) { t.equals(nullptr); }},
        {"endsWith", [](CountedString& t) { t.endsWith(nullptr); }},
        {"find", [](CountedString& t) { t.find(nullptr); }},
        {"assign", [](CountedString& t) { t.assign(nullptr); }},
        {"operator=", [](CountedString& t) { t = static_cast<const char*>(nullptr); }},
        {"append", [](CountedString& t) { t.append(nullptr); }},
        {"+=", [](CountedString& t) { t += nullptr; }},
        {"constructor", [](CountedString&) { CountedString n(static_cast<const char*>(nullptr)); }},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), thrownCode([&] { c.call(s); }))
            << c.what;
        EXPECT_STREQ("keep", s.c_str()) << c.what;
    }
}

TEST(CountedString, BadIndexAndSizeThrow87) {
    CountedString s("abc");
    EXPECT_EQ(0u, thrownCode([&] { *s.at(2) = 'z'; }));
    EXPECT_EQ(87u, thrownCode([&] { s.at(3); }));   // the terminator
    EXPECT_EQ(87u, thrownCode([&] { s.at(-1); }));
    EXPECT_EQ(87u, thrownCode([&] { s.resize(0); }));
    EXPECT_EQ(87u, thrownCode([&] { s.getBuffer(-1); }));
    EXPECT_STREQ("abz", s.c_str());
    EXPECT_EQ(4, s.bufferSize());
    CountedString empty;
    EXPECT_EQ(87u, thrownCode([&] { empty.at(0); }));
}

TEST(CountedString, LoadsResourceText) {
    CountedString s("before");
    s.loadString(GetModuleHandleA(nullptr), IDS_PRODUCT_NAME);
    EXPECT_STREQ("cinevane", s.c_str());
    CountedString missing("kept");
    DWORD code = thrownCode([&] { missing.loadString(GetModuleHandleA(nullptr), 4242); });
    EXPECT_NE(0u, code);
    EXPECT_STREQ("kept", missing.c_str());
}

TEST(CountedString, OutOfMemoryThrowsStaticObjectAndKeepsContent) {
    struct Case {
        const char* what;
        int failing;  // which allocation of the call fails
        void (*call)(CountedString&);
    } cases[] = {
        {"grow own buffer", 1, [](CountedString& s) { s.append("more"); }},
        {"unshare: count cell", 1, [](CountedString& s) { CountedString c(s); s.append("x"); }},
        {"unshare: buffer", 2, [](CountedString& s) { CountedString c(s); *s.at(0) = 'Q'; }},
        {"assign", 1, [](CountedString& s) { s.assign("something longer"); }},
        {"getBuffer", 1, [](CountedString& s) { s.getBuffer(500); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CountedString s("content");
        const char* before = s.c_str();
        allocationFaults::failNth(c.failing);
        EXPECT_TRUE(throwsStaticOutOfMemory([&] { c.call(s); }));
        allocationFaults::reset();
        EXPECT_STREQ("content", s.c_str());
        EXPECT_EQ(before, s.c_str());
        EXPECT_EQ(8, s.bufferSize());
        EXPECT_EQ(1, s.shareCount());
    }
    // A new string whose first allocation fails throws the same object.
    allocationFaults::failNth(1);
    EXPECT_TRUE(throwsStaticOutOfMemory([] { CountedString fresh; }));
    allocationFaults::failNth(2);
    EXPECT_TRUE(throwsStaticOutOfMemory([] { CountedString fresh("text"); }));
    allocationFaults::reset();
    EXPECT_EQ(static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY), outOfMemoryException()->code);
}
