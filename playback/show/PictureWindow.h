#pragma once
#include <windows.h>

// The window a Media Foundation picture is drawn into: a borderless popup
// laid over the view and owned by its top-level window, since the renderer
// draws nothing into a child window under Wine. It never takes activation
// or input: the pointer and the clicks fall through to the view below, and
// the keys still go to the saver window. Putting it aside also takes away
// whatever a renderer left on it, so that an MCI file plays visibly in the
// view after a Media Foundation one.
class PictureWindow {
public:
    PictureWindow();
    ~PictureWindow();  // destroys the window

    // Lays the window over view's client area and shows it; made at the
    // first call. Throws the system's error when it cannot be made.
    HWND showOver(HWND view);
    // Out of sight, off every screen.
    void hide();
    void destroy();
    HWND handle() const { return window; }

private:
    PictureWindow(const PictureWindow&) = delete;
    PictureWindow& operator=(const PictureWindow&) = delete;

    static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window;
};
