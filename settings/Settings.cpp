#include "settings/Settings.h"

#include "base/Exception.h"
#include "base/FilePath.h"
#include "settings/IntText.h"
#include "settings/PathKeys.h"
#include "settings/ProfileFile.h"
#include "settings/ReplacementFile.h"

namespace {
enum { settingSection, playListSection, resumeSection };

// Tries of a save whose file a show changes under it; the last one goes ahead.
const int saveAttempts = 3;

// A write the profile functions refused ends the save with their reason.
void require(BOOL written) {
    if (written) return;
    const DWORD code = GetLastError();
    throwWin32Error(code ? code : ERROR_WRITE_FAULT);
}
}  // namespace

Settings::Settings()
    : random(0), resume(0), sound(0), keepAspect(0), resumeMinutes(0), resumeSeconds(0) {}

Settings::~Settings() {}

void Settings::bind(const CountedString& fileName) {
    sectionNames.split("Setting/PlayList/Resume", "/");

    char module[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, module, MAX_PATH);
    if (length == 0) throwWin32Error(GetLastError());
    // A cut name may lack its terminator and would name another folder.
    if (length >= MAX_PATH) throwWin32Error(ERROR_INSUFFICIENT_BUFFER);

    CountedString path = FilePath(module).folderPart() + fileName;
    // A cut path would read and write some other file.
    if (path.length() >= MAX_PATH) throwWin32Error(ERROR_FILENAME_EXCED_RANGE);
    iniPath = path;

    random = 0;
    resume = 0;
    sound = 1;
    keepAspect = 0;
    resumeSeconds = 0;
    resumeMinutes = 0;
    entries.clear();
}

void Settings::load() {
    ProfileFile file;
    file.setPath(iniPath);

    const CountedString& options = sectionNames.at(settingSection);
    random = file.readBool(options, "Random", random);
    resume = file.readBool(options, "Resume", resume);
    sound = file.readBool(options, "Sound", sound);
    keepAspect = file.readBool(options, "KeepAspect", keepAspect);

    loadEntries(file);

    const CountedString& point = sectionNames.at(resumeSection);
    resumeName = file.readString(point, "Name", "");
    CountedString time = file.readString(point, "Time", "");
    resumeMinutes = 0;
    resumeSeconds = 0;
    StringArray parts;
    parts.split(time, ",");
    if (parts.count() == 2) {
        resumeMinutes = parts.at(0).toInt();
        resumeSeconds = parts.at(1).toInt();
    }
}

// Reads Path0 to Path(Count - 1), skipping missing and empty ones. Only the
// keys that exist are read, so a damaged Count of two thousand million costs
// no more than the keys in the section.
void Settings::loadEntries(ProfileFile& file) {
    const CountedString& list = sectionNames.at(playListSection);
    int count = file.readInt(list, "Count", 0);
    if (count <= 0) return;

    CountedString names = file.readKeyNames(list);
    PathKeys keys;
    keys.collect(names.c_str(), names.bufferSize(), count);
    for (int i = 0; i < keys.count(); ++i) {
        CountedString entry = file.readString(list, "Path" + IntText(keys.at(i)).toText(), "");
        if (entry.length() > 0) entries.add(entry);
    }
}

void Settings::save() {
    ProfileFile file;
    save(file);
}

void Settings::save(ProfileStore& store) {
    for (int attempt = 1;; ++attempt) {
        ReplacementFile replacement(iniPath);
        replacement.prepare();
        store.setPath(replacement.copyPath());
        writeOptionsAndList(store);
        // A show that stored its resume point meanwhile changed the file: the
        // copy is made again from it, so that the point is kept.
        if (replacement.putInPlace(attempt == saveAttempts)) return;
    }
}

void Settings::writeOptionsAndList(ProfileStore& store) {
    const CountedString& options = sectionNames.at(settingSection);
    require(store.writeInt(options, "Random", random));
    require(store.writeInt(options, "Resume", resume));
    require(store.writeInt(options, "Sound", sound));
    require(store.writeInt(options, "KeepAspect", keepAspect));

    // A shorter list must leave no key of a longer earlier one behind.
    const CountedString& list = sectionNames.at(playListSection);
    require(store.deleteSection(list));
    int count = entries.count();
    require(store.writeInt(list, "Count", count));
    for (int i = 0; i < count; ++i) {
        require(store.writeString(list, "Path" + IntText(i).toText(), entries.at(i)));
    }
}

void Settings::saveResumePoint(const CountedString& fileName, int minutes, int seconds) {
    ProfileFile file;
    file.setPath(iniPath);

    const CountedString& point = sectionNames.at(resumeSection);
    if (resume) {
        file.writeString(point, "Name", fileName);
        file.writeString(point, "Time",
                         IntText(minutes).toText() + "," + IntText(seconds).toText());
    } else {
        file.deleteSection(point);
    }
}
