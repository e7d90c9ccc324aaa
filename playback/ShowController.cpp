#include "playback/ShowController.h"

#include "host/ClosingRules.h"

// STAND-IN until the show controller is written: plays nothing and passes
// every message on to the host's closing rules.
LRESULT CALLBACK ShowController(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return defaultSaverProc(window, message, wParam, lParam);
}
