#pragma once
#include <windows.h>

#include <functional>
#include <string>

// Drives copies of cinevane.scr under test: each case gets a scratch folder
// with the program, an INI file that lists a real clip and, when asked, the
// fake system components beside it.
namespace driver {

const DWORD DEADLINE = 20000;      // milliseconds for anything awaited
const DWORD TIMED_OUT = 0x7FFFFFFF;  // exit code reported when none came

struct Copy {
    std::string folder;   // with a trailing backslash
    std::string program;  // full path
};

enum Component { NONE = 0, PASSWORD_CPL = 1, MPR_DLL = 2 };

// A copy named fileName in a fresh folder (hint may contain blanks).
// File names of the copies: Wine reports the 9x family to the 98 ones; the
// mouse ones are for cases that move the pointer (slower to end under Wine).
const char NT_PROGRAM[] = "cinevanent.scr";
const char NT_MOUSE_PROGRAM[] = "cinevanemouse.scr";
const char WIN98_PROGRAM[] = "cinevane98.scr";
const char WIN98_MOUSE_PROGRAM[] = "cinevane98mouse.scr";
const char APP_DEFAULTS[] = "Software\\Wine\\AppDefaults\\";

Copy makeCopy(const std::string& hint, const std::string& fileName = NT_PROGRAM,
              int components = NONE);

// Starts the program with the command line given whole (the program's
// name included) and the program's path as the application name.
PROCESS_INFORMATION start(const Copy& copy, const std::string& commandLine);
// Starts it with "\"program\" " + tail.
PROCESS_INFORMATION startWith(const Copy& copy, const std::string& tail);

// Pumps this thread's messages until done() or the deadline; true when done.
bool waitUntil(const std::function<bool()>& done, DWORD deadline = DEADLINE);

// The exit code after the process ended (pumping meanwhile), or TIMED_OUT
// after terminating it. Closes the handles.
DWORD finish(PROCESS_INFORMATION& process, DWORD deadline = DEADLINE);

// A top-level window of the process with the given class and title.
HWND findWindowOf(const PROCESS_INFORMATION& process, const char* className, const char* title,
                  DWORD deadline = DEADLINE);
HWND findSaver(const PROCESS_INFORMATION& process);  // the full-screen show
bool processEnded(const PROCESS_INFORMATION& process);

// Waits until the window's thread has handled everything queued before this
// call (posted messages and input come before paint) and has painted.
// False when the window vanished meanwhile.
bool settle(HWND window);

// Real input through SendInput.
void pressKey(WORD key, bool withAlt = false);
void clickButton(DWORD downFlag, DWORD upFlag, DWORD data = 0);
void placeCursor(int x, int y);
void moveMouse(int dx, int dy);  // relative, unaccelerated small steps

// Under Wine the saver may handle the move of SendInput before the cursor
// position it reads has caught up, and look again at a later message. For a
// check that a movement does NOT end the show, this waits until the cursor
// position has settled where the moves put it, lets the window look at it
// once more (a WM_MOUSEMOVE carries no position the rules use) and settles
// the window. False when the window went.
bool cursorSettledAndSeen(HWND window);

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

// Registry helpers for HKCU.
DWORD readDword(const char* path, const char* name, DWORD fallback = 0);
// A window handle that a fake recorded whole (REG_QWORD); null when absent.
HWND readWindow(const char* path, const char* name);
std::string readString(const char* path, const char* name);
void writeString(const char* path, const char* name, const char* value);
void writeDword(const char* path, const char* name, DWORD value);
void deleteTree(const char* path);

}  // namespace driver

namespace driver {

// Ends a full-screen show by a key press once it has the foreground;
// returns its exit code.
DWORD endShowByKey(PROCESS_INFORMATION& process, HWND saver);

// Waits until the saver window is the foreground window.
bool waitForeground(HWND window);

const char FAKE_PASSWORD_KEY[] = "Software\\CinevaneTests\\Password";
const char FAKE_MPR_KEY[] = "Software\\CinevaneTests\\Mpr";

}  // namespace driver
