#pragma once
#include <windows.h>

// The indices of the play-list keys ("Path" and a decimal index without
// leading zeros, in any letter case, as the profile functions match key
// names) found in a list of key names, ascending and each once.
class PathKeys {
public:
    PathKeys();
    virtual ~PathKeys();

    // Replaces the contents with the indices below limit of the keys in
    // names: zero-terminated names one after another filling the bytes
    // given; empty names are passed over.
    void collect(const char* names, int bytes, int limit);
    int count() const { return used; }
    int at(int index) const { return indices[index]; }

    // The index of a play-list key name; false for any other name.
    static bool parse(const char* name, int* index);

private:
    PathKeys(const PathKeys&) = delete;
    PathKeys& operator=(const PathKeys&) = delete;

    void clear();

    int* indices;
    int used;
};
