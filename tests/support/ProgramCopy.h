#pragma once
#include <string>
#include <vector>

// A scratch folder of its own holding a copy of a program (by default the
// built cinevane.scr) and, beside it, the cinevane.ini that the copy reads
// and writes.
class ProgramCopy {
public:
    // A copy of `source` named `fileName` (empty: the source's own name). The
    // hint names the folder and may contain blanks.
    explicit ProgramCopy(const std::string& hint, const std::string& source = builtProgram(),
                         const std::string& fileName = "");
    ProgramCopy() = default;

    static std::string builtProgram();  // the build tree's cinevane.scr

    // The INI file, written as the settings dialog would write it (see
    // support/IniFile.h)...
    void setOptions(int random, int resume, int sound, int keepAspect = 0) const;
    void setEntries(const std::vector<std::string>& entries) const;
    void setResume(const std::string& name, const std::string& time) const;
    // ...or byte for byte; true on success.
    bool writeIni(const std::string& bytes) const;

    // A value of the INI file, or `fallback` when it is missing.
    std::string iniValue(const char* section, const char* key, const char* fallback = "") const;
    std::string resumeName() const { return iniValue("Resume", "Name"); }
    std::string resumeTime() const { return iniValue("Resume", "Time"); }
    bool hasResumeSection() const;

    // Copies a file into the folder under a new name; returns its path.
    std::string copyHere(const std::string& source, const std::string& name) const;

    std::string folder;   // with a trailing backslash
    std::string program;  // the copy
    std::string iniPath;
};
