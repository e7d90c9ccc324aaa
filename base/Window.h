#pragma once
#include <windows.h>

// Root of the window wrappers: a handle and the helpers that need only the
// handle. A wrapper refers to its window without owning it.
class Window {
public:
    Window();
    virtual ~Window();  // leaves the window alone

    // Destroys the window if it is still one; the handle is cleared either way.
    virtual BOOL destroy();
    virtual LRESULT windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    virtual void onCommand(HWND hwnd, WORD id, WORD code) = 0;

    HWND handle() const;  // null unless the handle is a live window
    void requireWindow() const;  // throws 1400 unless the handle is a live window
    void modifyStyle(DWORD remove, DWORD add);
    void setFocus();
    void invalidate();  // the whole client area, erased
    void enable(BOOL on);

protected:
    HWND hwnd;

private:
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
};
