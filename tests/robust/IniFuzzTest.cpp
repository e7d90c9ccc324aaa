// A thousand random and damaged INI files through Settings::load and the
// building of the play list, each compared with what the system's profile,
// path and search functions give for the same file.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "IniFuzz.h"
#include "ProfileOracle.h"
#include "RobustReport.h"
#include "base/Exception.h"
#include "playback/playlist/PlaylistBuilder.h"
#include "settings/Settings.h"
#include "support/PlayOrder.h"
#include "support/TestFiles.h"
#include "support/TestPaths.h"

namespace {

const unsigned fuzzSeed = 20261207;
const int caseCount = 1000;

// Real files and folders for entries to name, and names of nothing.
inifuzz::Vocabulary makeVocabulary() {
    std::string folder = testpaths::freshFolder("fuzz-media");
    for (const char* file : {"a.avi", "b.wmv", "c.mpeg", "d.mpg", "e.txt", "F.AVI"}) {
        EXPECT_TRUE(testfiles::touch(folder + file)) << file;
    }
    // A folder whose name matches a pattern, and one whose name is the
    // double-byte character whose second byte is a backslash.
    EXPECT_TRUE(testfiles::makeFolder(folder + "sub.avi"));
    const std::string kanji = "\x95\x5C";
    EXPECT_TRUE(testfiles::makeFolder(folder + kanji));
    EXPECT_TRUE(testfiles::touch(folder + kanji + "\\x.avi"));
    // A folder so deep that its search patterns no longer fit in a path.
    std::string deep = folder + std::string(250 - folder.size(), 'd');
    EXPECT_TRUE(testfiles::makeFolder(deep));
    EXPECT_TRUE(testfiles::touch(deep + "\\y.avi"));

    std::string bare = folder.substr(0, folder.size() - 1);
    inifuzz::Vocabulary vocabulary;
    vocabulary.entries = {folder, bare, folder + "a.avi", folder + "e.txt", folder + "e.txt\\",
                          folder + "missing.avi", folder + "missing\\", folder + kanji,
                          folder + kanji + "\\", folder + kanji + "\\x.avi", folder + "sub.avi",
                          folder + "*.avi", folder + "a.avi.", folder + "..\\", folder + ".\\a.avi",
                          deep, deep + "\\", deep + "\\y.avi", "\\\\?\\" + folder + "b.wmv",
                          "C:\\", "C:\\nothing\\x.avi", ".", "relative.avi", "a.avi", "Q:\\x.avi",
                          folder + "a.avi" + std::string(300, 'z')};
    return vocabulary;
}

std::string printable(const std::string& text, size_t limit) {
    std::string shown;
    for (size_t i = 0; i < text.size() && i < limit; ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 32 && c < 127) {
            shown += static_cast<char>(c);
        } else {
            char escaped[8];
            wsprintfA(escaped, "\\x%02X", c);
            shown += escaped;
        }
    }
    if (text.size() > limit) shown += "...";
    return shown;
}

// What went wrong with one case, or empty when it passed.
std::string checkCase(const std::string& name, const std::string& path, std::string& summary) {
    std::unique_ptr<Settings> settings(new Settings);
    try {
        settings->bind(name.c_str());
        settings->load();
    } catch (Exception* e) {
        std::string what = "load threw code " + std::to_string(e->code);
        dispose(e);
        return what;
    }
    oracle::ExpectedSettings expected = oracle::readSettings(path);
    std::string problems;
    if (settings->random != expected.random) problems += " random";
    if (settings->resume != expected.resume) problems += " resume";
    if (settings->sound != expected.sound) problems += " sound";
    std::vector<std::string> entries = playorder::textsOf(settings->entries);
    if (entries != expected.entries) {
        problems += " entries(" + std::to_string(entries.size()) + " vs " +
                    std::to_string(expected.entries.size()) + ")";
    }
    if (expected.resumeName != settings->resumeName.c_str()) problems += " resume-name";
    if (settings->resumeMinutes != expected.resumeMinutes ||
        settings->resumeSeconds != expected.resumeSeconds) {
        problems += " resume-time";
    }

    oracle::ExpectedPlaylist expectedList = oracle::buildPlaylist(entries);
    Playlist playlist;
    bool failed = false;
    try {
        buildPlaylist(playlist, settings->entries);
    } catch (Exception* e) {
        failed = e->code != 0;
        if (e->code == 0) problems += " playlist-threw-code-0";
        dispose(e);
    }
    if (failed != expectedList.fails) {
        problems += failed ? " playlist-threw" : " playlist-did-not-throw";
    } else if (!failed && playorder::pathsOf(playlist) != expectedList.files) {
        problems += " playlist(" + std::to_string(playlist.count()) + " vs " +
                    std::to_string(expectedList.files.size()) + ")";
    }

    summary = "random " + std::to_string(settings->random) + " resume " +
              std::to_string(settings->resume) + " sound " + std::to_string(settings->sound) +
              " entries " + std::to_string(entries.size()) + " time " +
              std::to_string(settings->resumeMinutes) + "," +
              std::to_string(settings->resumeSeconds) + " name \"" +
              printable(settings->resumeName.c_str(), 24) + "\" files " +
              (failed ? std::string("(refused)") : std::to_string(playlist.count()));
    return problems;
}

}  // namespace

TEST(RobustIni, RandomAndDamagedFilesLoadAsTheProfileFunctionsRead) {
    inifuzz::Vocabulary vocabulary = makeVocabulary();
    inifuzz::Random random(fuzzSeed);
    robust::Tally tally("ini files");
    std::printf("seed %u, %d files\n", fuzzSeed, caseCount);

    for (int n = 0; n < caseCount; ++n) {
        inifuzz::Kind kind = static_cast<inifuzz::Kind>(n % inifuzz::kindCount);
        std::string text = inifuzz::makeIni(kind, random, vocabulary);
        char name[32];
        wsprintfA(name, "robust-fuzz-%04d.ini", n);
        std::string path = testpaths::programFolder() + name;
        ASSERT_TRUE(testfiles::writeBytes(path, text)) << path;

        robust::currentCase = n;
        std::string summary;
        std::string problems = checkCase(name, path, summary);
        DeleteFileA(path.c_str());

        bool passed = problems.empty();
        tally.record(passed);
        std::printf("ini %4d %-12s %6u bytes: %s%s%s\n", n, inifuzz::kindName(kind),
                    static_cast<unsigned>(text.size()), summary.c_str(),
                    passed ? "" : "  FAILED:", problems.c_str());
        EXPECT_TRUE(passed) << "case " << n << " (" << inifuzz::kindName(kind)
                            << "): " << problems << "\n  text: " << printable(text, 300);
    }
    robust::currentCase = -1;
    tally.print();
}
