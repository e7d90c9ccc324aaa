#include <gtest/gtest.h>

#include <windows.h>

#include "IniFiles.h"
#include "settings/Settings.h"
#include "support/TestErrors.h"
#include "support/TestRandom.h"

using namespace inifiles;
using Texts = std::vector<std::string>;

// Every write of both users: the dialog's save reports its failure, the
// show's writes throw nothing.
static void writeEverything(Settings& settings) {
    settings.random = 1;
    settings.resume = 1;
    settings.entries.add("C:\\a.avi");
    EXPECT_NE(0u, testerrors::thrownCode([&] { settings.save(); }));
    settings.saveResumePoint("C:\\a.avi", 1, 2);
    settings.resume = 0;
    settings.saveResumePoint("C:\\a.avi", 1, 2);
}

TEST(BadInput, BinaryJunkLoadsWithoutHarm) {
    for (unsigned seed = 1; seed <= 4; ++seed) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        std::unique_ptr<Settings> settings =
            loadedFrom("junk-" + std::to_string(seed), TestRandom(seed).bytes(8192));
        EXPECT_EQ(0, settings->random);
        EXPECT_EQ(1, settings->sound);
        EXPECT_EQ(0, settings->entries.count());
    }
}

TEST(BadInput, JunkAfterTheSettingsKeepsWhatIsReadable) {
    std::string text = "[Setting]\r\nRandom=1\r\n[PlayList]\r\nCount=2\r\nPath0=C:\\a.avi\r\n" +
                       TestRandom(7).bytes(4096);
    std::unique_ptr<Settings> settings = loadedFrom("junk-tail", text);
    EXPECT_EQ(1, settings->random);
    Texts entries = entriesOf(*settings);
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ("C:\\a.avi", entries[0]);
}

TEST(BadInput, ATruncatedFileGivesWhatItHolds) {
    std::unique_ptr<Settings> settings = loadedFrom(
        "truncated",
        "[Setting]\r\nRandom=1\r\nSound=0\r\n[PlayList]\r\nCount=3\r\nPath0=C:\\a.avi\r\nPath1=C:\\b");
    EXPECT_EQ(1, settings->random);
    EXPECT_EQ(0, settings->sound);
    EXPECT_EQ(Texts({"C:\\a.avi", "C:\\b"}), entriesOf(*settings));

    std::unique_ptr<Settings> cutHeader = loadedFrom("truncated-header", "[Setting]\r\nRandom=1\r\n[Play");
    EXPECT_EQ(1, cutHeader->random);
    EXPECT_EQ(0, cutHeader->entries.count());
}

TEST(BadInput, AFileOfSeveralMegabytesLoads) {
    std::string text = "[PlayList]\r\nCount=2147483647\r\nPath0=C:\\first.avi\r\n";
    for (int i = 0; i < 40000; ++i) text += "Junk" + std::to_string(i) + "=" + std::string(40, 'j') + "\r\n";
    text += "Path1=" + std::string(1024 * 1024, 'w') + "\r\nPath2=C:\\third.avi\r\n";
    std::string name = freshName("megabytes");
    ASSERT_TRUE(writeBytes(beside(name), text));
    std::unique_ptr<Settings> settings = boundTo(name);
    settings->load();
    EXPECT_EQ(Texts({"C:\\first.avi", std::string(259, 'w'), "C:\\third.avi"}), entriesOf(*settings));
}

TEST(BadInput, AFolderInPlaceOfTheFileGivesDefaultsAndTakesNoWrites) {
    std::string name = freshName("folder");
    ASSERT_TRUE(CreateDirectoryA(beside(name).c_str(), nullptr));
    std::unique_ptr<Settings> settings = boundTo(name);
    settings->load();
    EXPECT_TRUE(hasDefaults(*settings));
    writeEverything(*settings);
    EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY),
              GetFileAttributesA(beside(name).c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    std::unique_ptr<Settings> again = boundTo(name);
    again->load();
    EXPECT_TRUE(hasDefaults(*again));
    RemoveDirectoryA(beside(name).c_str());
}

TEST(BadInput, APathThroughAFileGivesDefaultsAndChangesNothing) {
    std::string fileName = freshName("plain");
    std::string content = "[Setting]\r\nRandom=1\r\n";
    ASSERT_TRUE(writeBytes(beside(fileName), content));
    std::string name = fileName + "\\inner.ini";
    std::unique_ptr<Settings> settings = boundTo(name);
    settings->load();
    EXPECT_TRUE(hasDefaults(*settings));
    writeEverything(*settings);
    EXPECT_EQ(content, readBytes(beside(fileName)));
    EXPECT_FALSE(exists(beside(name)));
}

TEST(BadInput, AMissingFolderIsNotCreated) {
    std::string name = freshName("no-such-folder") + "\\settings.ini";
    std::unique_ptr<Settings> settings = boundTo(name);
    settings->load();
    EXPECT_TRUE(hasDefaults(*settings));
    writeEverything(*settings);
    EXPECT_FALSE(exists(beside(name)));
}
