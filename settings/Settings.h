#pragma once
#include "base/CountedString.h"
#include "base/StringArray.h"

class ProfileFile;
class ProfileStore;

// The options, the play list and the resume point, as kept in an INI file
// beside the executable. The settings dialog writes "Setting" and
// "PlayList", the show only "Resume", so the two processes never overwrite
// each other's data.
class Settings {
public:
    // Everything empty and no flags set: bind comes first.
    Settings();
    ~Settings();

    // Places the file fileName beside the executable and sets the defaults.
    // Throws Exception with the system's error code when the executable's
    // path cannot be had, and ERROR_FILENAME_EXCED_RANGE when the file's
    // path would not fit in MAX_PATH.
    void bind(const CountedString& fileName);
    // Reads the file; a missing file or key gives the defaults. Appends to
    // entries.
    void load();
    // Writes the options and the whole play list, all or nothing: into a
    // copy of the file that takes its place only when complete. "Resume" is
    // kept as it is. Throws Exception with the system's error code when the
    // file cannot be written; it is then left as it was.
    void save();
    // The same through `store`, which it points at the copy.
    void save(ProfileStore& store);
    // With resume on, stores the file and the position; with it off,
    // removes any stored resume point.
    void saveResumePoint(const CountedString& fileName, int minutes, int seconds);

    StringArray entries;    // files, and folders ending in a backslash, in list order
    int random;             // 0 or 1
    int resume;             // 0 or 1
    int sound;              // 0 or 1
    int keepAspect;         // 0 or 1: the picture keeps its proportions on the primary monitor
    CountedString resumeName;
    int resumeMinutes;
    int resumeSeconds;
    CountedString iniPath;
    StringArray sectionNames;  // "Setting", "PlayList", "Resume"

private:
    Settings(const Settings&) = delete;
    Settings& operator=(const Settings&) = delete;

    void loadEntries(ProfileFile& file);
    void writeOptionsAndList(ProfileStore& store);
};
