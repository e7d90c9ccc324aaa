#pragma once
#include <windows.h>

// Procedure of the settings dialog (template IDD_SETTINGS): edits the play
// list and the three options; OK writes them to the INI file beside the
// executable. Ends with 1 after OK, 2 after Cancel, -1 when the
// initialisation fails.
// The dialog's private message: recompute the button states from the list's
// selection. In the WM_APP range: the dialog manager's own messages, such as
// DM_SETDEFID, sit at WM_USER and just above it.
const UINT WM_UPDATE_BUTTONS = WM_APP + 1;

INT_PTR CALLBACK settingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Shows the dialog modally. On the NT family it is a Unicode dialog, so that
// its list shows every name as it is, in scripts the ANSI code page lacks too.
INT_PTR showSettingsDialog(HINSTANCE module, HWND parent);
