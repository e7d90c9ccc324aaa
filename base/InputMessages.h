#pragma once
#include <windows.h>

// The user's input that ends a show: key presses, movement and button presses.
// Key-up, character, button-up and wheel messages are not among them.
inline bool isShowEndingInput(UINT message) {
    switch (message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            return true;
        default:
            return false;
    }
}
