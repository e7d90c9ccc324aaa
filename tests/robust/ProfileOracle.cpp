#include "ProfileOracle.h"

#include <windows.h>

#include <climits>
#include <cstdint>
#include <set>

#include "support/IniFile.h"

namespace oracle {

namespace {

// Keys up to this count are read one by one, exactly as the count says;
// beyond it only the keys the section really holds can give an entry.
const int literalCountLimit = 4096;

int readFlag(const std::string& path, const char* key, int fallback) {
    return GetPrivateProfileIntA("Setting", key, fallback, path.c_str()) != 0 ? 1 : 0;
}

// "Path" in any letter case followed by the decimal index without leading
// zeros, as a profile lookup of "Path<i>" would match it; -1 otherwise.
long long pathKeyIndex(const char* name) {
    if (CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, name, 4, "Path", 4) != CSTR_EQUAL) return -1;
    const char* digits = name + 4;
    if (!*digits || (digits[0] == '0' && digits[1])) return -1;
    long long value = 0;
    for (const char* d = digits; *d; ++d) {
        if (*d < '0' || *d > '9' || d - digits >= 10) return -1;
        value = value * 10 + (*d - '0');
    }
    return value;
}

// The indices below count of every key of the play-list section.
std::set<int> existingIndices(const std::string& path, int count) {
    std::string names;
    for (DWORD size = 65536;; size *= 4) {
        names.assign(size, '\0');
        DWORD got = GetPrivateProfileStringA("PlayList", nullptr, "", &names[0], size, path.c_str());
        if (got < size - 2) {
            names.resize(got);
            break;
        }
    }
    std::set<int> indices;
    for (size_t at = 0; at < names.size();) {
        const char* name = names.c_str() + at;
        long long index = pathKeyIndex(name);
        if (index >= 0 && index < count) indices.insert(static_cast<int>(index));
        at += strlen(name) + 1;
    }
    return indices;
}

}  // namespace

int pieceToInt(const std::string& text) {
    size_t first = 0;
    size_t last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= 32) ++first;
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= 32) --last;
    uint32_t sum = 0;
    uint32_t place = 1;
    for (size_t i = last; i > first; --i, place *= 10) {
        const char c = text[i - 1];
        if (c >= '0' && c <= '9') sum += static_cast<uint32_t>(c - '0') * place;
        else if (c == '-') return i - 1 == first ? static_cast<int>(0u - sum) : 0;
        else return 0;
    }
    return static_cast<int>(sum);
}

ExpectedSettings readSettings(const std::string& iniPath) {
    ExpectedSettings expected;
    expected.random = readFlag(iniPath, "Random", 0);
    expected.resume = readFlag(iniPath, "Resume", 0);
    expected.sound = readFlag(iniPath, "Sound", 1);

    const int count = static_cast<int>(GetPrivateProfileIntA("PlayList", "Count", 0, iniPath.c_str()));
    std::set<int> indices;
    if (count > 0 && count <= literalCountLimit) {
        for (int i = 0; i < count; ++i) indices.insert(i);
    } else if (count > 0) {
        indices = existingIndices(iniPath, count);
    }
    for (int i : indices) {
        std::string key = "Path" + std::to_string(i);
        std::string entry = inifile::value(iniPath, "PlayList", key.c_str());
        if (!entry.empty()) expected.entries.push_back(entry);
    }

    expected.resumeName = inifile::value(iniPath, "Resume", "Name");
    std::string time = inifile::value(iniPath, "Resume", "Time");
    size_t comma = time.find(',');
    if (comma != std::string::npos && time.find(',', comma + 1) == std::string::npos) {
        expected.resumeMinutes = pieceToInt(time.substr(0, comma));
        expected.resumeSeconds = pieceToInt(time.substr(comma + 1));
    }
    return expected;
}

ExpectedPlaylist buildPlaylist(const std::vector<std::string>& entries) {
    static const char* const extensions[] = {"wmv", "avi", "mpg", "mpeg"};
    ExpectedPlaylist expected;
    for (const std::string& entry : entries) {
        char full[MAX_PATH];
        full[0] = '\0';
        char* filePart = nullptr;
        DWORD length = GetFullPathNameA(entry.c_str(), MAX_PATH, full, &filePart);
        if (length == 0 || length >= MAX_PATH || !full[0]) {
            expected.fails = true;
            return expected;
        }
        std::string path = full;
        // Without a last part the path names a folder, written with its separator.
        const bool folderForm = filePart == nullptr;
        std::string probe = folderForm ? path + "." : path;
        DWORD attributes = GetFileAttributesA(probe.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) continue;
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
            std::string folder = folderForm ? path : path + "\\";
            for (const char* extension : extensions) {
                WIN32_FIND_DATAA found;
                HANDLE search = FindFirstFileA((folder + "*." + extension).c_str(), &found);
                if (search == INVALID_HANDLE_VALUE) continue;
                do {
                    expected.files.push_back(folder + found.cFileName);
                } while (FindNextFileA(search, &found));
                FindClose(search);
            }
        } else if (!folderForm) {
            expected.files.push_back(path);
        }
    }
    return expected;
}

}  // namespace oracle
