#include "IniFiles.h"

#include "support/PlayOrder.h"
#include "support/TestPaths.h"

namespace inifiles {

std::string freshName(const std::string& tag) {
    std::string name = "settings_tests-" + tag + ".ini";
    std::string path = beside(name);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
    RemoveDirectoryA(path.c_str());
    return name;
}

std::string beside(const std::string& name) {
    return testpaths::programFolder() + name;
}

std::string sectionText(const std::string& text, const std::string& section) {
    std::string header = "[" + section + "]";
    size_t start = text.find(header);
    while (start != std::string::npos && start != 0 && text[start - 1] != '\n') {
        start = text.find(header, start + 1);
    }
    if (start == std::string::npos) return std::string();
    size_t end = text.find("\n[", start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end + 1 - start);
}

std::unique_ptr<Settings> boundTo(const std::string& name) {
    std::unique_ptr<Settings> settings(new Settings);
    settings->bind(name.c_str());
    return settings;
}

std::unique_ptr<Settings> loadedFrom(const std::string& tag, const std::string& bytes) {
    std::string name = freshName(tag);
    writeBytes(beside(name), bytes);
    std::unique_ptr<Settings> settings = boundTo(name);
    settings->load();
    return settings;
}

std::vector<std::string> entriesOf(const Settings& settings) {
    return playorder::textsOf(settings.entries);
}

::testing::AssertionResult hasDefaults(const Settings& settings, const char* resumeName) {
    const struct {
        const char* name;
        int value;
        int expected;
    } fields[] = {
        {"random", settings.random, 0},          {"resume", settings.resume, 0},
        {"sound", settings.sound, 1},            {"keepAspect", settings.keepAspect, 0},
        {"entries", settings.entries.count(), 0}, {"resumeMinutes", settings.resumeMinutes, 0},
        {"resumeSeconds", settings.resumeSeconds, 0},
    };
    std::string wrong;
    for (const auto& field : fields)
        if (field.value != field.expected) wrong += std::string(" ") + field.name + " " + std::to_string(field.value);
    if (lstrcmpA(settings.resumeName.c_str(), resumeName) != 0)
        wrong += std::string(" resumeName \"") + settings.resumeName.c_str() + "\"";
    if (wrong.empty()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "not the defaults:" << wrong;
}

}  // namespace inifiles
