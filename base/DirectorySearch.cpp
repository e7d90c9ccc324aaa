#include "base/DirectorySearch.h"

#include "base/WidePath.h"

DirectorySearch::DirectorySearch() : handle(INVALID_HANDLE_VALUE), wide(WidePath::wideSystem()) {
    ZeroMemory(&entry, sizeof entry);
    wideName[0] = '\0';
}

DirectorySearch::~DirectorySearch() {
    close();
}

bool DirectorySearch::open(const char* pattern) {
    close();
    if (!pattern) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    if (wide) {
        WidePath widePattern(pattern);
        if (!widePattern.valid()) {
            SetLastError(ERROR_FILENAME_EXCED_RANGE);
            return false;
        }
        handle = FindFirstFileW(widePattern.c_str(), &wideEntry);
    } else {
        handle = FindFirstFileA(pattern, &entry);
    }
    if (handle == INVALID_HANDLE_VALUE) {
        ZeroMemory(&entry, sizeof entry);
        wideName[0] = '\0';
        return false;
    }
    return take(true);
}

// A wide name whose narrow form would not fit is passed over.
bool DirectorySearch::take(bool found) {
    while (found && wide && !WidePath::narrow(wideEntry.cFileName, wideName, sizeof wideName))
        found = FindNextFileW(handle, &wideEntry) != FALSE;
    if (!found) close();
    return valid();
}

bool DirectorySearch::valid() const {
    if (handle == INVALID_HANDLE_VALUE) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    return true;
}

const char* DirectorySearch::name() const {
    return wide ? wideName : entry.cFileName;
}

bool DirectorySearch::next() {
    if (handle == INVALID_HANDLE_VALUE) return valid();
    return take(wide ? FindNextFileW(handle, &wideEntry) != FALSE : FindNextFileA(handle, &entry) != FALSE);
}

void DirectorySearch::close() {
    if (handle != INVALID_HANDLE_VALUE) FindClose(handle);
    handle = INVALID_HANDLE_VALUE;
    ZeroMemory(&entry, sizeof entry);
    wideName[0] = '\0';
}
