#pragma once
#include <windows.h>

// A forward-only walk over the matches of a wildcard pattern. Never throws.
// On the NT family it lists through the wide calls, so that a name the ANSI
// code page cannot hold comes in the narrow form of WidePath, never with '?'
// in place of what the page lacks.
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

    bool take(bool found);

    HANDLE handle;
    WIN32_FIND_DATAA entry;
    WIN32_FIND_DATAW wideEntry;
    bool wide;
    char wideName[MAX_PATH * 5];
};
