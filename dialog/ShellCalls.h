#pragma once
#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>

// The system dialogs' functions, looked up when first used. Their libraries
// are large and only the settings mode needs them, so a show starting from
// the idle timer does not pay for loading them. Each call answers as a
// cancelled dialog when its library or function is missing.
namespace shellcalls {

BOOL getOpenFileName(OPENFILENAMEA* record);
LPITEMIDLIST browseForFolder(BROWSEINFOA* record);
BOOL pathFromItemList(LPCITEMIDLIST item, char* path);
void freeTaskMemory(void* block);

}  // namespace shellcalls
