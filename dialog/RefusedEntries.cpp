#include "dialog/RefusedEntries.h"

#include "dialog/DialogMessages.h"
#include "resources/ResourceIds.h"

namespace {
// A message box taller than the screen would hide its OK button.
const int namesListed = 10;
}

RefusedEntries::RefusedEntries() : total(0) {}

RefusedEntries::~RefusedEntries() {}

void RefusedEntries::add(const char* name, const CountedString& why) {
    if (++total > namesListed) return;
    if (total == 1) {
        reason = why;
    } else {
        names += "\n";
    }
    names += name;
}

void RefusedEntries::tell(HWND owner) const {
    if (total == 0) return;
    CountedString listed = names;
    if (total > namesListed) {
        CountedString more;
        more.assignNumber(total - namesListed);
        listed += "\n";
        listed += dialogmessages::format(IDS_MORE_NAMES, more.c_str()).c_str();
    }
    dialogmessages::tell(owner, IDS_NOT_ADDED, listed.c_str(), reason.c_str());
}
