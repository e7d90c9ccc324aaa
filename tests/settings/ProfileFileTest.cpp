#include <gtest/gtest.h>

#include <windows.h>

#include "IniFiles.h"
#include "settings/IntText.h"
#include "settings/ProfileFile.h"

using namespace inifiles;

static std::string fileWith(const std::string& tag, const std::string& bytes) {
    std::string path = beside(freshName(tag));
    writeBytes(path, bytes);
    return path;
}

TEST(ProfileFile, ReadsIntegersClampedAndAsFlags) {
    std::string path = fileWith("profile-ints", "[N]\r\nFive=5\r\nMinus=-7\r\nWord=abc\r\nBig=42\r\nLead=12x\r\n");
    ProfileFile file;
    file.setPath(path.c_str());
    static const struct {
        const char* key;
        int defaultValue, minimum, maximum, clamped, plain, flag;
    } cases[] = {
        {"Five", 0, 0, 10, 5, 5, 1},
        {"Minus", 0, 0, 10, 0, -7, 1},
        {"Big", 0, 0, 10, 10, 42, 1},
        {"Word", 3, 1, 10, 1, 0, 0},
        {"Lead", 0, 0, 100, 12, 12, 1},
        {"Missing", 9, 0, 10, 9, 9, 1},
        {"Missing", 0, 0, 10, 0, 0, 0},
        {"Five", 0, 10, 0, 0, 5, 1},  // minimum above maximum: the maximum wins
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.key << " min " << c.minimum << " max " << c.maximum);
        EXPECT_EQ(c.clamped, file.readIntClamped("N", c.key, c.defaultValue, c.minimum, c.maximum));
        EXPECT_EQ(c.plain, file.readInt("N", c.key, c.defaultValue));
        EXPECT_EQ(c.flag, file.readBool("N", c.key, c.defaultValue));
    }
}

TEST(ProfileFile, WritesCreateTheFileSectionAndKey) {
    std::string path = beside(freshName("profile-write"));
    ProfileFile file;
    file.setPath(path.c_str());
    SetLastError(0xDEADBEEF);
    EXPECT_TRUE(file.writeInt("A", "Number", -2147483647 - 1));
    EXPECT_TRUE(file.writeString("A", "Text", "x y"));
    EXPECT_TRUE(file.writeInt("B", "One", 1));
    EXPECT_EQ("[A]\r\nNumber=-2147483648\r\nText=x y\r\n", sectionText(readBytes(path), "A"));
    EXPECT_EQ(-2147483647 - 1, file.readInt("a", "NUMBER", 0));
    EXPECT_STREQ("x y", file.readString("a", "text", "d").c_str());

    EXPECT_TRUE(file.deleteSection("a"));
    std::string text = readBytes(path);
    EXPECT_EQ(std::string::npos, text.find("[A]")) << text;
    EXPECT_EQ("[B]\r\nOne=1\r\n", sectionText(text, "B"));
    EXPECT_STREQ("d", file.readString("A", "Text", "d").c_str());
}

TEST(ProfileFile, ReadStringCutsTo259BytesAndGivesTheDefaultWhenMissing) {
    std::string path = fileWith("profile-string", "[S]\r\nLong=" + std::string(400, 'q') + "\r\nEmpty=\r\n");
    ProfileFile file;
    file.setPath(path.c_str());
    CountedString cut = file.readString("S", "Long", "");
    EXPECT_EQ(259, cut.length());
    EXPECT_STREQ("fallback", file.readString("S", "Missing", "fallback").c_str());
    EXPECT_STREQ("fallback", file.readString("Nowhere", "Long", "fallback").c_str());
    EXPECT_STREQ("", file.readString("S", "Empty", "fallback").c_str());
}

// The non-empty names of a key list.
static std::vector<std::string> namesIn(const CountedString& list) {
    std::vector<std::string> names;
    const char* p = list.c_str();
    const char* end = p + list.bufferSize();
    for (; p < end; p += lstrlenA(p) + 1) {
        if (*p) names.push_back(p);
    }
    return names;
}

TEST(ProfileFile, ListsEveryKeyNameHoweverLongTheList) {
    std::string text = "[Keys]\r\n";
    for (int i = 0; i < 700; ++i) text += "Key" + std::to_string(i) + "=v\r\n";
    text += "[Other]\r\nAlone=1\r\n";
    ProfileFile file;
    file.setPath(fileWith("profile-keys", text).c_str());

    std::vector<std::string> names = namesIn(file.readKeyNames("keys"));
    ASSERT_EQ(700u, names.size());
    EXPECT_EQ("Key0", names.front());
    EXPECT_EQ("Key699", names.back());
    EXPECT_EQ(std::vector<std::string>({"Alone"}), namesIn(file.readKeyNames("Other")));
    EXPECT_TRUE(namesIn(file.readKeyNames("Missing")).empty());
}

TEST(ProfileFile, TheKeyListGoesOnPastAKeyWithoutAName) {
    ProfileFile file;
    file.setPath(fileWith("profile-nameless", "[S]\r\nFirst=1\r\n=nameless\r\nLast=2\r\n").c_str());
    EXPECT_EQ(std::vector<std::string>({"First", "Last"}), namesIn(file.readKeyNames("S")));
}

TEST(ProfileFile, AMissingFileReadsAsDefaults) {
    ProfileFile file;
    file.setPath(beside(freshName("profile-missing")).c_str());
    EXPECT_EQ(4, file.readInt("S", "K", 4));
    EXPECT_TRUE(namesIn(file.readKeyNames("S")).empty());
}

TEST(IntText, RendersSignedDecimal) {
    static const struct { int value; const char* text; } cases[] = {
        {0, "0"}, {7, "7"}, {-1, "-1"}, {2147483647, "2147483647"}, {-2147483647 - 1, "-2147483648"},
    };
    for (const auto& c : cases) EXPECT_STREQ(c.text, IntText(c.value).toText().c_str());
}
