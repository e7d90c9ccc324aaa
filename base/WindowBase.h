#pragma once
#include "base/Bounds.h"
#include "base/Window.h"

// Adds subclassing to Window: once subclassed, the window's messages reach
// windowProc and onCommand of the object, found through GWLP_USERDATA.
class WindowBase : public Window {
public:
    WindowBase();
    ~WindowBase() override;  // ends any subclassing; the window stays

    // Calls the procedure that was installed before subclassing.
    LRESULT windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
    void onCommand(HWND hwnd, WORD id, WORD code) override;

    virtual HWND create(HWND parent, UINT id, const Bounds& bounds, DWORD style, bool noThrow) = 0;
    virtual HWND attach(HWND window) = 0;

    // Installs (on) or removes the shared procedure; repeating either is harmless.
    void subclass(bool on);

    static LRESULT CALLBACK sharedWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    // Creates a visible child window of className; throws 1 while the object
    // has a live window, 87 without a parent, 1400 when creation fails
    // (or returns null with noThrow).
    HWND create(const char* className, HWND parent, UINT id, const Bounds& bounds, DWORD style,
                bool noThrow);
    // Ends the subclassing of the current window, forgets it and takes window.
    // With a className, window must be of that class (87 otherwise, and the
    // object is left empty). Returns the previous handle.
    HWND attach(const char* className, HWND window);

    WNDPROC prevProc;  // set while subclassed

private:
    static LRESULT dispatch(WindowBase* object, HWND hwnd, UINT message, WPARAM wParam,
                            LPARAM lParam);
    static WindowBase* objectOf(HWND hwnd);
};
