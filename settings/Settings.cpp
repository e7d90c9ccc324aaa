#include "settings/Settings.h"

#include "base/Exception.h"
#include "base/FilePath.h"
#include "settings/IntText.h"
#include "settings/PathKeys.h"
#include "settings/ProfileFile.h"

namespace {
enum { settingSection, playListSection, resumeSection };
}

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
    file.setPath(iniPath);

    const CountedString& options = sectionNames.at(settingSection);
    file.writeInt(options, "Random", random);
    file.writeInt(options, "Resume", resume);
    file.writeInt(options, "Sound", sound);
    file.writeInt(options, "KeepAspect", keepAspect);

    // A shorter list must leave no key of a longer earlier one behind.
    const CountedString& list = sectionNames.at(playListSection);
    file.deleteSection(list);
    int count = entries.count();
    file.writeInt(list, "Count", count);
    for (int i = 0; i < count; ++i) {
        file.writeString(list, "Path" + IntText(i).toText(), entries.at(i));
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
