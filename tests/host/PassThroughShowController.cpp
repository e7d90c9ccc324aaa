// The host's own procedures in this process are tested without a show: this
// definition takes the place of the program's ShowController, so that every
// message goes on to the closing rules and each probe window is accepted.
// It counts what it is handed, so that a case can tell whether the host
// passed a message on or answered it itself. The program itself, started by
// the other cases, has the real one.
#include "PassThroughShowController.h"

#include <map>

#include "host/ClosingRules.h"
#include "playback/show/ShowController.h"

namespace {
std::map<UINT, int> handed;
}  // namespace

int messagesHandedToShow(UINT message) {
    return handed[message];
}

LRESULT CALLBACK ShowController(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ++handed[message];
    return defaultSaverProc(window, message, wParam, lParam);
}
