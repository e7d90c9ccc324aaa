#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "support/MessagePump.h"
#include "support/ProgramCopy.h"
#include "support/RunningProgram.h"
#include "support/TestPaths.h"
#include "support/UserInput.h"

// What the screen shows while a program under test plays: the shared
// helpers start the program and give the input; this tells the clips apart.
namespace showdriver {

using testpaths::clip;
const DWORD kDeadline = pump::DEADLINE;

// What fills the screen, told apart by a few pixels: the solid clips (teal
// for the MP4 clips), the colour bars of long.avi, black.
enum class Screen { Black, Red, Lime, Blue, Teal, Bars, Other };
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

}  // namespace showdriver
