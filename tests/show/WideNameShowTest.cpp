// Files named in scripts the ANSI code page (932 here) cannot hold, in
// cinevane.scr's own show: found by the folder search under their real names,
// played through MCI (AVI) and Media Foundation (MP4), kept in the INI and
// resumed by the next show.
#include <gtest/gtest.h>

#include "ShowDriver.h"
#include "base/WidePath.h"
#include "playback/mci/MciDevice.h"
#include "playback/playlist/Playlist.h"
#include "playback/playlist/PlaylistBuilder.h"
#include "settings/ProfileFile.h"
#include "support/TestFiles.h"

using namespace showdriver;

namespace {

std::string narrowOf(const std::wstring& wide) {
    return WidePath::narrow(wide.c_str()).c_str();
}

std::wstring wideOf(const std::string& narrow) {
    WidePath wide(narrow.c_str());
    EXPECT_TRUE(wide.valid()) << narrow;
    return wide.c_str();
}

// A committed clip copied under a name of any script; its narrow path.
std::string copyAs(const std::string& source, const std::string& folder, const std::wstring& name) {
    const std::wstring target = wideOf(folder) + name;
    EXPECT_TRUE(CopyFileW(wideOf(source).c_str(), target.c_str(), FALSE)) << GetLastError();
    return narrowOf(target);
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
    const struct {
        int line;
        const wchar_t* name;
        bool fitsTheCodePage;
    } rows[] = {
        {__LINE__, L"caf\u00e9-\u00fc", false},             // accented Latin
        {__LINE__, L"\ud55c\uad6d-\uc601\ud654", false},     // Hangul
        {__LINE__, L"\u7b80\u4f53-\u7535\u5f71", false},     // simplified Chinese
        {__LINE__, L"\u043a\u0438\u043d\u043e-\u041a\u0438\u0457\u0432", false},  // Cyrillic, with Ukrainian yi
        {__LINE__, L"\U0001F3AC-clip", false},               // an emoji
        {__LINE__, L"\u8868\u793a-\u6620\u753b", true},      // Japanese: 表 ends in a backslash byte
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "row at line " << row.line);
        ProgramCopy copy("wide-names");
        const std::string avi = copyAs(clip("red.avi"), copy.folder, std::wstring(row.name) + L".avi");
        const std::string mp4 = copyAs(clip("teal.mp4"), copy.folder, std::wstring(row.name) + L".mp4");
        EXPECT_EQ(row.fitsTheCodePage, !WidePath::needsWide(avi.c_str())) << avi;

        EXPECT_EQ(std::vector<std::string>({avi, mp4}), searched(copy.folder));
        MciDevice device;
        EXPECT_EQ(0u, device.open(nullptr, avi.c_str())) << "MCI opens the file by its name";

        // The list, then the resume point, as the program keeps them.
        copy.setOptions(0, 1, 1);
        ProfileFile ini;
        ini.setPath(copy.iniPath.c_str());
        ASSERT_TRUE(ini.writeInt("PlayList", "Count", 2));
        ASSERT_TRUE(ini.writeString("PlayList", "Path0", avi.c_str()));
        ASSERT_TRUE(ini.writeString("PlayList", "Path1", mp4.c_str()));
        EXPECT_EQ(avi, ini.readString("PlayList", "Path0", "").c_str());
        const std::string bytes = testfiles::readBytes(copy.iniPath);
        EXPECT_EQ(row.fitsTheCodePage, bytes.compare(0, 2, "\xFF\xFE") != 0) << "a Unicode file only when it must be";

        RunningProgram show;
        ASSERT_TRUE(show.start(copy.program, "/s"));
        EXPECT_EQ(describe({Screen::Red, Screen::Teal}), describe(watchClips(show, 2, 2 * kDeadline)));
        EXPECT_EQ(0u, show.endShowWithKey());
        EXPECT_EQ(mp4, ini.readString("Resume", "Name", "").c_str());

        ASSERT_TRUE(show.start(copy.program, "/s"));
        EXPECT_EQ(describe({Screen::Teal}), describe(watchClips(show, 1)));
        EXPECT_EQ(0u, show.endShowWithKey());
    }
}
