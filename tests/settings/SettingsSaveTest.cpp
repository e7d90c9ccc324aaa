#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <utility>

#include "IniFiles.h"
#include "settings/ProfileFile.h"
#include "settings/ReplacementFile.h"
#include "settings/Settings.h"
#include "support/TestErrors.h"

using namespace inifiles;
using Texts = std::vector<std::string>;

static void setEntries(Settings& settings, const Texts& texts) {
    settings.entries.clear();
    for (const std::string& text : texts) settings.entries.add(text.c_str());
}

static std::unique_ptr<Settings> reloaded(const std::string& name) {
    std::unique_ptr<Settings> settings = boundTo(name);
    settings->load();
    return settings;
}

TEST(SettingsSave, WritesTheOptionsAndTheListAsText) {
    std::string name = freshName("save-text");
    std::unique_ptr<Settings> settings = boundTo(name);
    settings->load();
    settings->random = 1;
    settings->sound = 0;
    settings->keepAspect = 1;
    setEntries(*settings, {"C:\\v\\a.avi", "D:\\clips\\"});
    settings->save();
    std::string text = readBytes(beside(name));
    EXPECT_EQ("[Setting]\r\nRandom=1\r\nResume=0\r\nSound=0\r\nKeepAspect=1\r\n", sectionText(text, "Setting"));
    EXPECT_EQ("[PlayList]\r\nCount=2\r\nPath0=C:\\v\\a.avi\r\nPath1=D:\\clips\\\r\n",
              sectionText(text, "PlayList"));
    EXPECT_EQ(std::string::npos, text.find("[Resume]"));

    std::unique_ptr<Settings> back = reloaded(name);
    EXPECT_EQ(1, back->random);
    EXPECT_EQ(0, back->resume);
    EXPECT_EQ(0, back->sound);
    EXPECT_EQ(1, back->keepAspect);
    EXPECT_EQ(Texts({"C:\\v\\a.avi", "D:\\clips\\"}), entriesOf(*back));
}

TEST(SettingsSave, AShorterListLeavesNoOldKeyBehind) {
    std::string name = freshName("save-shorter");
    std::unique_ptr<Settings> settings = boundTo(name);
    settings->load();
    setEntries(*settings, {"C:\\1.avi", "C:\\2.avi", "C:\\3.avi", "C:\\4.avi", "C:\\5.avi"});
    settings->save();
    setEntries(*settings, {"C:\\new1.avi", "C:\\new2.avi"});
    settings->save();
    std::string text = readBytes(beside(name));
    EXPECT_EQ("[PlayList]\r\nCount=2\r\nPath0=C:\\new1.avi\r\nPath1=C:\\new2.avi\r\n",
              sectionText(text, "PlayList"));
    EXPECT_EQ(std::string::npos, text.find("Path2")) << text;
    EXPECT_EQ(Texts({"C:\\new1.avi", "C:\\new2.avi"}), entriesOf(*reloaded(name)));
}

TEST(SettingsSave, NoEntriesLeaveCountZeroAlone) {
    std::string name = freshName("save-empty");
    std::unique_ptr<Settings> settings = boundTo(name);
    settings->load();
    setEntries(*settings, {"C:\\1.avi", "C:\\2.avi"});
    settings->save();
    settings->entries.clear();
    settings->save();
    EXPECT_EQ("[PlayList]\r\nCount=0\r\n", sectionText(readBytes(beside(name)), "PlayList"));
    EXPECT_EQ(0, reloaded(name)->entries.count());
}

TEST(SettingsSave, KeepsDoubleByteAndLongPathsWhole) {
    // "\x95\x5C" is one character whose second byte is a backslash.
    std::string folder = "C:\\\x95\x5C\\";
    std::string longPath = "C:\\" + std::string(250, 'L') + ".avi";
    std::string name = freshName("save-dbcs");
    std::unique_ptr<Settings> settings = boundTo(name);
    settings->load();
    setEntries(*settings, {folder, longPath});
    settings->save();
    EXPECT_NE(std::string::npos, readBytes(beside(name)).find("Path0=" + folder + "\r\n"));
    EXPECT_EQ(Texts({folder, longPath}), entriesOf(*reloaded(name)));
}

