#include "base/ListBoxControl.h"

#include "base/Exception.h"
#include "base/Heap.h"
#include "base/WidePath.h"

namespace {
const char* const listBoxClass = "ListBox";
}

HWND ListBoxControl::create(HWND parent, UINT id, const Bounds& bounds, DWORD style, bool noThrow) {
    return WindowBase::create(listBoxClass, parent, id, bounds, style, noThrow);
}

HWND ListBoxControl::attach(HWND window) {
    return WindowBase::attach(listBoxClass, window);
}

// Adds or inserts; a name the ANSI code page cannot hold goes in as UTF-16,
// which a list box of a Unicode dialog keeps as it is.
LRESULT ListBoxControl::sendText(UINT message, WPARAM index, const CountedString& text) {
    if (!WidePath::goesWide(text.c_str()))
        return SendMessageA(hwnd, message, index, reinterpret_cast<LPARAM>(text.c_str()));
    WidePath wide(text.c_str());
    if (!wide.valid()) throwWin32Error(ERROR_FILENAME_EXCED_RANGE);
    return SendMessageW(hwnd, message, index, reinterpret_cast<LPARAM>(wide.c_str()));
}

// Throws 87 unless first <= index < end.
void ListBoxControl::requireIndex(int index, int first, int end) {
    if (index < first || index >= end) throwWin32Error(ERROR_INVALID_PARAMETER);
}

void ListBoxControl::addString(const CountedString& text) {
    requireWindow();
    LRESULT result = sendText(LB_ADDSTRING, 0, text);
    if (result < 0) throwOutOfMemory();
}

void ListBoxControl::addStrings(const StringArray& list) {
    requireWindow();
    for (int i = 0; i < list.count(); ++i) addString(list.at(i));
}

int ListBoxControl::getCount() {
    requireWindow();
    return static_cast<int>(SendMessageA(hwnd, LB_GETCOUNT, 0, 0));
}

void ListBoxControl::setCurSel(int index) {
    requireIndex(index, -1, getCount());
    SendMessageA(hwnd, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int ListBoxControl::getCurSel() {
    requireWindow();
    return static_cast<int>(SendMessageA(hwnd, LB_GETCURSEL, 0, 0));
}

CountedString ListBoxControl::getText(int index) {
    requireIndex(index, 0, getCount());
    if (WidePath::wideSystem() && IsWindowUnicode(hwnd)) {
        const int units = static_cast<int>(SendMessageW(hwnd, LB_GETTEXTLEN, index, 0));
        if (units < 0) throwWin32Error(ERROR_INVALID_PARAMETER);
        wchar_t* wide = static_cast<wchar_t*>(heap::allocate((units + 1) * sizeof(wchar_t)));
        if (!wide) throwOutOfMemory();
        wide[0] = L'\0';
        SendMessageW(hwnd, LB_GETTEXT, index, reinterpret_cast<LPARAM>(wide));
        wide[units] = L'\0';
        try {
            CountedString text = WidePath::narrow(wide);
            heap::release(wide);
            return text;
        } catch (Exception*) {
            heap::release(wide);
            throw;
        }
    }
    int length = static_cast<int>(SendMessageA(hwnd, LB_GETTEXTLEN, index, 0));
    if (length < 0) throwWin32Error(ERROR_INVALID_PARAMETER);
    CountedString text;
    char* buffer = text.getBuffer(length);
    SendMessageA(hwnd, LB_GETTEXT, index, reinterpret_cast<LPARAM>(buffer));
    return text;
}

void ListBoxControl::insertString(int index, const CountedString& text) {
    requireIndex(index, 0, getCount() + 1);
    LRESULT result = sendText(LB_INSERTSTRING, static_cast<WPARAM>(index), text);
    if (result < 0) throwOutOfMemory();
}

void ListBoxControl::deleteString(int index) {
    requireIndex(index, 0, getCount());
    SendMessageA(hwnd, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
}
