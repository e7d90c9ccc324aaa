#pragma once
#include <string>
#include <vector>

// The play list that the program builds from entries, as the paths it plays
// in list order: the order every search and show test compares against.
namespace playorder {

// The play list built at once from entries: every path, in list order.
std::vector<std::string> builtFrom(const std::vector<std::string>& entries);

}  // namespace playorder
