#include "support/IniFile.h"

#include <windows.h>

#include <algorithm>

#include "base/WidePath.h"
#include "support/TestFiles.h"

namespace inifile {

std::string value(const std::string& path, const char* section, const char* key, const char* fallback) {
    // A Unicode profile file is read through the wide call, into the narrow
    // form of base/WidePath.h, as the program reads it.
    if (testfiles::readBytes(path).compare(0, 2, "\xFF\xFE") == 0) {
        wchar_t text[MAX_PATH] = {};
        GetPrivateProfileStringW(WidePath(section).c_str(), key ? WidePath(key).c_str() : nullptr,
                                 WidePath(fallback).c_str(), text, MAX_PATH, WidePath(path.c_str()).c_str());
        return WidePath::narrow(text).c_str();
    }
    char text[MAX_PATH] = {};
    GetPrivateProfileStringA(section, key, fallback, text, MAX_PATH, path.c_str());
    return text;
}

void setValue(const std::string& path, const char* section, const char* key, const char* value) {
    WritePrivateProfileStringA(section, key, value, path.c_str());
}

void setOptions(const std::string& path, int random, int resume, int sound, int keepAspect) {
    const struct {
        const char* key;
        int on;
    } options[] = {{"Random", random}, {"Resume", resume}, {"Sound", sound}, {"KeepAspect", keepAspect}};
    for (const auto& option : options) setValue(path, "Setting", option.key, option.on ? "1" : "0");
}

void setEntries(const std::string& path, const std::vector<std::string>& entries) {
    setValue(path, "PlayList", nullptr, nullptr);
    setValue(path, "PlayList", "Count", std::to_string(entries.size()).c_str());
    for (size_t i = 0; i < entries.size(); ++i)
        setValue(path, "PlayList", ("Path" + std::to_string(i)).c_str(), entries[i].c_str());
}

void setResume(const std::string& path, const std::string& name, const std::string& time) {
    setValue(path, "Resume", "Name", name.c_str());
    setValue(path, "Resume", "Time", time.c_str());
}

std::vector<std::string> entries(const std::string& path) {
    std::vector<std::string> found;
    const int count = static_cast<int>(GetPrivateProfileIntA("PlayList", "Count", 0, path.c_str()));
    for (int i = 0; i < count; ++i) {
        const std::string entry = value(path, "PlayList", ("Path" + std::to_string(i)).c_str());
        if (!entry.empty()) found.push_back(entry);
    }
    return found;
}

std::vector<std::string> section(const std::string& path, const char* name) {
    char block[4096] = {};
    GetPrivateProfileSectionA(name, block, sizeof block, path.c_str());
    std::vector<std::string> lines;
    for (const char* line = block; *line; line += lstrlenA(line) + 1) lines.push_back(line);
    std::sort(lines.begin(), lines.end());
    return lines;
}

}  // namespace inifile
