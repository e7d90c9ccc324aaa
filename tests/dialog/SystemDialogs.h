#pragma once
#include <windows.h>

#include <string>
#include <vector>

// What a user does in the system's open-file dialog and folder browser.
// Paths and names are in the program's narrow form (base/WidePath.h), so that
// they may hold names of any script.
namespace systemdialogs {

// A new folder on drive C:, which the folder browser's tree can open.
std::string browsableFolder(const std::string& hint);

// Open-file dialog: opens `folder` by typing it, then types `names` (one
// name, or several each in double quotes) and presses Open.
void chooseFiles(HWND fileDialog, const std::string& folder, const std::string& names);
// Open-file dialog: opens `folder` by typing it.
void openFolder(HWND fileDialog, const std::string& folder);
// Open-file dialog: the descriptions in the file type box, in UTF-8, and the
// one selected (-1 for none).
std::vector<std::string> fileTypes(HWND fileDialog, int& selected);
// Open-file dialog: chooses the file type at index, as a user does.
void chooseFileType(HWND fileDialog, int index);
// Open-file dialog: the names the file list shows, in UTF-8.
std::vector<std::string> listedFiles(HWND fileDialog);
// Presses Cancel in either dialog.
void cancel(HWND dialog);

// A message box: its text in UTF-8, and its OK button pressed.
std::string messageText(HWND box);
void acknowledge(HWND box);

// Folder browser: selects `path` in the tree and presses OK.
void chooseFolder(HWND browser, const std::string& path);
// Folder browser: selects the computer, which has no path, and presses OK,
// which the browser allows for it as some do; returns its name in UTF-8.
std::string chooseComputer(HWND browser);
// Text of the tree item the browser has selected, in UTF-8.
std::string selectedFolderName(HWND browser);

}  // namespace systemdialogs
