#pragma once
#include <windows.h>

#include "base/CountedString.h"

// The files of one addition whose paths are too long to be stored, named
// to the user in one message.
class TooLongPaths {
public:
    TooLongPaths();
    virtual ~TooLongPaths();

    void add(const char* name);
    // Shows the message in a box owned by `owner`; nothing when there were none.
    void tell(HWND owner) const;

private:
    CountedString names;  // the first few, one a line
    int total;
};
