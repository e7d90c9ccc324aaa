#pragma once
#include "base/WindowBase.h"

// A standard "Button" control.
class ButtonControl : public WindowBase {
public:
    HWND create(HWND parent, UINT id, const Bounds& bounds, DWORD style, bool noThrow) override;
    HWND attach(HWND window) override;

    void setCheck(WPARAM state);
    LRESULT getCheck();
};
