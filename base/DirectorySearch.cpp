#include "base/DirectorySearch.h"

DirectorySearch::DirectorySearch() : handle(INVALID_HANDLE_VALUE) {
    ZeroMemory(&entry, sizeof entry);
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
    handle = FindFirstFileA(pattern, &entry);
    if (handle == INVALID_HANDLE_VALUE) {
        ZeroMemory(&entry, sizeof entry);
        return false;
    }
    return true;
}

bool DirectorySearch::valid() const {
    if (handle == INVALID_HANDLE_VALUE) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    return true;
}

const char* DirectorySearch::name() const {
    return entry.cFileName;
}

bool DirectorySearch::next() {
    if (handle != INVALID_HANDLE_VALUE && !FindNextFileA(handle, &entry)) close();
    return valid();
}

void DirectorySearch::close() {
    if (handle != INVALID_HANDLE_VALUE) FindClose(handle);
    handle = INVALID_HANDLE_VALUE;
    ZeroMemory(&entry, sizeof entry);
}
