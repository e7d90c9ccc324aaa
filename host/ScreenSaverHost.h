#pragma once
#include <windows.h>

#include "host/CommandLine.h"

// Start-up of the screen saver: prepares the process and runs the one mode
// that the command tail names. Returns the process's exit code.
int hostMain(HMODULE module, const char* commandTail);

// Runs a mode already chosen; -1 for an invalid choice, a preview window that
// does not exist, or the password change outside the 9x family.
int runMode(const ModeChoice& choice);

// The settings dialog (template 2003) owned by parent; its result, or -1 when
// it cannot be created, or 0 when registerDialogClasses refuses.
int runSettingsDialog(HWND parent);

// The system's password-change dialog of the 9x family ("MPR.DLL"); skipped
// silently when the component is missing.
void changePassword(HWND parent);

// Hook for window classes the settings dialog needs; this program needs none.
bool registerDialogClasses(HMODULE module);
