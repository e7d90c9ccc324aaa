#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "base/Exception.h"
#include "playback/foundation/MediaFoundation.h"
#include "playback/playlist/PlaylistBuilder.h"
#include "support/MatroskaSource.h"
#include "support/PlayOrder.h"
#include "support/TestErrors.h"
#include "support/TestFiles.h"
#include "support/TestPaths.h"

namespace {


std::vector<std::string> build(const std::vector<std::string>& entries) { return playorder::builtFrom(entries); }

// A folder with one file of each extension, named so that no sorting
// could give the expected order by accident.
std::string animalFolder() {
    std::string folder = testpaths::freshFolder("animals");
    for (const char* file : {"ant.avi", "bee.wmv", "cat.mpeg", "dog.mpg", "eel.txt", "fox.mp4", "hen.mkv"}) {
        EXPECT_TRUE(testfiles::touch(folder + file)) << file;
    }
    EXPECT_TRUE(testfiles::makeFolder(folder + "inner"));
    EXPECT_TRUE(testfiles::touch(folder + "inner\\gnu.avi"));
    return folder;
}

}  // namespace

// Folders of files made in a scrambled order, and the list each gives.
TEST(PlaylistBuilder, FoldersGiveTheirVideosInTheOrderOfExtensions) {
    struct Case { const char* hint; std::vector<const char*> made, listed; };
    const Case cases[] = {
        {"mixed",
         {"kiwi.mkv", "fig.mpg", "olive.wmv", "lime.mp4", "date.avi", "yam.m4v", "apple.mov", "nut.mpeg", "eel.txt"},
         {"olive.wmv", "date.avi", "fig.mpg", "nut.mpeg", "lime.mp4", "yam.m4v", "apple.mov", "kiwi.mkv"}},
        {"anycase", {"gnu.MOV", "bat.Avi", "ant.mkV", "owl.MPG", "yak.WMV", "elk.MP4", "cod.mPeG", "ape.M4v"},
         {"yak.WMV", "bat.Avi", "owl.MPG", "cod.mPeG", "elk.MP4", "ape.M4v", "gnu.MOV", "ant.mkV"}},
        // Wildcard patterns find the first three through their short names.
        {"longer", {"holiday.movie", "clip.mp4v", "song.wmvx", "take.avi.txt", "mpeg", "keep.avi"}, {"keep.avi"}},
        // Names that the pattern shared by wmv and mpg to mkv (*.*m*) finds.
        {"near", {"song.mp3", "tune.m4a", "read.md", "old.tmp", "film.mkv.mp4", "keep.avi"},
         {"keep.avi", "film.mkv.mp4"}},
    };
    MatroskaSource matroska;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.hint);
        std::string folder = testpaths::freshFolder(c.hint);
        for (const char* file : c.made) ASSERT_TRUE(testfiles::touch(folder + file)) << file;
        std::vector<std::string> expected;
        for (const char* file : c.listed) expected.push_back(folder + file);
        EXPECT_EQ(expected, build({folder}));
    }
}

// Within one extension the files come in the order a search for that
// extension alone returns them.
TEST(PlaylistBuilder, FilesOfOneExtensionKeepTheListingOrder) {
    std::string folder = testpaths::freshFolder("order");
    for (const char* file : {"pear.mov", "pear.mp4", "Bean.mp4", "corn.mov", "apple.mp4", "Bean.mov", "corn.mp4"})
        ASSERT_TRUE(testfiles::touch(folder + file)) << file;
    std::vector<std::string> expected;
    for (const char* pattern : {"*.mp4", "*.mov"}) {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((folder + pattern).c_str(), &found);
        ASSERT_NE(INVALID_HANDLE_VALUE, search);
        do expected.push_back(folder + found.cFileName);
        while (FindNextFileA(search, &found));
        FindClose(search);
    }
    EXPECT_EQ(7u, expected.size());
    EXPECT_EQ(expected, build({folder}));
}

