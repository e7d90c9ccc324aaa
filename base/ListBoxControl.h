#pragma once
#include "base/CountedString.h"
#include "base/StringArray.h"
#include "base/WindowBase.h"

// A standard "ListBox" control. Indexes are checked against the item count
// (87 when out of range); a list box out of room throws the out-of-memory
// exception.
class ListBoxControl : public WindowBase {
public:
    HWND create(HWND parent, UINT id, const Bounds& bounds, DWORD style, bool noThrow) override;
    HWND attach(HWND window) override;

    void addString(const CountedString& text);
    // Adds every string, first to last; strings added before a failure stay.
    void addStrings(const StringArray& list);
    int getCount();
    void setCurSel(int index);  // -1 clears the selection
    int getCurSel();            // -1 (LB_ERR) when nothing is selected
    CountedString getText(int index);
    void insertString(int index, const CountedString& text);  // index == count appends
    void deleteString(int index);

private:
    LRESULT sendText(UINT message, WPARAM index, const CountedString& text);
    void requireIndex(int index, int first, int end);
};
