#include "dialog/ShellCalls.h"

#include <shellapi.h>

namespace shellcalls {
namespace {

// Loaded once per process and kept: the dialog may be opened again.
FARPROC lookUp(const char* library, const char* function) {
    HMODULE module = GetModuleHandleA(library);
    if (!module) module = LoadLibraryA(library);
    return module ? GetProcAddress(module, function) : nullptr;
}

template <typename Function>
Function find(const char* library, const char* function) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(lookUp(library, function)));
}

}  // namespace

BOOL getOpenFileName(OPENFILENAMEA* record) {
    typedef BOOL(WINAPI * Call)(OPENFILENAMEA*);
    static Call call = find<Call>("COMDLG32.DLL", "GetOpenFileNameA");
    return call ? call(record) : FALSE;
}

DWORD extendedError() {
    typedef DWORD(WINAPI * Call)();
    static Call call = find<Call>("COMDLG32.DLL", "CommDlgExtendedError");
    return call ? call() : 0;
}

LPITEMIDLIST browseForFolder(BROWSEINFOA* record) {
    typedef LPITEMIDLIST(WINAPI * Call)(BROWSEINFOA*);
    static Call call = find<Call>("SHELL32.DLL", "SHBrowseForFolderA");
    return call ? call(record) : nullptr;
}

BOOL pathFromItemList(LPCITEMIDLIST item, char* path) {
    typedef BOOL(WINAPI * Call)(LPCITEMIDLIST, char*);
    static Call call = find<Call>("SHELL32.DLL", "SHGetPathFromIDListA");
    return call ? call(item, path) : FALSE;
}

BOOL displayName(LPCITEMIDLIST item, char* name) {
    typedef DWORD_PTR(WINAPI * Call)(LPCSTR, DWORD, SHFILEINFOA*, UINT, UINT);
    static Call call = find<Call>("SHELL32.DLL", "SHGetFileInfoA");
    SHFILEINFOA info = {};
    if (!call || !call(reinterpret_cast<LPCSTR>(item), 0, &info, sizeof info, SHGFI_PIDL | SHGFI_DISPLAYNAME)) {
        return FALSE;
    }
    lstrcpynA(name, info.szDisplayName, MAX_PATH);
    return TRUE;
}

void freeItemList(LPITEMIDLIST item) {
    typedef HRESULT(WINAPI * Call)(IMalloc**);
    static Call call = find<Call>("SHELL32.DLL", "SHGetMalloc");
    IMalloc* allocator = nullptr;
    if (call && SUCCEEDED(call(&allocator)) && allocator) {
        allocator->Free(item);
        allocator->Release();
    }
}

}  // namespace shellcalls
