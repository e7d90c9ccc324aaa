#include "support/ProgramCopy.h"

#include <windows.h>

#include "support/IniFile.h"
#include "support/TestFiles.h"
#include "support/TestPaths.h"

ProgramCopy::ProgramCopy(const std::string& hint, const std::string& source, const std::string& fileName)
    : folder(testpaths::freshFolder(hint)) {
    program = folder + (fileName.empty() ? source.substr(source.find_last_of('\\') + 1) : fileName);
    iniPath = folder + "cinevane.ini";
    CopyFileA(source.c_str(), program.c_str(), FALSE);
}

std::string ProgramCopy::builtProgram() {
    return testpaths::binaryPath("cinevane.scr");
}

void ProgramCopy::setOptions(int random, int resume, int sound, int keepAspect) const {
    inifile::setOptions(iniPath, random, resume, sound, keepAspect);
}

void ProgramCopy::setEntries(const std::vector<std::string>& entries) const {
    inifile::setEntries(iniPath, entries);
}

void ProgramCopy::setResume(const std::string& name, const std::string& time) const {
    inifile::setResume(iniPath, name, time);
}

bool ProgramCopy::writeIni(const std::string& bytes) const {
    return testfiles::writeBytes(iniPath, bytes);
}

std::string ProgramCopy::iniValue(const char* section, const char* key, const char* fallback) const {
    return inifile::value(iniPath, section, key, fallback);
}

bool ProgramCopy::hasResumeSection() const {
    return !inifile::section(iniPath, "Resume").empty();
}

std::string ProgramCopy::copyHere(const std::string& source, const std::string& name) const {
    std::string target = folder + name;
    CopyFileA(source.c_str(), target.c_str(), FALSE);
    return target;
}
