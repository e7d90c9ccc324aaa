#pragma once
#include "base/CountedString.h"

// An absolute path cut into its folder (up to and including the last
// separator) and its last component.
class FilePath {
public:
    explicit FilePath(const CountedString& path);  // throws the last error
    virtual ~FilePath();

    CountedString fullPath() const;
    CountedString folderPart() const;
    bool isFolderForm() const;
    // Whether something exists there whose attributes hold every bit asked for.
    bool exists(DWORD requiredAttributes) const;

private:
    void resolveWide(const CountedString& path);

    CountedString folder;
    CountedString leaf;
};
