#pragma once
#include <windows.h>

#include <string>

// One full-screen show of the real program, started from a folder of its
// own that holds a copy of cinevane.scr and the INI file beside it.
class SaverProcess {
public:
    SaverProcess() = default;
    ~SaverProcess();  // ends a show that is still running

    // A fresh folder with the program and this INI text; returns the folder
    // with a trailing backslash.
    static std::string prepare(const std::string& hint, const std::string& iniText);

    bool start(const std::string& folder);
    // The show's window, or null when none appeared before the deadline or
    // the process ended first.
    HWND waitForWindow(DWORD milliseconds);
    // True when the process ended within the time; its exit code is kept.
    bool waitForExit(DWORD milliseconds);
    DWORD exitCode() const { return code; }
    // Milliseconds from the start to the end of the process, once ended.
    DWORD lifetime() const { return endedAt - startedAt; }
    // True when the process, any process it started, and any saver window
    // of it are gone.
    bool nothingLeft() const;
    // Ends the process by force (only a show that did not end by itself).
    void kill();
    // A key press for the show, as the video view would pass it on.
    void pressKey();

    HWND window() const { return saverWindow; }

private:
    SaverProcess(const SaverProcess&) = delete;
    SaverProcess& operator=(const SaverProcess&) = delete;

    HANDLE process = nullptr;
    DWORD id = 0;
    HWND saverWindow = nullptr;
    DWORD code = STILL_ACTIVE;
    DWORD startedAt = 0;
    DWORD endedAt = 0;
};
