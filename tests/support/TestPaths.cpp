#include "support/TestPaths.h"

#include <windows.h>

namespace testpaths {

static std::string join(const char* root, const std::string& relative) {
    std::string path(root);
    if (!relative.empty()) path += "\\" + relative;
    return path;
}

std::string sourcePath(const std::string& relative) {
    return join(CINEVANE_SOURCE_DIR_WIN, relative);
}

std::string clip(const std::string& name) {
    return sourcePath("tests\\media\\" + name);
}

std::string binaryPath(const std::string& relative) {
    return join(CINEVANE_BINARY_DIR_WIN, relative);
}

std::string programFolder() {
    char buffer[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    std::string path(buffer);
    return path.substr(0, path.find_last_of('\\') + 1);
}

std::string freshFolder(const std::string& hint) {
    static unsigned counter = 0;
    std::string scratch = binaryPath("scratch");
    CreateDirectoryA(scratch.c_str(), nullptr);
    // Wine hands out process ids again in later runs: a name taken by an
    // earlier run's folder is passed over.
    for (;;) {
        char name[64];
        wsprintfA(name, "\\%lu-%u-", GetCurrentProcessId(), ++counter);
        std::string folder = scratch + name + hint;
        if (CreateDirectoryA(folder.c_str(), nullptr) || GetLastError() != ERROR_ALREADY_EXISTS) return folder + "\\";
    }
}

}  // namespace testpaths
