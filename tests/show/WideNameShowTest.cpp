// Files named in scripts the ANSI code page (932 here) cannot hold, in
// cinevane.scr's own show: found by the folder search under their real names,
// played through MCI (AVI) and Media Foundation (MP4), stored as the resume
// point and resumed by the next show.
#include <gtest/gtest.h>

#include "ShowDriver.h"
#include "base/WidePath.h"
#include "playback/mci/MciDevice.h"
#include "playback/playlist/Playlist.h"
#include "playback/playlist/PlaylistBuilder.h"
#include "support/ScriptNames.h"
#include "support/TestFiles.h"

using namespace showdriver;

namespace {

std::wstring wideOf(const std::string& narrow) {
    WidePath wide(narrow.c_str());
    EXPECT_TRUE(wide.valid()) << narrow;
    return wide.c_str();
}

// A committed clip copied under a name of any script; its narrow path.
std::string copyAs(const std::string& source, const std::string& folder, const std::wstring& name) {
    const std::wstring target = wideOf(folder) + name;
    EXPECT_TRUE(CopyFileW(wideOf(source).c_str(), target.c_str(), FALSE)) << GetLastError();
    return scriptnames::narrow(target);
}

std::vector<std::string> searched(const std::string& folder) {
    StringArray entries;
    entries.add(folder.c_str());
    Playlist playlist;
    buildPlaylist(playlist, entries);
    std::vector<std::string> found;
    for (int i = 0; i < playlist.count(); ++i) found.push_back(playlist.next(false).c_str());
    return found;
}

}  // namespace

TEST(WideNameShow, AFileOfAnyScriptIsFoundPlayedKeptAndResumed) {
    for (const scriptnames::Row& row : scriptnames::rows()) {
        SCOPED_TRACE(testing::Message() << "row at line " << row.line);
        ProgramCopy copy("wide-names");
        const std::string avi = copyAs(clip("red.avi"), copy.folder, std::wstring(row.name) + L".avi");
        const std::string mp4 = copyAs(clip("teal.mp4"), copy.folder, std::wstring(row.name) + L".mp4");
        EXPECT_EQ(row.fitsTheCodePage, !WidePath::needsWide(avi.c_str())) << avi;

        EXPECT_EQ(std::vector<std::string>({avi, mp4}), searched(copy.folder));
        MciDevice device;
        EXPECT_EQ(0u, device.open(nullptr, avi.c_str())) << "MCI opens the file by its name";

        // The show searches the folder itself; the INI becomes a Unicode file
        // only when the resume point it stores needs one.
        copy.setOptions(0, 1, 1);
        copy.setEntries({copy.folder});
        RunningProgram show;
        ASSERT_TRUE(show.start(copy.program, "/s"));
        EXPECT_EQ(describe({Screen::Red, Screen::Teal}), describe(watchClips(show, 2, 2 * kDeadline)));
        EXPECT_EQ(0u, show.endShowWithKey());
        EXPECT_EQ(mp4, copy.resumeName());
        const bool unicode = testfiles::readBytes(copy.iniPath).compare(0, 2, "\xFF\xFE") == 0;
        EXPECT_EQ(row.fitsTheCodePage, !unicode);

        ASSERT_TRUE(show.start(copy.program, "/s"));
        EXPECT_EQ(describe({Screen::Teal}), describe(watchClips(show, 1)));
        EXPECT_EQ(0u, show.endShowWithKey());
    }
}
