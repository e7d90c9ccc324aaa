#include "support/ProgramCopy.h"

#include <windows.h>

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

void ProgramCopy::setOptions(int random, int resume, int sound) const {
    WritePrivateProfileStringA("Setting", "Random", random ? "1" : "0", iniPath.c_str());
    WritePrivateProfileStringA("Setting", "Resume", resume ? "1" : "0", iniPath.c_str());
    WritePrivateProfileStringA("Setting", "Sound", sound ? "1" : "0", iniPath.c_str());
}

void ProgramCopy::setEntries(const std::vector<std::string>& entries) const {
    WritePrivateProfileStringA("PlayList", nullptr, nullptr, iniPath.c_str());
    WritePrivateProfileStringA("PlayList", "Count", std::to_string(entries.size()).c_str(), iniPath.c_str());
    for (size_t i = 0; i < entries.size(); ++i) {
        std::string key = "Path" + std::to_string(i);
        WritePrivateProfileStringA("PlayList", key.c_str(), entries[i].c_str(), iniPath.c_str());
    }
}

void ProgramCopy::setResume(const std::string& name, const std::string& time) const {
    WritePrivateProfileStringA("Resume", "Name", name.c_str(), iniPath.c_str());
    WritePrivateProfileStringA("Resume", "Time", time.c_str(), iniPath.c_str());
}

bool ProgramCopy::writeIni(const std::string& bytes) const {
    return testfiles::writeBytes(iniPath, bytes);
}

std::string ProgramCopy::iniValue(const char* section, const char* key, const char* fallback) const {
    char value[MAX_PATH] = {};
    GetPrivateProfileStringA(section, key, fallback, value, MAX_PATH, iniPath.c_str());
    return value;
}

bool ProgramCopy::hasResumeSection() const {
    char buffer[1024] = {};
    return GetPrivateProfileSectionA("Resume", buffer, sizeof buffer, iniPath.c_str()) > 0;
}

std::string ProgramCopy::copyHere(const std::string& source, const std::string& name) const {
    std::string target = folder + name;
    CopyFileA(source.c_str(), target.c_str(), FALSE);
    return target;
}
