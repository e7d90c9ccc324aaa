#pragma once
#include "base/CountedString.h"

// A new version of a file, written as a copy beside it and put in its place
// whole, so that a failure part-way leaves the file as it was. Works with
// the calls of every system from Windows 98 on.
class ReplacementFile {
public:
    explicit ReplacementFile(const CountedString& target);
    // Removes the copy unless it was put in place.
    ~ReplacementFile();

    // Copies the file as it is now (nothing when it does not exist) into a
    // new file beside it. Throws the system's error code; ERROR_ACCESS_DENIED
    // for a read-only file or a folder of that name.
    void prepare();
    // The same, but a copy in the ANSI code page becomes a Unicode profile
    // file (UTF-16 with its byte-order mark), which the profile functions of
    // the NT family keep as Unicode: the form for names the page cannot hold.
    void prepareUnicode();
    const CountedString& copyPath() const { return copy; }
    // Puts the copy in place. False, with the copy removed, when the file
    // changed since prepare (unless `regardless`): the copy would undo that
    // change. Throws the system's error code.
    bool putInPlace(bool regardless);

    // Moves `from` over `to`, replacing it; where the system cannot replace
    // in one call, by renaming the old file aside first.
    static void moveOver(const char* from, const char* to);
    // The same by renames alone: the old file goes back when the new one
    // cannot take its place.
    static void moveOverByRenaming(const char* from, const char* to);
    // Whether the bytes begin as a UTF-16 (little-endian) text file does.
    static bool startsWithByteOrderMark(const char* bytes, DWORD size);

private:
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    bool targetUnchanged() const;
    void writeCopy(bool unicode);

    CountedString target;
    CountedString copy;
    char* snapshot;         // the file's bytes at prepare, or null
    DWORD snapshotSize;
    bool targetExisted;
};
