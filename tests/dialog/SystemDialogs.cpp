#include "SystemDialogs.h"

#include <commctrl.h>
#include <dlgs.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "DialogDriver.h"
#include "support/MessagePump.h"

namespace systemdialogs {

namespace {

void removeTree(const std::string& folder) {
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..") continue;
            const std::string path = folder + "\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                removeTree(path);
            } else {
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

}  // namespace

std::string browsableFolder(const std::string& hint) {
    // Folders of earlier runs would only slow the browser's tree down.
    static bool cleared = false;
    if (!cleared) removeTree("C:\\cinevane-tests");
    cleared = true;
    CreateDirectoryA("C:\\cinevane-tests", nullptr);
    static int counter = 0;
    char name[64];
    wsprintfA(name, "C:\\cinevane-tests\\%lu-%lu-%d-", GetCurrentProcessId(), GetTickCount(), ++counter);
    const std::string folder = name + hint;
    EXPECT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << folder;
    return folder;
}

namespace {

void enterFileName(HWND dialog, const std::string& text) {
    HWND box = GetDlgItem(dialog, edt1) ? GetDlgItem(dialog, edt1) : GetDlgItem(dialog, cmb13);
    SetWindowTextA(box, text.c_str());
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
    // The tree fills itself in steps; select until the item is there.
    const size_t cut = path.find_last_of('\\');
    const std::string leaf = cut + 1 < path.size() ? path.substr(cut + 1) : "";
    const bool selected = pump::until([&] {
        SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(path.c_str()));
        const std::string name = selectedFolderName(browser);
        return leaf.empty() ? !name.empty() : name == leaf;
    });
    EXPECT_TRUE(selected) << path;
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
