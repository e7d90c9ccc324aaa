#pragma once
#include <windows.h>

// Procedure of the settings dialog (template 2003).
INT_PTR CALLBACK settingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
