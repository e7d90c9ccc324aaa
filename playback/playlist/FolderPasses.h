#pragma once
#include "base/CountedString.h"
#include "base/StringArray.h"
#include "playback/playlist/PathBatch.h"

class FoundFiles;

// A folder's files in the order of extensions (each in the listing's
// order), found in as few passes as possible, as each pass reads the whole
// folder: one for the extensions that share a pattern, one for each other
// one. A file goes out at once when every extension before its own has gone
// out; otherwise it waits, behind a byte holding its extension's place + 1,
// until the passes over those extensions have ended.
class FolderPasses {
public:
    // folder ends with a backslash.
    FolderPasses(const CountedString& folder, const StringArray& extensions, FoundFiles& found);
    // False when the receiver ended the walk.
    bool run();

private:
    FolderPasses(const FolderPasses&) = delete;
    FolderPasses& operator=(const FolderPasses&) = delete;

    // One pass with pattern, for the extensions covered (a bit for each of
    // the at most 32).
    bool pass(const CountedString& pattern, unsigned covered);

    const CountedString& folder;
    const StringArray& extensions;
    FoundFiles& found;
    PathBatch waiting;
    unsigned listed;  // a bit for each extension whose pass has ended
    int released;     // the extensions before this one have all gone out
};
