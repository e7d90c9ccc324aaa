// The host's own procedures in this process are tested without a show: this
// definition takes the place of the program's ShowController, so that every
// message goes on to the closing rules and each probe window is accepted.
// The program itself, started by the other cases, has the real one.
#include "host/ClosingRules.h"
#include "playback/ShowController.h"

LRESULT CALLBACK ShowController(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return defaultSaverProc(window, message, wParam, lParam);
}
