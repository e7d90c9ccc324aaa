#include "dialog/ShellCalls.h"

#include <shellapi.h>

#include <cderr.h>

#include "base/Heap.h"
#include "base/WidePath.h"

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

// An error of the wide dialog's answer that the dialog itself did not report.
DWORD ownError = 0;

// The texts of a list that ends in an empty text, one after another, as
// UTF-16 into `wide` (units of room), or as narrow forms into `narrow`
// (bytes of room). False when they do not fit.
bool widenList(const char* list, wchar_t* wide, int units) {
    for (;;) {
        WidePath text(list);
        const int length = lstrlenW(text.c_str());
        if (!text.valid() || length + 2 > units) return false;
        lstrcpyW(wide, text.c_str());
        wide += length + 1;
        units -= length + 1;
        if (!*list) return true;
        list += lstrlenA(list) + 1;
        if (!*list) {
            *wide = L'\0';
            return true;
        }
    }
}

int narrowText(const wchar_t* wide, char* narrow, int bytes) {
    if (bytes <= 0 || !WidePath::narrow(wide, narrow, bytes)) return -1;
    return lstrlenA(narrow);
}

// The dialog's answer in narrow forms: a single path, or a folder followed by
// names; the offset of the (first) name follows the new form.
bool narrowSelection(const OPENFILENAMEW& wide, OPENFILENAMEA* record) {
    const wchar_t* text = wide.lpstrFile;
    const bool multiple = wide.nFileOffset > 0 && text[wide.nFileOffset - 1] == L'\0';
    char* out = record->lpstrFile;
    int room = static_cast<int>(record->nMaxFile);
    if (!multiple) {
        wchar_t* name = wide.lpstrFile + wide.nFileOffset;
        const wchar_t kept = *name;
        *name = L'\0';
        const int folder = narrowText(text, out, room);
        *name = kept;
        if (folder < 0 || narrowText(text, out, room) < 0) return false;
        record->nFileOffset = static_cast<WORD>(folder);
        return true;
    }
    for (;;) {
        const int length = narrowText(text, out, room - 1);
        if (length < 0) return false;
        if (out == record->lpstrFile) record->nFileOffset = static_cast<WORD>(length + 1);
        out += length + 1;
        room -= length + 1;
        text += lstrlenW(text) + 1;
        if (!*text) {
            *out = '\0';
            return true;
        }
    }
}

// The open-file dialog of the NT family through its wide call, so that names
// the ANSI code page cannot hold come back whole (in their narrow form)
// rather than with '?' in place of what the page lacks.
BOOL getOpenFileNameWide(OPENFILENAMEA* record) {
    typedef BOOL(WINAPI * Call)(OPENFILENAMEW*);
    static Call call = find<Call>("COMDLG32.DLL", "GetOpenFileNameW");
    if (!call) return FALSE;
    const DWORD units = record->nMaxFile + record->nMaxFileTitle + 2 * MAX_PATH;
    wchar_t* block = static_cast<wchar_t*>(heap::allocate(units * sizeof(wchar_t)));
    if (!block) {
        ownError = CDERR_MEMALLOCFAILURE;
        return FALSE;
    }
    OPENFILENAMEW wide;
    ZeroMemory(&wide, sizeof wide);
    wide.lStructSize = record->lStructSize;
    wide.hwndOwner = record->hwndOwner;
    wide.Flags = record->Flags;
    wide.nFilterIndex = record->nFilterIndex;
    wide.lpstrFile = block;
    wide.nMaxFile = record->nMaxFile;
    wide.lpstrFileTitle = block + record->nMaxFile;
    wide.nMaxFileTitle = record->nMaxFileTitle;
    wchar_t* filter = wide.lpstrFileTitle + record->nMaxFileTitle;
    wide.lpstrFile[0] = wide.lpstrFileTitle[0] = filter[0] = L'\0';
    BOOL chosen = FALSE;
    const char* first = record->lpstrFile ? record->lpstrFile : "";
    if (!widenList(first, wide.lpstrFile, record->nMaxFile) ||
        (record->lpstrFilter && !widenList(record->lpstrFilter, filter, 2 * MAX_PATH))) {
        ownError = FNERR_INVALIDFILENAME;
    } else {
        wide.lpstrFile[lstrlenW(wide.lpstrFile) + 1] = L'\0';  // the initial name alone
        if (record->lpstrFilter) wide.lpstrFilter = filter;
        chosen = call(&wide);
        record->nFilterIndex = wide.nFilterIndex;
        if (chosen && !narrowSelection(wide, record)) {
            chosen = FALSE;
            ownError = FNERR_BUFFERTOOSMALL;
        }
        if (chosen && record->lpstrFileTitle)
            narrowText(wide.lpstrFileTitle, record->lpstrFileTitle, record->nMaxFileTitle);
    }
    heap::release(block);
    return chosen;
}

}  // namespace

BOOL getOpenFileName(OPENFILENAMEA* record) {
    ownError = 0;
    if (WidePath::wideSystem()) return getOpenFileNameWide(record);
    typedef BOOL(WINAPI * Call)(OPENFILENAMEA*);
    static Call call = find<Call>("COMDLG32.DLL", "GetOpenFileNameA");
    return call ? call(record) : FALSE;
}

DWORD extendedError() {
    if (ownError) return ownError;
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
    if (WidePath::wideSystem()) {
        // Through the wide call, for a folder the ANSI code page cannot name.
        typedef BOOL(WINAPI * Call)(LPCITEMIDLIST, wchar_t*);
        static Call call = find<Call>("SHELL32.DLL", "SHGetPathFromIDListW");
        wchar_t wide[MAX_PATH];
        return call && call(item, wide) && narrowText(wide, path, WidePath::maxNarrowBytes) >= 0;
    }
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
