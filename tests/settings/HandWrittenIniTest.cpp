#include <gtest/gtest.h>

#include <windows.h>

#include "IniFiles.h"
#include "settings/Settings.h"
#include "support/IniFile.h"

using namespace inifiles;
using Texts = std::vector<std::string>;

TEST(HandWrittenIni, OddButLegalContentLoadsAsTheProfileFunctionsReadIt) {
    ASSERT_EQ(932u, GetACP()) << "the double-byte cases need code page 932";
    std::string longValue = "C:\\" + std::string(300, 'v') + ".avi";
    // Code page 932: "\x95\x5C" (its second byte a backslash) and "\x83\x72\x83\x66\x83\x49".
    std::string dbcsFolder = "C:\\\x95\x5C\\\x83\x72\x83\x66\x83\x49\\";
    std::string text =
        "; written by hand\r\n"
        "\r\n"
        "[setting]\r\n"
        "  random  =  1  \r\n"
        "SOUND=0\r\n"
        "\r\n"
        "\r\n"
        "[PLAYLIST]\r\n"
        ";Path1=C:\\commented.avi\r\n"
        "count = 5\r\n"
        "path0 =   C:\\spaced out\\a.avi   \r\n"
        "PATH1=" + longValue + "\r\n"
        "Path2\r\n"
        "Path3=\"C:\\quoted name.avi\"\r\n"
        "Path4=" + dbcsFolder + "\r\n"
        "\r\n"
        "[Resume]\r\n"
        "name=" + dbcsFolder + "\x95\x5C.avi\r\n"
        "TIME = 3 , 7\r\n";
    std::unique_ptr<Settings> settings = loadedFrom("handwritten", text);
    std::string path = settings->iniPath.c_str();

    EXPECT_EQ(1, settings->random);
    EXPECT_EQ(0, settings->resume);
    EXPECT_EQ(0, settings->sound);
    Texts entries = entriesOf(*settings);
    ASSERT_EQ(4u, entries.size());
    EXPECT_EQ("C:\\spaced out\\a.avi", entries[0]);
    EXPECT_EQ(longValue.substr(0, 259), entries[1]);
    EXPECT_EQ(inifile::value(path, "PlayList", "Path3"), entries[2]);
    EXPECT_EQ(dbcsFolder, entries[3]);
    EXPECT_EQ(dbcsFolder + "\x95\x5C.avi", settings->resumeName.c_str());
    EXPECT_EQ(3, settings->resumeMinutes);
    EXPECT_EQ(7, settings->resumeSeconds);
}

TEST(HandWrittenIni, ALongDoubleByteValueIsCutAsTheProfileFunctionCutsIt) {
    std::string value;
    for (int i = 0; i < 150; ++i) value += "\x95\x5C";
    std::unique_ptr<Settings> settings = loadedFrom(
        "long-dbcs", "[PlayList]\r\nCount=1\r\nPath0=" + value + "\r\n");
    ASSERT_EQ(1, settings->entries.count());
    std::string entry = settings->entries.at(0).c_str();
    EXPECT_EQ(inifile::value(settings->iniPath.c_str(), "PlayList", "Path0"), entry);
    EXPECT_LE(entry.size(), 259u);
    EXPECT_GE(entry.size(), 258u);
    EXPECT_EQ(value.substr(0, entry.size()), entry);
}

TEST(HandWrittenIni, ManyKeysBeforeTheListAreSteppedOver) {
    // The key list is far longer than any first guess at its size.
    std::string text = "[PlayList]\r\n";
    for (int i = 0; i < 3000; ++i) text += "Other" + std::to_string(i) + "=x\r\n";
    text += "Count=4000\r\nPath3999=C:\\last.avi\r\nPath7=C:\\seventh.avi\r\n";
    std::unique_ptr<Settings> settings = loadedFrom("many-keys", text);
    EXPECT_EQ(Texts({"C:\\seventh.avi", "C:\\last.avi"}), entriesOf(*settings));
}
