#pragma once
#include <windows.h>

#include <string>

#include "support/MessagePump.h"

// A program that a test started: the built cinevane.scr, a copy of it, or a
// copy of a test program. Every wait pumps this thread's messages and has a
// deadline; a program still running when the object goes is ended by force.
class RunningProgram {
public:
    // What finish() and endShowWithKey() report when the program did not end
    // in time.
    static const DWORD TIMED_OUT = 0x7FFFFFFF;
    // What endShowWithKey() reports when there was no show to end.
    static const DWORD NO_SHOW = 0x7FFFFFFE;

    RunningProgram() = default;
    ~RunningProgram();

    // Starts `program` with the command line "\"program\" arguments", in the
    // program's folder. A program started before must have been finished.
    bool start(const std::string& program, const std::string& arguments = "");
    // The same with the command line given whole, the program's name included,
    // in `folder` (null: this process's current folder).
    bool startCommandLine(const std::string& program, const std::string& commandLine);
    bool startCommandLine(const std::string& program, const std::string& commandLine, const char* folder);

    bool started() const { return process != nullptr; }
    bool running() const;
    bool ended() const;
    DWORD id() const { return processId; }

    // What the running program holds: its threads, its handles (-1 when they
    // cannot be told) and its private memory in bytes (0 when it cannot be told).
    DWORD threadCount() const;
    long handleCount() const;
    SIZE_T privateBytes() const;

    // True when the program ended within the time.
    bool waitForExit(DWORD deadline = pump::DEADLINE);
    // STILL_ACTIVE while it runs.
    DWORD exitCode() const;
    // The exit code once the program has ended, or TIMED_OUT after ending it
    // by force. The program can be started again afterwards.
    DWORD finish(DWORD deadline = pump::DEADLINE);
    // Ends it by force, unless it has ended already.
    void kill();
    // Ends the program's full-screen show as a user does: once the show's
    // window is in front, a key press through the system's input. The exit
    // code once the program has ended; NO_SHOW when it showed no such window
    // (it had ended before, say), TIMED_OUT while it still runs.
    DWORD endShowWithKey();
    // True when the program has ended and left no process it started and no
    // saver window behind.
    bool nothingLeft() const;

    // A top-level window of the program with this class (and title, unless
    // null) once it is there; null when the program ended first or the
    // deadline passed.
    HWND waitForWindow(const char* windowClass, const char* title = nullptr, DWORD deadline = pump::DEADLINE) const;
    // The full-screen show's window.
    HWND waitForSaver(DWORD deadline = pump::DEADLINE) const;
    // A visible dialog of the program, such as the settings dialog.
    HWND waitForDialog(DWORD deadline = pump::DEADLINE) const;

    // Waits until a window of another thread or process has handled
    // everything queued before this call (posted messages and input come
    // before painting) and has painted. False when the window went meanwhile.
    static bool settle(HWND window);

private:
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;
    void close();
    std::string whatIsLeft() const;  // empty when nothing
    static bool startedBefore(DWORD otherId, const FILETIME& started);

    HANDLE process = nullptr;
    DWORD processId = 0;
};
