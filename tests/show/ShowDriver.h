#pragma once
#include <windows.h>

#include <string>
#include <vector>

// Drives a program under test from outside: a scratch folder with the
// program's copy and its INI file, the running process, and what the screen
// shows. Every wait has a deadline and pumps this thread's messages.
namespace showdriver {

// Generous: CI runs on a busy two-core machine under Wine.
const DWORD kDeadline = 30000;

// Path of a committed clip, e.g. clip("red.avi").
std::string clip(const char* name);

// A scratch folder holding a copy of a program beside its cinevane.ini.
class ShowFolder {
public:
    ShowFolder(const std::string& hint, const std::string& program);

    void setOptions(int random, int resume, int sound) const;
    void setEntries(const std::vector<std::string>& entries) const;
    void setResume(const std::string& name, const std::string& time) const;
    std::string resumeName() const;
    std::string resumeTime() const;
    bool hasResumeSection() const;
    // Copies a file into the folder under a new name; returns its path.
    std::string copyHere(const std::string& source, const std::string& name) const;

    std::string folder;       // with a trailing backslash
    std::string programPath;  // the copy
    std::string iniPath;

private:
    std::string read(const char* section, const char* key) const;
};

class RunningProgram {
public:
    RunningProgram();
    ~RunningProgram();  // ends a program that is still running
    bool start(const std::string& program, const std::string& arguments);
    bool running() const;
    bool waitForExit(DWORD timeout);
    DWORD exitCode() const;

private:
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;
    PROCESS_INFORMATION info;
};

// What fills the screen, told apart by a few pixels: the solid clips, the
// colour bars of long.avi, black.
enum class Screen { Black, Red, Lime, Blue, Bars, Other };
const char* screenName(Screen screen);
Screen screenNow();
std::string describe(const std::vector<Screen>& screens);

// Collects the clips that appear, one entry per change (black and unknown
// pictures in between are left out), until count of them have been seen, the
// program has ended, or the deadline has passed. The last one is on screen
// when this returns with count entries.
std::vector<Screen> watchClips(const RunningProgram& program, size_t count,
                               DWORD deadline = kDeadline);

// The same, until the clip last has appeared (it is the last entry then).
std::vector<Screen> watchClipsUntil(const RunningProgram& program, Screen last,
                                    DWORD deadline = kDeadline);

// Presses and releases a key as a user would.
void pressKey();

}  // namespace showdriver
