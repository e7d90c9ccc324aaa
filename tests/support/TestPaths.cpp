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
    // Wine gives a new server's processes the same ids again, so a name may
    // be left from an earlier run, with its files: only a new folder will do.
    std::string folder;
    do {
        char name[64];
        wsprintfA(name, "\\%lu-%u-", GetCurrentProcessId(), ++counter);
        folder = scratch + name + hint;
    } while (!CreateDirectoryA(folder.c_str(), nullptr) && GetLastError() == ERROR_ALREADY_EXISTS);
    return folder + "\\";
}

}  // namespace testpaths
