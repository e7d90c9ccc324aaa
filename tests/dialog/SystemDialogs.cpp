#include "SystemDialogs.h"

#include <commctrl.h>
#include <dlgs.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "DialogDriver.h"
#include "base/WidePath.h"
#include "support/MessagePump.h"

namespace systemdialogs {

namespace {

void removeTree(const std::wstring& folder) {
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring path = folder + L"\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                removeTree(path);
            } else {
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

// Texts are the program's narrow forms (base/WidePath.h): names in any script.
std::wstring wide(const std::string& narrow) {
    std::wstring text(narrow.size() + 1, L'\0');
    EXPECT_TRUE(WidePath::decode(narrow.c_str(), &text[0], static_cast<int>(text.size())));
    return text.c_str();
}

}  // namespace

std::string browsableFolder(const std::string& hint) {
    // Folders of earlier runs would only slow the browser's tree down.
    static bool cleared = false;
    if (!cleared) removeTree(L"C:\\cinevane-tests");
    cleared = true;
    CreateDirectoryA("C:\\cinevane-tests", nullptr);
    static int counter = 0;
    char name[64];
    wsprintfA(name, "C:\\cinevane-tests\\%lu-%lu-%d-", GetCurrentProcessId(), GetTickCount(), ++counter);
    const std::string folder = name + hint;
    EXPECT_TRUE(CreateDirectoryW(wide(folder).c_str(), nullptr)) << folder;
    return folder;
}

namespace {

void enterFileName(HWND dialog, const std::string& text) {
    HWND box = GetDlgItem(dialog, edt1) ? GetDlgItem(dialog, edt1) : GetDlgItem(dialog, cmb13);
    SetWindowTextW(box, wide(text).c_str());
    SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
}

}  // namespace

void chooseFiles(HWND fileDialog, const std::string& folder, const std::string& names) {
    enterFileName(fileDialog, folder);
    enterFileName(fileDialog, names);
}

void openFolder(HWND fileDialog, const std::string& folder) {
    enterFileName(fileDialog, folder);
}

std::vector<std::string> fileTypes(HWND fileDialog, int& selected) {
    HWND typeBox = GetDlgItem(fileDialog, cmb1);
    std::vector<std::string> types;
    const LRESULT count = SendMessageW(typeBox, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t text[256] = {};
        SendMessageW(typeBox, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        types.push_back(driver::utf8(text));
    }
    selected = static_cast<int>(SendMessageW(typeBox, CB_GETCURSEL, 0, 0));
    return types;
}

void chooseFileType(HWND fileDialog, int index) {
    HWND typeBox = GetDlgItem(fileDialog, cmb1);
    SendMessageW(typeBox, CB_SETCURSEL, index, 0);
    // What the combo box tells its owner when the user picks an entry.
    SendMessageW(fileDialog, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELCHANGE), reinterpret_cast<LPARAM>(typeBox));
    SendMessageW(fileDialog, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELENDOK), reinterpret_cast<LPARAM>(typeBox));
}

namespace {

BOOL CALLBACK findListView(HWND window, LPARAM found) {
    char name[32] = {};
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpA(name, WC_LISTVIEWA) != 0) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

}  // namespace

std::vector<std::string> listedFiles(HWND fileDialog) {
    HWND list = nullptr;
    EnumChildWindows(fileDialog, findListView, reinterpret_cast<LPARAM>(&list));
    std::vector<std::string> names;
    const LRESULT count = list ? SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) : 0;
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t text[MAX_PATH] = {};
        LVITEMW item = {};
        item.iSubItem = 0;
        item.pszText = text;
        item.cchTextMax = MAX_PATH;
        SendMessageW(list, LVM_GETITEMTEXTW, i, reinterpret_cast<LPARAM>(&item));
        names.push_back(driver::utf8(text));
    }
    return names;
}

void cancel(HWND dialog) {
    SendMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
}

std::string messageText(HWND box) {
    return driver::wideText(GetDlgItem(box, 0xFFFF));  // the text's id, in Windows as in Wine
}

void acknowledge(HWND box) {
    SendMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
}

std::string chooseComputer(HWND browser) {
    LPITEMIDLIST computer = nullptr;
    SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer);
    SendMessageA(browser, BFFM_SETSELECTIONA, FALSE, reinterpret_cast<LPARAM>(computer));
    SendMessageA(browser, BFFM_ENABLEOK, 0, TRUE);
    CoTaskMemFree(computer);
    const std::string name = selectedFolderName(browser);
    SendMessageA(GetDlgItem(browser, IDOK), BM_CLICK, 0, 0);
    return name;
}

void chooseFolder(HWND browser, const std::string& path) {
    // The tree fills itself in steps; select until the item is there. The
    // leaf is cut from the wide path: a double-byte character may end in 0x5C.
    const std::wstring widePath = wide(path);
    const size_t cut = widePath.find_last_of(L'\\');
    const std::string leaf = driver::utf8(cut + 1 < widePath.size() ? widePath.substr(cut + 1).c_str() : L"");
    const bool selected = pump::until([&] {
        SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(widePath.c_str()));
        const std::string name = selectedFolderName(browser);
        return leaf.empty() ? !name.empty() : name == leaf;
    });
    EXPECT_TRUE(selected) << path << ", selected: " << selectedFolderName(browser);
    SendMessageA(GetDlgItem(browser, IDOK), BM_CLICK, 0, 0);
}

std::string selectedFolderName(HWND browser) {
    HWND tree = FindWindowExA(browser, nullptr, WC_TREEVIEWA, nullptr);
    HTREEITEM item = TreeView_GetSelection(tree);
    if (!item) return "";
    wchar_t text[MAX_PATH] = {};
    TVITEMW entry = {};
    entry.mask = TVIF_TEXT;
    entry.hItem = item;
    entry.pszText = text;
    entry.cchTextMax = MAX_PATH;
    SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&entry));
    return driver::utf8(text);
}

}  // namespace systemdialogs
