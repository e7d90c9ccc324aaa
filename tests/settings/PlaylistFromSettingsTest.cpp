#include <gtest/gtest.h>

#include <windows.h>

#include "IniFiles.h"
#include "playback/playlist/Playlist.h"
#include "playback/playlist/PlaylistBuilder.h"
#include "settings/Settings.h"
#include "support/TestFiles.h"
#include "support/TestPaths.h"

using namespace inifiles;

// The show's start: the entries that load read become the play list.
TEST(PlaylistFromSettings, TheLoadedEntriesBuildThePlayList) {
    std::string folder = testpaths::freshFolder("settings-playlist");
    ASSERT_TRUE(testfiles::touch(folder + "a.avi"));
    ASSERT_TRUE(testfiles::touch(folder + "b.wmv"));
    ASSERT_TRUE(testfiles::touch(folder + "notes.txt"));
    std::string red = testpaths::sourcePath("tests\\media\\red.avi");
    std::string mpg = testpaths::sourcePath("tests\\media\\pattern.mpg");
    std::string text = "[Setting]\r\nRandom=0\r\n[PlayList]\r\nCount=5\r\n"
                       "Path0=" + folder + "\r\n"
                       "Path1=" + red + "\r\n"
                       "Path2=" + folder + "missing.avi\r\n"
                       "Path4=" + mpg + "\r\n"
                       "Path5=" + red + "\r\n"
                       "[Resume]\r\nName=" + red + "\r\nTime=0,1\r\n";
    std::unique_ptr<Settings> settings = loadedFrom("playlist", text);
    ASSERT_EQ(4, settings->entries.count());

    Playlist playlist;
    buildPlaylist(playlist, settings->entries);
    std::vector<std::string> expected = {folder + "b.wmv", folder + "a.avi", red, mpg};
    ASSERT_EQ(static_cast<int>(expected.size()), playlist.count());
    for (const std::string& path : expected) {
        EXPECT_STREQ(path.c_str(), playlist.next(settings->random != 0).c_str());
    }
    EXPECT_STREQ(expected[0].c_str(), playlist.next(false).c_str()) << "the order wraps";
    EXPECT_EQ(2, playlist.find(settings->resumeName));
    EXPECT_STREQ(red.c_str(), playlist.current().c_str());
}

TEST(PlaylistFromSettings, NoFileGivesAnEmptyPlayList) {
    std::unique_ptr<Settings> settings = boundTo(freshName("playlist-none"));
    settings->load();
    Playlist playlist;
    buildPlaylist(playlist, settings->entries);
    EXPECT_EQ(0, playlist.count());
}
