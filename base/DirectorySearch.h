#pragma once
#include <windows.h>

// A forward-only walk over the matches of a wildcard pattern. Never throws.
class DirectorySearch {
public:
    DirectorySearch();
    virtual ~DirectorySearch();

    bool open(const char* pattern);
    bool valid() const;  // false also sets the last error to 6
    const char* name() const;
    bool next();
    void close();

private:
    DirectorySearch(const DirectorySearch&) = delete;
    DirectorySearch& operator=(const DirectorySearch&) = delete;

    HANDLE handle;
    WIN32_FIND_DATAA entry;
};
