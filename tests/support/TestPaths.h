#pragma once
#include <string>

// Windows paths of the project's trees as the test programs see them under Wine.
namespace testpaths {

// The source tree joined with a relative path written with backslashes,
// for example sourcePath("tests\\media\\clip.avi").
std::string sourcePath(const std::string& relative);

// A committed test clip, for example clip("red.avi") for tests\media\red.avi.
std::string clip(const std::string& name);

// The build tree joined with a relative path.
std::string binaryPath(const std::string& relative);

// Folder of the running test program, with a trailing backslash.
std::string programFolder();

// A new empty folder under the build tree's "scratch" folder, never used
// before; returned with a trailing backslash.
std::string freshFolder(const std::string& hint);

}  // namespace testpaths
