#pragma once
#include <windows.h>

// The run modes that the command line can name.
enum class RunMode {
    Invalid,         // a letter outside the table: exit code -1
    Settings,        // settings dialog without a parent window
    OwnedSettings,   // settings dialog owned by windowHandle, or by the
                     // foreground window when that is 0 or not a window
    FullScreen,      // the full-screen show
    Preview,         // preview inside windowHandle (0 when no number was given)
    ChangePassword,  // password change; parent as for OwnedSettings
};

struct ModeChoice {
    RunMode mode;
    HWND windowHandle;
};

// The command tail behind the program's name: a quoted name is skipped up to
// its closing quote, an unquoted one up to the first byte of 32 or less, and
// then every byte from 1 to 32. Returns a pointer into commandLine.
const char* findCommandTail(const char* commandLine);

// The window handle written in decimal at text; 0 when no digit is there.
// The value wraps at 32 bits.
HWND parseWindowHandle(const char* text);

// Reads the switch letter and its handle without running anything.
ModeChoice chooseMode(const char* commandTail);
