#pragma once
#include <string>
#include <vector>

// The INI files that tests prepare and read back, through the system's
// profile functions as the program uses them.
namespace inifile {

// A value, or `fallback` when it is missing; read as the program reads one,
// at most MAX_PATH - 1 bytes.
std::string value(const std::string& path, const char* section, const char* key, const char* fallback = "");
void setValue(const std::string& path, const char* section, const char* key, const char* value);

// The file as the settings dialog writes it: the options, the play list (in
// place of any there was) and, as a show leaves it, the resume point.
void setOptions(const std::string& path, int random, int resume, int sound, int keepAspect = 0);
void setEntries(const std::string& path, const std::vector<std::string>& entries);
void setResume(const std::string& path, const std::string& name, const std::string& time);

// The play list as a plain loop reads it: the value of each key Path<i>
// below Count (a number as the profile functions read one), empty ones left
// out.
std::vector<std::string> entries(const std::string& path);

// The lines of a section, each as key=value, in alphabetical order (so that
// the order of writing does not matter); empty when the section is missing.
std::vector<std::string> section(const std::string& path, const char* name);

}  // namespace inifile
