#pragma once
#include <windows.h>

// Procedure of the settings dialog (template IDD_SETTINGS): edits the play
// list and the three options; OK writes them to the INI file beside the
// executable. Ends with 1 after OK, 2 after Cancel, -1 when the
// initialisation fails.
INT_PTR CALLBACK settingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
