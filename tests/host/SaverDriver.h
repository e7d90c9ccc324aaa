#pragma once
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "support/MessagePump.h"
#include "support/ProgramCopy.h"
#include "support/RunningProgram.h"
#include "support/UserInput.h"

// What the host's cases need beyond the shared helpers: copies of
// cinevane.scr with an INI file that lists a real clip and, when asked, the
// fake system components beside them; windows of the test's own that stand
// for the display settings or another program; the registry the fakes
// record their calls in.
namespace driver {

using pump::DEADLINE;
using userinput::clickButton;
using userinput::moveMouse;
using userinput::placeCursor;
using userinput::pressKey;

enum Component { NONE = 0, PASSWORD_CPL = 1, MPR_DLL = 2 };

// File names of the copies: Wine reports the 9x family to the 98 ones; the
// mouse ones are for cases that move the pointer (slower to end under Wine).
const char NT_PROGRAM[] = "cinevanent.scr";
const char NT_MOUSE_PROGRAM[] = "cinevanemouse.scr";
const char WIN98_PROGRAM[] = "cinevane98.scr";
const char WIN98_MOUSE_PROGRAM[] = "cinevane98mouse.scr";
const char APP_DEFAULTS[] = "Software\\Wine\\AppDefaults\\";

// A copy named fileName in a fresh folder (hint may contain blanks).
ProgramCopy makeCopy(const std::string& hint, const std::string& fileName = NT_PROGRAM, int components = NONE);

// Under Wine the saver may handle the move of SendInput before the cursor
// position it reads has caught up, and look again at a later message. For a
// check that a movement does NOT end the show, this waits until the cursor
// position has settled where the moves put it, lets the window look at it
// once more (a WM_MOUSEMOVE carries no position the rules use) and settles
// the window. Fails when the pointer did not get there or the window went.
::testing::AssertionResult cursorSettledAndSeen(HWND window);

// The driver's own top-level window, with what it received.
struct TestWindow {
    HWND handle = nullptr;
    int helpCount = 0, contextMenuCount = 0, disabledCount = 0;
    WPARAM lastWParam = 0;
    LPARAM lastLParam = 0;
    HANDLE helpItem = nullptr;  // from the HELPINFO of the last WM_HELP
};
// Shown without activation.
TestWindow* createTestWindow(int width = 320, int height = 240);
// One window of the driver that takes the foreground when asked; it lives
// as long as the test program.
TestWindow* foregroundWindow();
bool takeForeground();
void destroyTestWindow(TestWindow* window);

// Waits until the window is the foreground window.
bool waitForeground(HWND window);

// Registry helpers for HKCU.
DWORD readDword(const char* path, const char* name, DWORD fallback = 0);
// A window handle that a fake recorded whole (REG_QWORD); null when absent.
HWND readWindow(const char* path, const char* name);
std::string readString(const char* path, const char* name);
void writeString(const char* path, const char* name, const char* value);
void writeDword(const char* path, const char* name, DWORD value);
void deleteTree(const char* path);

const char FAKE_PASSWORD_KEY[] = "Software\\CinevaneTests\\Password";
const char FAKE_MPR_KEY[] = "Software\\CinevaneTests\\Mpr";

}  // namespace driver
