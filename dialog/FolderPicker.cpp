#include "dialog/FolderPicker.h"

#include "base/WidePath.h"
#include "dialog/ShellCalls.h"

FolderPicker::FolderPicker(HWND owner) : record(), refused(false) {
    record.hwndOwner = owner;
    record.ulFlags = BIF_RETURNONLYFSDIRS;
    chosen[0] = 0;
    refusedText[0] = 0;
}

FolderPicker::~FolderPicker() {}

bool FolderPicker::browse(const char* prompt, LPCITEMIDLIST root) {
    record.pidlRoot = root;
    record.lpszTitle = prompt;
    refused = false;
    if (chosen[0]) {
        record.lpfn = preselectCallback;
        record.lParam = reinterpret_cast<LPARAM>(chosen);
    }
    LPITEMIDLIST item = shellcalls::browseForFolder(&record);
    if (!item) return false;
    // Converted into a local buffer first, so that a failed conversion
    // keeps the previous choice.
    char path[WidePath::maxNarrowBytes];
    path[0] = 0;
    const bool converted = shellcalls::pathFromItemList(item, path) && path[0];
    // Some browsers let such an item be chosen, a library of Windows 7 say.
    refused = !converted;
    if (refused && !shellcalls::displayName(item, refusedText)) refusedText[0] = 0;
    shellcalls::freeItemList(item);
    if (!converted) return false;
    lstrcpynA(chosen, path, sizeof chosen);
    return true;
}

int CALLBACK preselectCallback(HWND window, UINT message, LPARAM, LPARAM data) {
    if (message == BFFM_INITIALIZED && data) {
        const char* folder = reinterpret_cast<const char*>(data);
        if (WidePath::goesWide(folder)) {
            WidePath wide(folder);
            SendMessageW(window, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(wide.c_str()));
        } else {
            SendMessageA(window, BFFM_SETSELECTIONA, TRUE, data);
        }
    }
    return 0;
}
