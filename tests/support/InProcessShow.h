#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "support/MessagePump.h"
#include "support/ProgramCopy.h"

// A show run inside the test program: a top-level window whose class
// procedure is the host's own, so that the real host and the real show
// controller handle every message. The controller keeps its objects for the
// whole process, so each such show runs in a process of its own (a copy of
// the test program beside its cinevane.ini, started with --in-process).
namespace inprocess {

// The main() of a test program with in-process cases: with --in-process (a
// copy started by one of its cases) it runs the one case its filter names;
// otherwise every case except those of the suite inProcessSuite.
int runTests(int argc, char** argv, const char* inProcessSuite);

// A copy of this test program in a fresh folder, beside which a case
// prepares the INI file...
ProgramCopy copyOfThisProgram(const std::string& hint);
// ...and then runs the in-process case "Suite.Name" in it. Fails the calling
// test when that case fails (its output comes first) or does not finish
// within eight deadlines (a case may wait for several of its own, as for
// three stalls of a show).
void runCase(const ProgramCopy& copy, const std::string& suiteAndName);

// Set by main() in the copy that runs one in-process case.
extern bool enabled;
// The INI file beside that copy, which its show reads and writes.
std::string iniPath();

// The fixture of the in-process cases: skipped except in that copy (a
// SetUp of its own returns at once when IsSkipped()).
class Case : public ::testing::Test {
protected:
    void SetUp() override;
};

struct SaverHooks {
    std::function<void()> beforeCreate;                // just before WM_CREATE reaches the host
    std::function<void(UINT message)> afterShowMessage;  // after WM_SHOW_START or WM_SHOW_NEXT
    std::function<void(UINT message)> afterMessage;      // after every message the window handled
};

// Creates the window at 0, 0 with the given size (by default the primary
// screen's), topmost, as the host's full-screen window is. Null when the
// window was refused.
HWND createSaver(int width, int height, const SaverHooks& hooks);
HWND createSaver(const SaverHooks& hooks = {});

// Handles messages until the window is gone; false when it is still there
// after the deadline.
bool waitUntilGone(HWND window, DWORD deadline = pump::DEADLINE);
// The same after a key for the show in the window, given as the video view
// passes keys on to it.
bool endWithKey(HWND window);

// The number of WM_SHOW_START and WM_SHOW_NEXT messages handled so far, and
// whether one of them is being handled now.
int showMessagesHandled();
bool handlingShowNext();
// The wParam of the message the saver window handles now (or handled last).
WPARAM handlingParameter();

// The one open MCI device of the process, by its alias; empty when none.
std::string openDeviceAlias();
// The media file behind an alias (the alias is the path and "_<counter>").
std::string pathOfAlias(const std::string& alias);
// MCI_STATUS of one item for the device with that alias; false on failure.
bool deviceStatus(const std::string& alias, DWORD item, DWORD& value);

// What the process holds: objects counted under Wine as well as through
// GetGuiResources, which Wine answers with 0.
struct ResourceFigures {
    DWORD gdiObjects;      // live GDI handles of the process
    DWORD windows;         // windows of this thread, children included
    DWORD guiGdi;          // GetGuiResources(GR_GDIOBJECTS)
    DWORD guiUser;         // GetGuiResources(GR_USEROBJECTS)
    SIZE_T privateBytes;   // PrivateUsage, or PagefileUsage where that is 0
    SIZE_T heapBytes;      // blocks in use in all heaps of the process
};
ResourceFigures measure();

}  // namespace inprocess
