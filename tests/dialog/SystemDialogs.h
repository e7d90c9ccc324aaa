#pragma once
#include <windows.h>

#include <string>

// What a user does in the system's open-file dialog and folder browser.
namespace systemdialogs {

// A new folder on drive C:, which the folder browser's tree can open.
std::string browsableFolder(const std::string& hint);

// Open-file dialog: opens `folder` by typing it, then types `names` (one
// name, or several each in double quotes) and presses Open.
void chooseFiles(HWND fileDialog, const std::string& folder, const std::string& names);
// Presses Cancel in either dialog.
void cancel(HWND dialog);

// Folder browser: selects `path` in the tree and presses OK.
void chooseFolder(HWND browser, const std::string& path);
// Text of the tree item the browser has selected, in UTF-8.
std::string selectedFolderName(HWND browser);

}  // namespace systemdialogs
