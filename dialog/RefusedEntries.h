#pragma once
#include <windows.h>

#include "base/CountedString.h"

// The files or folders of one addition that could not go into the list,
// named to the user in one message with the reason for the first of them.
class RefusedEntries {
public:
    RefusedEntries();
    virtual ~RefusedEntries();

    void add(const char* name, const CountedString& why);
    // Shows the message in a box owned by `owner`; nothing when none was refused.
    void tell(HWND owner) const;

private:
    CountedString names;  // the first few, one a line
    CountedString reason;
    int total;
};
