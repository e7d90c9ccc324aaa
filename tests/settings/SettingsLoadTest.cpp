#include <gtest/gtest.h>

#include <windows.h>

#include "IniFiles.h"
#include "base/Exception.h"
#include "settings/Settings.h"
#include "support/IniFile.h"
#include "support/TestPaths.h"

using namespace inifiles;
using Texts = std::vector<std::string>;

TEST(SettingsBind, PlacesTheFileBesideTheProgramWithTheDefaults) {
    std::string name = freshName("bind");
    Settings settings;
    settings.resumeName = "kept";
    SetLastError(0xDEADBEEF);
    settings.bind(name.c_str());
    EXPECT_STREQ(beside(name).c_str(), settings.iniPath.c_str());
    ASSERT_EQ(3, settings.sectionNames.count());
    EXPECT_STREQ("Setting", settings.sectionNames.at(0).c_str());
    EXPECT_STREQ("PlayList", settings.sectionNames.at(1).c_str());
    EXPECT_STREQ("Resume", settings.sectionNames.at(2).c_str());
    EXPECT_TRUE(hasDefaults(settings, "kept"));
    EXPECT_FALSE(exists(settings.iniPath.c_str())) << "bind must not create the file";
}

TEST(SettingsBind, ForgetsWhatAnEarlierLoadRead) {
    std::unique_ptr<Settings> settings = loadedFrom(
        "rebind", "[Setting]\r\nRandom=1\r\nSound=0\r\nKeepAspect=1\r\n[PlayList]\r\nCount=1\r\nPath0=C:\\a.avi\r\n");
    ASSERT_EQ(1, settings->entries.count());
    settings->bind(freshName("rebind-other").c_str());
    EXPECT_TRUE(hasDefaults(*settings));
}

TEST(SettingsBind, RefusesANameThatWouldNotFitInAPath) {
    std::string name = freshName("long");
    Settings settings;
    settings.bind(name.c_str());
    CountedString before = settings.iniPath;
    std::string tooLong(MAX_PATH, 'n');
    try {
        settings.bind(tooLong.c_str());
        FAIL() << "nothing thrown";
    } catch (Exception* e) {
        EXPECT_EQ(static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE), e->code);
        dispose(e);
    }
    EXPECT_STREQ(before.c_str(), settings.iniPath.c_str());
}

TEST(SettingsLoad, NoFileGivesTheDefaults) {
    std::string name = freshName("nofile");
    std::unique_ptr<Settings> settings = boundTo(name);
    settings->load();
    EXPECT_TRUE(hasDefaults(*settings));
    EXPECT_FALSE(exists(beside(name))) << "load must not create the file";
}

TEST(SettingsLoad, PlayListKeysAreReadBelowCountOnly) {
    static const struct {
        const char* text;
        Texts expected;
    } cases[] = {
        {"Count=3\r\nPath0=C:\\a.avi\r\nPath2=C:\\c.avi\r\n", {"C:\\a.avi", "C:\\c.avi"}},
        {"Count=2\r\nPath0=C:\\a.avi\r\nPath1=C:\\b\\\r\nPath2=C:\\c.avi\r\nPath3=C:\\d.avi\r\n"
         "Path4=C:\\e.avi\r\n",
         {"C:\\a.avi", "C:\\b\\"}},
        {"Count=0\r\nPath0=C:\\a.avi\r\nPath1=C:\\b.avi\r\n", {}},
        {"Count=-1\r\nPath0=C:\\a.avi\r\nPath1=C:\\b.avi\r\n", {}},
        {"Count=-2147483648\r\nPath0=C:\\a.avi\r\n", {}},
        {"Path0=C:\\a.avi\r\n", {}},
        {"Count=3\r\nPath0=\r\nPath1=C:\\b.avi\r\nPath2=   \r\n", {"C:\\b.avi"}},
        // The key order in the file means nothing; the index order does.
        {"Count=12\r\nPath10=C:\\k.avi\r\nPath2=C:\\c.avi\r\nPath0=C:\\a.avi\r\n",
         {"C:\\a.avi", "C:\\c.avi", "C:\\k.avi"}},
        // Key names match in any letter case; the first of two equal keys wins.
        {"Count=3\r\nPATH1=C:\\b.avi\r\npath0=C:\\a.avi\r\nPath1=C:\\other.avi\r\n",
         {"C:\\a.avi", "C:\\b.avi"}},
        // Leading zeros and signs name other keys.
        {"Count=3\r\nPath01=C:\\x.avi\r\nPath+1=C:\\y.avi\r\nPath-0=C:\\z.avi\r\nPaths1=C:\\w.avi\r\n"
         "Path2=C:\\c.avi\r\n",
         {"C:\\c.avi"}},
    };
    int row = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << row << ": " << c.text);
        std::string tag = "count-" + std::to_string(row++);
        std::unique_ptr<Settings> settings = loadedFrom(tag, std::string("[PlayList]\r\n") + c.text);
        EXPECT_EQ(c.expected, entriesOf(*settings));
    }
}

