#pragma once
#include <windows.h>
#include <shlobj.h>

#include "base/WidePath.h"

// Drives the system's folder browser; remembers the folder chosen last and
// opens there the next time.
class FolderPicker {
public:
    explicit FolderPicker(HWND owner);
    virtual ~FolderPicker();

    // Shows the browser with `prompt` above the tree, rooted at `root`
    // (null for the desktop); true when a file-system folder was chosen.
    bool browse(const char* prompt, LPCITEMIDLIST root);
    // The folder chosen last; empty before the first successful browse.
    const char* chosenPath() const { return chosen; }
    // The name of what the last browse chose when it was no file-system
    // folder; null when it was cancelled or gave a folder.
    const char* refusedName() const { return refused ? refusedText : nullptr; }

private:
    FolderPicker(const FolderPicker&) = delete;
    FolderPicker& operator=(const FolderPicker&) = delete;

    BROWSEINFOA record;
    char chosen[WidePath::maxNarrowBytes];
    bool refused;
    char refusedText[MAX_PATH];
};

// Browse callback: selects the folder text given as `data` once the
// browser is ready.
int CALLBACK preselectCallback(HWND window, UINT message, LPARAM lParam, LPARAM data);
