#pragma once
#include <string>

// Windows paths of the project's trees as the test programs see them under Wine.
namespace testpaths {

// The source tree joined with a relative path written with backslashes,
// for example sourcePath("tests\\media\\clip.avi").
std::string sourcePath(const std::string& relative);

// The build tree joined with a relative path.
std::string binaryPath(const std::string& relative);

// Folder of the running test program, with a trailing backslash.
std::string programFolder();

// A new empty folder under the build tree's "scratch" folder, unique per call
// and per process; returned with a trailing backslash.
std::string freshFolder(const std::string& hint);

}  // namespace testpaths
