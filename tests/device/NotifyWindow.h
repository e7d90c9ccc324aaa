#pragma once
#include <windows.h>
#include <mmsystem.h>

#include <vector>

// A visible top-level window that records the MCI notifications it receives.
class NotifyWindow {
public:
    struct Notice {
        WPARAM code;
        LPARAM deviceId;
    };

    NotifyWindow();
    ~NotifyWindow();

    HWND hwnd() const { return window; }
    const std::vector<Notice>& notices() const { return received; }
    void clear() { received.clear(); }
    // Pumps messages until a notification arrives or 20 s pass.
    bool waitForNotice();

private:
    static LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window;
    std::vector<Notice> received;
};
