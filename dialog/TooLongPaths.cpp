#include "dialog/TooLongPaths.h"

#include "dialog/DialogMessages.h"
#include "resources/ResourceIds.h"

namespace {
// A message box taller than the screen would hide its OK button.
const int namesListed = 10;
}

TooLongPaths::TooLongPaths() : total(0) {}

TooLongPaths::~TooLongPaths() {}

void TooLongPaths::add(const char* name) {
    if (++total > namesListed) return;
    if (total > 1) names += "\n";
    names += name;
}

void TooLongPaths::tell(HWND owner) const {
    if (total == 0) return;
    CountedString listed = names;
    if (total > namesListed) {
        CountedString more;
        more.assignNumber(total - namesListed);
        listed += "\n";
        listed += dialogmessages::format(IDS_MORE_NAMES, more.c_str()).c_str();
    }
    dialogmessages::tell(owner, IDS_PATHS_TOO_LONG, listed.c_str());
}
