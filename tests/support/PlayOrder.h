#pragma once
#include <string>
#include <vector>

class Playlist;
class StringArray;

// The play list that the program builds from entries, as the paths it plays
// in list order: the order every search and show test compares against.
namespace playorder {

// The play list built at once from entries: every path, in list order.
std::vector<std::string> builtFrom(const std::vector<std::string>& entries);

// One pass of a play list in list order.
std::vector<std::string> pathsOf(Playlist& list);
// The texts of a string array, such as the entries of the settings.
std::vector<std::string> textsOf(const StringArray& array);

}  // namespace playorder
