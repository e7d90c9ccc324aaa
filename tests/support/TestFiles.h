#pragma once
#include <string>

// Small file helpers for tests that need real files in scratch folders.
namespace testfiles {

// Creates (or empties) a file; true on success.
bool touch(const std::string& path);

// Creates a folder unless it is there already; true when it is there.
bool makeFolder(const std::string& path);

// Replaces a file's bytes; false when the file cannot be written.
bool writeBytes(const std::string& path, const std::string& bytes);

// A file's bytes as they are on disk; empty when it cannot be read.
std::string readBytes(const std::string& path);

bool exists(const std::string& path);

}  // namespace testfiles
