#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/AllocationFaults.h"
#include "base/DirectorySearch.h"
#include "base/Exception.h"
#include "base/FilePath.h"
#include "support/TestErrors.h"
#include "support/TestFiles.h"
#include "support/TestPaths.h"

using testerrors::thrownCode;

namespace {

const DWORD sentinel = 0xdeadbeef;

// A scratch folder holding a file, a sub-folder and a folder named with 表.
// Wine can make the last only when the Unix locale can encode it; without
// that the name still goes through the path handling and must read as absent.
struct Tree {
    std::string root = testpaths::freshFolder("paths");
    std::string file = root + "clip.avi";
    std::string folder = root + "sub";
    std::string kanjiFolder = root + "x\x95\x5c";
    bool kanjiMade = false;
    Tree() {
        EXPECT_TRUE(testfiles::touch(file));
        EXPECT_TRUE(testfiles::makeFolder(folder));
        kanjiMade = testfiles::makeFolder(kanjiFolder);
    }
};

std::vector<std::string> allMatches(const std::string& pattern) {
    std::vector<std::string> names;
    DirectorySearch search;
    search.open(pattern.c_str());
    while (search.valid()) {
        names.push_back(search.name());
        search.next();
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST(FilePath, FormsAndExistence) {
    Tree tree;
    struct Case {
        std::string path;
        std::string folder;
        std::string full;
        bool folderForm;
        bool exists;
        bool isFolder;
    } cases[] = {
        {tree.folder + "\\", tree.folder + "\\", tree.folder + "\\", true, true, true},
        {tree.folder, tree.root, tree.folder, false, true, true},
        {tree.file, tree.root, tree.file, false, true, false},
        {tree.file + "\\", tree.file + "\\", tree.file + "\\", true, false, false},
        {tree.root + "missing.avi", tree.root, tree.root + "missing.avi", false, false, false},
        {tree.root + "missing\\", tree.root + "missing\\", tree.root + "missing\\", true, false, false},
        {tree.kanjiFolder + "\\", tree.kanjiFolder + "\\", tree.kanjiFolder + "\\", true, tree.kanjiMade,
         tree.kanjiMade},
        {tree.kanjiFolder, tree.root, tree.kanjiFolder, false, tree.kanjiMade, tree.kanjiMade},
        {tree.folder + "\\..\\clip.avi", tree.root, tree.file, false, true, false},
        {"C:\\", "C:\\", "C:\\", true, true, true},
        {"C:\\windows", "C:\\", "C:\\windows", false, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        FilePath path(c.path.c_str());
        EXPECT_STREQ(c.folder.c_str(), path.folderPart().c_str());
        EXPECT_STREQ(c.full.c_str(), path.fullPath().c_str());
        EXPECT_EQ(c.folderForm, path.isFolderForm());
        EXPECT_EQ(c.exists, path.exists(0));
        EXPECT_EQ(c.isFolder, path.exists(FILE_ATTRIBUTE_DIRECTORY));
    }
}

TEST(FilePath, EmptyPathIsEmptyAndAbsent) {
    FilePath path("");
    EXPECT_STREQ("", path.fullPath().c_str());
    EXPECT_STREQ("", path.folderPart().c_str());
    EXPECT_FALSE(path.isFolderForm());
    EXPECT_FALSE(path.exists(0));
}

TEST(FilePath, RelativeToCurrentFolder) {
    Tree tree;
    char saved[MAX_PATH];
    ASSERT_NE(0u, GetCurrentDirectoryA(MAX_PATH, saved));
    ASSERT_TRUE(SetCurrentDirectoryA(tree.root.c_str()));
    FilePath path("sub");
    FilePath file("clip.avi");
    SetCurrentDirectoryA(saved);
    EXPECT_STREQ(tree.folder.c_str(), path.fullPath().c_str());
    EXPECT_TRUE(path.exists(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_STREQ(tree.file.c_str(), file.fullPath().c_str());
}

TEST(FilePath, RequiresEveryAttributeBit) {
    Tree tree;
    FilePath file(tree.file.c_str());
    EXPECT_FALSE(file.exists(FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(SetFileAttributesA(tree.file.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(file.exists(FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(file.exists(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY));
    SetFileAttributesA(tree.file.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(FilePath, LongPathsFitUpTo259Bytes) {
    Tree tree;
    for (int bytes : {258, 259, 260, 261, 400}) {
        SCOPED_TRACE(bytes);
        std::string path = tree.root + std::string(bytes - tree.root.size(), 'n');
        ASSERT_EQ(static_cast<size_t>(bytes), path.size());
        if (bytes <= 259) {
            FilePath fitting(path.c_str());
            EXPECT_EQ(bytes, fitting.fullPath().length());
            EXPECT_FALSE(fitting.exists(0));
        } else {
            EXPECT_NE(0u, thrownCode([&] { FilePath tooLong(path.c_str()); }));
        }
        EXPECT_TRUE(HeapValidate(GetProcessHeap(), 0, nullptr));
    }
    // A folder-form path of 259 bytes cannot be probed with "." added: absent, no throw.
    std::string folderForm = tree.root + std::string(258 - tree.root.size(), 'f') + "\\";
    ASSERT_EQ(259u, folderForm.size());
    FilePath longFolder(folderForm.c_str());
    EXPECT_TRUE(longFolder.isFolderForm());
    EXPECT_FALSE(longFolder.exists(FILE_ATTRIBUTE_DIRECTORY));
}

TEST(FilePath, RelativePathWhoseAbsoluteFormIsTooLongThrows) {
    Tree tree;
    char saved[MAX_PATH];
    ASSERT_NE(0u, GetCurrentDirectoryA(MAX_PATH, saved));
    ASSERT_TRUE(SetCurrentDirectoryA(tree.root.c_str()));
    // Short as given, but longer than 259 bytes once the current folder is put before it.
    std::string relative(250, 'r');
    DWORD code = thrownCode([&] { FilePath tooLong(relative.c_str()); });
    SetCurrentDirectoryA(saved);
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE), code);
}

TEST(FilePath, OutOfMemoryInExistsIsNotSwallowed) {
    Tree tree;
    FilePath folder((tree.folder + "\\").c_str());
    allocationFaults::failNth(1);
    EXPECT_TRUE(testerrors::throwsStaticOutOfMemory([&] { folder.exists(0); }));
    allocationFaults::reset();
    EXPECT_TRUE(folder.exists(0));
}

TEST(DirectorySearch, WalksMatchesOfOneFolder) {
    Tree tree;
    ASSERT_TRUE(testfiles::touch(tree.root + "b.avi"));
    ASSERT_TRUE(testfiles::touch(tree.root + "A.AVI"));
    ASSERT_TRUE(testfiles::touch(tree.root + "c.txt"));
    ASSERT_TRUE(testfiles::touch(tree.folder + "\\deep.avi"));
    std::vector<std::string> expected = {"A.AVI", "b.avi", "clip.avi"};
    EXPECT_EQ(expected, allMatches(tree.root + "*.avi"));
    EXPECT_TRUE(allMatches(tree.root + "*.wmv").empty());
    EXPECT_TRUE(allMatches(tree.root + "missing\\*.avi").empty());
}

TEST(DirectorySearch, StatesAndLastError) {
    Tree tree;
    DirectorySearch search;
    SetLastError(sentinel);
    EXPECT_FALSE(search.valid());
    EXPECT_EQ(6u, GetLastError());
    EXPECT_FALSE(search.next());
    EXPECT_STREQ("", search.name());

    EXPECT_FALSE(search.open(nullptr));
    EXPECT_FALSE(search.open((tree.root + "none\\*").c_str()));
    SetLastError(sentinel);
    EXPECT_FALSE(search.valid());
    EXPECT_EQ(6u, GetLastError());

    ASSERT_TRUE(search.open((tree.root + "clip.*").c_str()));
    SetLastError(sentinel);
    EXPECT_TRUE(search.valid());
    EXPECT_EQ(sentinel, GetLastError());
    EXPECT_STREQ("clip.avi", search.name());
    EXPECT_FALSE(search.next());
    EXPECT_STREQ("", search.name());

    // Opening again restarts; closing ends at once.
    ASSERT_TRUE(search.open((tree.root + "clip.*").c_str()));
    ASSERT_TRUE(search.open((tree.root + "s*").c_str()));
    EXPECT_STREQ("sub", search.name());
    search.close();
    EXPECT_FALSE(search.valid());
    EXPECT_STREQ("", search.name());
}