TEST(SettingsResume, OffRemovesTheSectionAndOnWritesTheTime) {
    std::string name = freshName("resume");
    ASSERT_TRUE(writeBytes(beside(name), "[Resume]\r\nName=C:\\old.avi\r\nTime=1,2\r\nOther=x\r\n"));
    std::unique_ptr<Settings> settings = boundTo(name);
    settings->load();
    settings->resume = 1;
    settings->saveResumePoint("C:\\v\\film.avi", 75, 3);
    std::string text = readBytes(beside(name));
    EXPECT_EQ("[Resume]\r\nName=C:\\v\\film.avi\r\nTime=75,3\r\nOther=x\r\n", sectionText(text, "Resume"));
    std::unique_ptr<Settings> back = reloaded(name);
    EXPECT_STREQ("C:\\v\\film.avi", back->resumeName.c_str());
    EXPECT_EQ(75, back->resumeMinutes);
    EXPECT_EQ(3, back->resumeSeconds);

    settings->saveResumePoint("C:\\v\\film.avi", -1, 0);
    EXPECT_NE(std::string::npos, readBytes(beside(name)).find("Time=-1,0\r\n"));

    settings->resume = 0;
    settings->saveResumePoint("C:\\v\\film.avi", 75, 3);
    text = readBytes(beside(name));
    EXPECT_EQ(std::string::npos, text.find("[Resume]")) << text;
    EXPECT_EQ(std::string::npos, text.find("Name=")) << text;
    back = reloaded(name);
    EXPECT_STREQ("", back->resumeName.c_str());
    EXPECT_EQ(0, back->resumeMinutes);
}

TEST(SettingsResume, TheDialogsSaveBetweenTwoShowsKeepsIt) {
    std::string name = freshName("resume-dialog");
    std::unique_ptr<Settings> dialog = boundTo(name);
    dialog->load();
    dialog->resume = 1;
    setEntries(*dialog, {"C:\\a.avi"});
    dialog->save();

    std::unique_ptr<Settings> firstShow = reloaded(name);
    ASSERT_EQ(1, firstShow->resume);
    firstShow->saveResumePoint("C:\\a.avi", 12, 5);

    std::unique_ptr<Settings> nextDialog = reloaded(name);
    setEntries(*nextDialog, {"C:\\a.avi", "C:\\b.avi"});
    nextDialog->save();

    std::unique_ptr<Settings> secondShow = reloaded(name);
    EXPECT_STREQ("C:\\a.avi", secondShow->resumeName.c_str());
    EXPECT_EQ(12, secondShow->resumeMinutes);
    EXPECT_EQ(5, secondShow->resumeSeconds);
    EXPECT_EQ(Texts({"C:\\a.avi", "C:\\b.avi"}), entriesOf(*secondShow));
}

// The dialog and the show run at once in two processes, each with its own
// Settings loaded at its start; each writes only its own sections.
TEST(SettingsResume, DialogAndShowWritingInTurnKeepEachOthersData) {
    std::string name = freshName("two-writers");
    std::unique_ptr<Settings> dialog = boundTo(name);
    std::unique_ptr<Settings> show = boundTo(name);
    dialog->load();
    show->load();
    show->resume = 1;
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE(testing::Message() << "round " << round);
        std::string entry = "C:\\round" + std::to_string(round) + ".avi";
        dialog->resume = 1;
        dialog->random = round % 2;
        setEntries(*dialog, {entry, "D:\\folder\\"});
        dialog->save();
        show->saveResumePoint(entry.c_str(), round, 30 + round);

        std::unique_ptr<Settings> seen = reloaded(name);
        EXPECT_EQ(round % 2, seen->random);
        EXPECT_EQ(1, seen->resume);
        EXPECT_EQ(Texts({entry, "D:\\folder\\"}), entriesOf(*seen));
        EXPECT_STREQ(entry.c_str(), seen->resumeName.c_str());
        EXPECT_EQ(round, seen->resumeMinutes);
        EXPECT_EQ(30 + round, seen->resumeSeconds);
    }
}

// Writes that fail with a full disk after the first `allowed`; before the
// first of them, `meanwhile` runs (a show storing its resume point, say).
struct FailingStore : ProfileFile {
    explicit FailingStore(int allowed) : allowed(allowed) {}
    BOOL writeInt(const CountedString& s, const CountedString& k, int v) override {
        return next() && ProfileFile::writeInt(s, k, v);
    }
    BOOL writeString(const CountedString& s, const CountedString& k, const CountedString& t) override {
        return next() && ProfileFile::writeString(s, k, t);
    }
    BOOL deleteSection(const CountedString& s) override { return next() && ProfileFile::deleteSection(s); }
    bool next() {
        if (meanwhile) std::exchange(meanwhile, nullptr)();
        SetLastError(ERROR_DISK_FULL);
        return allowed-- > 0;
    }
    int allowed;
    std::function<void()> meanwhile;
};

