#pragma once
#include <string>

#include "ShowDriver.h"

// The in-process cases of this program: a case named ShowInProcessX.Y runs
// in a copy of the program placed beside a prepared INI file.
namespace playing {

// This test program, to be copied into a show's folder.
std::string thisProgram();

// Runs suite.name in the copy of the program in folder; fails the calling
// test when it does not pass.
void runInProcess(const ProgramCopy& folder, const std::string& suiteAndName);

}  // namespace playing
