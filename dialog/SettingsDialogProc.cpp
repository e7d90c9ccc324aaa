#include "dialog/SettingsDialogProc.h"

// STAND-IN until the settings dialog is written: the dialog ends at once
// with 2, as if cancelled.
INT_PTR CALLBACK settingsDialogProc(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) {
        EndDialog(dialog, 2);
        return TRUE;
    }
    return FALSE;
}