static const std::string before =
    "[Setting]\r\nRandom=0\r\nOther=x\r\n[Resume]\r\nName=C:\\a.avi\r\nTime=1,2\r\n[PlayList]\r\nCount=1\r\nPath0=C:\\o.avi\r\n";

TEST(SettingsSave, AFailedSaveLeavesTheFileAsItWas) {
    enum Fault { readOnly, folder, heldOpen, keys };
    const struct {
        int line;
        Fault fault;
        int allowed;  // writes that succeed: 4 options, removing the old list, Count, ten paths
        DWORD code;
    } cases[] = {
        {__LINE__, readOnly, 99, ERROR_ACCESS_DENIED}, {__LINE__, folder, 99, ERROR_ACCESS_DENIED},
        {__LINE__, heldOpen, 99, ERROR_SHARING_VIOLATION}, {__LINE__, keys, 0, ERROR_DISK_FULL},
        {__LINE__, keys, 4, ERROR_DISK_FULL}, {__LINE__, keys, 9, ERROR_DISK_FULL}, {__LINE__, keys, 15, ERROR_DISK_FULL},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case at line " << c.line);
        const std::string name = freshName("fault");
        const std::string path = beside(name);
        ASSERT_TRUE(c.fault == folder ? CreateDirectoryA(path.c_str(), nullptr) : writeBytes(path, before));
        if (c.fault == readOnly) SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
        HANDLE holder = c.fault == heldOpen ? CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)
                                            : nullptr;
        std::unique_ptr<Settings> settings = boundTo(name);
        for (int i = 0; i < 10; ++i) settings->entries.add(("C:\\" + std::to_string(i) + ".avi").c_str());
        FailingStore store(c.allowed);
        SetLastError(0xDEADBEEF);
        EXPECT_EQ(c.code, testerrors::thrownCode([&] { settings->save(store); }));
        if (holder) CloseHandle(holder);
        EXPECT_EQ(c.fault == folder, (GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY) != 0);
        EXPECT_EQ(c.fault == folder ? "" : before, readBytes(path));
        WIN32_FIND_DATAA copy;
        EXPECT_EQ(INVALID_HANDLE_VALUE, FindFirstFileA(beside("cin*.tmp").c_str(), &copy)) << copy.cFileName;
    }
}

TEST(SettingsSave, AResumePointStoredDuringTheSaveIsKept) {
    const std::string name = freshName("during");
    ASSERT_TRUE(writeBytes(beside(name), before));
    std::unique_ptr<Settings> dialog = boundTo(name), show = boundTo(name);
    show->resume = 1;
    setEntries(*dialog, {"C:\\d.avi"});
    FailingStore store(99);
    store.meanwhile = [&] { show->saveResumePoint("C:\\played.avi", 4, 5); };
    dialog->save(store);
    std::unique_ptr<Settings> back = reloaded(name);
    EXPECT_STREQ("C:\\played.avi", back->resumeName.c_str());
    EXPECT_EQ(Texts({"C:\\d.avi"}), entriesOf(*back));
}

// As on a system that cannot replace a file in one call.
TEST(SettingsSave, ReplacingByRenamesPutsTheNewFileOrKeepsTheOld) {
    const std::string target = beside(freshName("renamed")), fresh = beside(freshName("renamed-new"));
    for (const char* bytes : {"new", "newer"}) {  // nothing to replace, then the file before
        ASSERT_TRUE(writeBytes(fresh, bytes));
        ReplacementFile::moveOverByRenaming(fresh.c_str(), target.c_str());
        EXPECT_EQ(bytes, readBytes(target));
        EXPECT_FALSE(exists(fresh));
    }
    SetLastError(0xDEADBEEF);
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND),
              testerrors::thrownCode([&] { ReplacementFile::moveOverByRenaming(fresh.c_str(), target.c_str()); }));
    EXPECT_EQ("newer", readBytes(target)) << "the old file is back";
}