TEST(SettingsLoad, ReadsWhatAKeyByKeyLoopReads) {
    static const char* const cases[] = {
        "[PlayList]\r\nCount=4\r\nPath0=a\r\n[Other]\r\nPath1=x\r\n[PlayList]\r\nPath2=b\r\n",
        "[PlayList]\r\nCount=3\r\n  Path1  =  b  \r\n\tPath2\t=\tc\r\nPath 0=x\r\n",
        "[PlayList]\r\nCount=3\r\n;Path0=x\r\nPath1\r\n=y\r\nPath2=\"c\"\r\n",
        "[ PlayList ]\r\nCount=2\r\nPath0=a\r\n[playlist]\r\nPath1=b\r\n",
        "[PlayList]\r\nCount=20\r\nPath19=t\r\nPath9=j\r\nPath1=b\r\nPath1=again\r\n",
        "[PlayList]\r\nCount=0x3\r\nPath0=a\r\nPath2=c\r\n",
    };
    int row = 0;
    for (const char* text : cases) {
        SCOPED_TRACE(testing::Message() << "row " << row << ": " << text);
        std::unique_ptr<Settings> settings = loadedFrom("one-by-one-" + std::to_string(row++), text);
        Texts expected = inifile::entries(settings->iniPath.c_str());
        EXPECT_EQ(expected, entriesOf(*settings));
    }
}

TEST(SettingsLoad, FlagsReadAnyNonZeroValueAsOne) {
    static const struct {
        const char* text;
        int random, resume, sound, keepAspect;
    } cases[] = {
        {"", 0, 0, 1, 0},
        {"Random=2\r\n", 1, 0, 1, 0},
        {"Sound=0\r\n", 0, 0, 0, 0},
        {"Random=1\r\nResume=1\r\nSound=1\r\nKeepAspect=1\r\n", 1, 1, 1, 1},
        {"Random=-1\r\nResume=7\r\nSound=x\r\nKeepAspect=3\r\n", 1, 1, 0, 1},
        {"Random=0\r\nResume=0\r\nSound=\r\nKeepAspect=\r\n", 0, 0, 1, 0},  // an empty value reads as missing
        {"KeepAspect=0\r\n", 0, 0, 1, 0},
    };
    int row = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << row << ": " << c.text);
        std::string tag = "flags-" + std::to_string(row++);
        std::unique_ptr<Settings> settings = loadedFrom(tag, std::string("[Setting]\r\n") + c.text);
        EXPECT_EQ(c.random, settings->random);
        EXPECT_EQ(c.resume, settings->resume);
        EXPECT_EQ(c.sound, settings->sound);
        EXPECT_EQ(c.keepAspect, settings->keepAspect);
    }
}

TEST(SettingsLoad, TimeIsTwoNumbersSplitAtTheComma) {
    static const struct {
        const char* time;
        int minutes, seconds;
    } cases[] = {
        {"12,5", 12, 5},   {"12", 0, 0},     {"1,2,3", 0, 0}, {"12,", 12, 0},
        {",5", 0, 5},      {"x,5", 0, 5},    {"-1,5", -1, 5}, {" 75 , 3 ", 75, 3},
        {"", 0, 0},        {",", 0, 0},      {"7-,5", 0, 5},  {"+7,5", 0, 5},
    };
    int row = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "Time=" << c.time);
        std::string tag = "time-" + std::to_string(row++);
        std::unique_ptr<Settings> settings = loadedFrom(
            tag, std::string("[Resume]\r\nName=C:\\v\\last.avi\r\nTime=") + c.time + "\r\n");
        EXPECT_EQ(c.minutes, settings->resumeMinutes);
        EXPECT_EQ(c.seconds, settings->resumeSeconds);
        EXPECT_STREQ("C:\\v\\last.avi", settings->resumeName.c_str());
    }
}

TEST(SettingsLoad, HugeCountReadsOnlyTheKeysThatExist) {
    std::string text =
        "[PlayList]\r\nCount=2147483647\r\nPath0=C:\\a.avi\r\nPath2147483646=C:\\last.avi\r\n"
        "Path2147483647=C:\\beyond.avi\r\nPath99999999999=C:\\huge.avi\r\n";
    std::string name = freshName("hugecount");
    ASSERT_TRUE(writeBytes(beside(name), text));
    std::unique_ptr<Settings> settings = boundTo(name);
    settings->load();
    EXPECT_EQ(Texts({"C:\\a.avi", "C:\\last.avi"}), entriesOf(*settings));
}

TEST(SettingsLoad, AppendsToTheEntriesAlreadyHeld) {
    std::unique_ptr<Settings> settings =
        loadedFrom("append", "[PlayList]\r\nCount=1\r\nPath0=C:\\a.avi\r\n");
    settings->load();
    EXPECT_EQ(Texts({"C:\\a.avi", "C:\\a.avi"}), entriesOf(*settings));
}
