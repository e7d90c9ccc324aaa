#include "base/ListBoxControl.h"

#include "base/Exception.h"

namespace {
const char* const listBoxClass = "ListBox";
}

HWND ListBoxControl::create(HWND parent, UINT id, const Bounds& bounds, DWORD style, bool noThrow) {
    return WindowBase::create(listBoxClass, parent, id, bounds, style, noThrow);
}

HWND ListBoxControl::attach(HWND window) {
    return WindowBase::attach(listBoxClass, window);
}

// Throws 87 unless first <= index < end.
void ListBoxControl::requireIndex(int index, int first, int end) {
    if (index < first || index >= end) throwWin32Error(ERROR_INVALID_PARAMETER);
}

void ListBoxControl::addString(const CountedString& text) {
    requireWindow();
    LRESULT result = SendMessageA(hwnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
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
    int length = static_cast<int>(SendMessageA(hwnd, LB_GETTEXTLEN, index, 0));
    if (length < 0) throwWin32Error(ERROR_INVALID_PARAMETER);
    CountedString text;
    char* buffer = text.getBuffer(length);
    SendMessageA(hwnd, LB_GETTEXT, index, reinterpret_cast<LPARAM>(buffer));
    return text;
}

void ListBoxControl::insertString(int index, const CountedString& text) {
    requireIndex(index, 0, getCount() + 1);
    LRESULT result = SendMessageA(hwnd, LB_INSERTSTRING, static_cast<WPARAM>(index),
                                  reinterpret_cast<LPARAM>(text.c_str()));
    if (result < 0) throwOutOfMemory();
}

void ListBoxControl::deleteString(int index) {
    requireIndex(index, 0, getCount());
    SendMessageA(hwnd, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
}
