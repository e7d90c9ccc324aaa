#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Drives modal dialogs of the test's own thread. A thread timer fires inside
// whatever modal loop runs (the settings dialog, the open-file dialog, the
// folder browser), finds the dialog that appeared and runs the test's action
// on it there.
namespace driver {

using Action = std::function<void(HWND dialog)>;

// Runs `action` once on the next visible, enabled top-level dialog of this
// thread that was not open when this was called. After `timeoutMs` without
// such a dialog the arming lapses and `lapsed()` reports it; a dialog still
// open `timeoutMs` after appearing is cancelled so that no test hangs.
void whenDialogAppears(Action action, DWORD timeoutMs = 20000);
// Whether every armed action ran (none lapsed) since the last `reset()`.
bool lapsed();
void reset();

// Real input (see support/UserInput.h), given to a dialog of this thread:
// each returns once the dialog has handled it. A left click at the centre of
// `window` or at a point of it, a key press and release.
void click(HWND window);
void clickAt(HWND window, POINT clientPoint);
void pressKey(WORD virtualKey);

// Text of a window read as wide text, in UTF-8 for comparison and printing.
std::string wideText(HWND window);
std::string utf8(const wchar_t* text);

}  // namespace driver
