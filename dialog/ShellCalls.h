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
// Why the open-file dialog failed last; 0 after a cancel.
DWORD extendedError();
LPITEMIDLIST browseForFolder(BROWSEINFOA* record);
// The item's path into a buffer of WidePath::maxNarrowBytes (in the narrow
// form of base/WidePath.h on the NT family).
BOOL pathFromItemList(LPCITEMIDLIST item, char* path);
// The name the shell shows for the item, into a MAX_PATH buffer.
BOOL displayName(LPCITEMIDLIST item, char* name);
// Frees an item list from the folder browser with the shell's own allocator,
// which on Windows 95 and 98 is not the COM task allocator unless OLE32 was
// loaded first.
void freeItemList(LPITEMIDLIST item);

}  // namespace shellcalls
