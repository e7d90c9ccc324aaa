#pragma once
#include <windows.h>

// The 9x family's screen-saver password: the system's "PASSWORD.CPL" checks it
// before a show may close. On other systems these functions do nothing.

// Loads "PASSWORD.CPL" when "ScreenSaveUsePassword" under
// HKCU\Control Panel\Desktop is set, and switches screen-saver-running on.
void loadPasswordSettings();

// Frees "PASSWORD.CPL" and switches screen-saver-running off again.
void unloadPassword();

// SPI_SCREENSAVERRUNNING: while on, the 9x family refuses task switches.
void setScreenSaverRunning(bool running);