// The MP4 file only where Media Foundation plays it, the MKV file only where
// Windows also has a source for it.
TEST(PlaylistBuilder, FolderGivesFilesGroupedByExtension) {
    std::string folder = animalFolder();
    const struct {
        const char* machine;
        bool foundation, matroska;
    } rows[] = {{"Windows 10", true, true}, {"Windows 7", true, false}, {"without Media Foundation", false, true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.machine);
        MediaFoundation::refuse(!row.foundation);
        std::unique_ptr<MatroskaSource> matroska(row.matroska ? new MatroskaSource : nullptr);
        std::vector<std::string> expected = {folder + "bee.wmv", folder + "ant.avi", folder + "dog.mpg",
                                             folder + "cat.mpeg"};
        if (row.foundation) expected.push_back(folder + "fox.mp4");
        if (row.foundation && row.matroska) expected.push_back(folder + "hen.mkv");
        EXPECT_EQ(expected, build({folder}));
        std::string bare = folder.substr(0, folder.size() - 1);
        EXPECT_EQ(expected, build({bare}));
    }
    MediaFoundation::refuse(false);
}

TEST(PlaylistBuilder, FilesMissingEntriesAndDuplicates) {
    MediaFoundation::refuse(true);  // the classic types only
    std::string folder = animalFolder();
    const std::vector<std::string> expected = {
        folder + "eel.txt",   // a listed file whatever its extension
        folder + "bee.wmv", folder + "ant.avi", folder + "dog.mpg", folder + "cat.mpeg",
        folder + "ant.avi",   // listed again on its own
    };
    EXPECT_EQ(expected, build({folder + "eel.txt", "", folder + "missing.avi", folder + "nowhere\\",
                               folder, folder + "ant.avi\\", folder + "ant.avi"}));
    MediaFoundation::refuse(false);
}

TEST(PlaylistBuilder, MatchesIgnoreCaseAndTakeMatchingFolders) {
    std::string folder = testpaths::freshFolder("cases");
    ASSERT_TRUE(testfiles::touch(folder + "LOUD.AVI"));
    ASSERT_TRUE(testfiles::makeFolder(folder + "looks.wmv"));
    const std::vector<std::string> expected = {folder + "looks.wmv", folder + "LOUD.AVI"};
    EXPECT_EQ(expected, build({folder}));
}

TEST(PlaylistBuilder, RelativeEntriesBecomeAbsolute) {
    std::string folder = animalFolder();
    char saved[MAX_PATH];
    ASSERT_NE(0u, GetCurrentDirectoryA(MAX_PATH, saved));
    ASSERT_TRUE(SetCurrentDirectoryA(folder.c_str()));
    std::vector<std::string> paths = build({"inner", ".\\eel.txt"});
    SetCurrentDirectoryA(saved);
    const std::vector<std::string> expected = {folder + "inner\\gnu.avi", folder + "eel.txt"};
    EXPECT_EQ(expected, paths);
}

TEST(PlaylistBuilder, DriveRootKeepsOneBackslash) {
    // C: is a real drive root of the test's Windows; the file name is unique per run.
    char file[64];
    wsprintfA(file, "C:\\cinevane-root-%lu.wmv", GetCurrentProcessId());
    ASSERT_TRUE(testfiles::touch(file));
    std::vector<std::string> paths = build({"C:\\"});
    DeleteFileA(file);
    bool found = false;
    for (const std::string& p : paths) {
        EXPECT_EQ(0u, p.rfind("C:\\", 0)) << p;
        EXPECT_EQ(std::string::npos, p.find("\\\\")) << p;
        found = found || p == file;
    }
    EXPECT_TRUE(found);
}

TEST(PlaylistBuilder, EntryTooLongToMakeAbsoluteThrows) {
    std::string folder = animalFolder();
    std::string tooLong = folder + std::string(300, 'x');
    StringArray entries;
    entries.add(folder.c_str());
    entries.add(tooLong.c_str());
    Playlist playlist;
    EXPECT_NE(0u, testerrors::thrownCode([&] { buildPlaylist(playlist, entries); }));
}

TEST(PlaylistBuilder, EmptyEntriesGiveEmptyList) {
    EXPECT_TRUE(build({}).empty());
    EXPECT_TRUE(build({testpaths::freshFolder("empty")}).empty());
}
