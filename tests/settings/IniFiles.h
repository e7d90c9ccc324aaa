#pragma once
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "settings/Settings.h"
#include "support/TestFiles.h"

// Real INI files beside the test program, where Settings puts them.
namespace inifiles {

// A bare file name of this test program's own, removed if a previous run left it.
std::string freshName(const std::string& tag);

// Full path of a bare name beside the test program.
std::string beside(const std::string& name);

using testfiles::exists;
using testfiles::readBytes;
using testfiles::writeBytes;

// The lines of one section of an INI text, header included, up to the next
// header; empty when the section is missing. The header is matched exactly.
std::string sectionText(const std::string& text, const std::string& section);

// A Settings bound to the bare name, not yet loaded.
std::unique_ptr<Settings> boundTo(const std::string& name);

// A Settings loaded from a fresh file holding exactly these bytes.
std::unique_ptr<Settings> loadedFrom(const std::string& tag, const std::string& bytes);

std::vector<std::string> entriesOf(const Settings& settings);

// Whether settings hold what a missing file gives: every option off but the
// sound, no entries, no resume time, and this resume name.
::testing::AssertionResult hasDefaults(const Settings& settings, const char* resumeName = "");

}  // namespace inifiles
