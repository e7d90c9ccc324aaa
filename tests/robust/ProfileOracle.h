#pragma once
#include <string>
#include <vector>

// What the settings and the play list must hold for a given INI file,
// worked out straight from the system's profile, path and folder-search
// functions, without the program's own classes.
namespace oracle {

struct ExpectedSettings {
    int random = 0;
    int resume = 0;
    int sound = 1;
    std::vector<std::string> entries;
    std::string resumeName;
    int resumeMinutes = 0;
    int resumeSeconds = 0;
};

ExpectedSettings readSettings(const std::string& iniPath);

// The number as the settings loader reads a piece of the resume time:
// blanks around it ignored, an optional leading minus, anything else 0,
// wrapping at 32 bits.
int pieceToInt(const std::string& text);

struct ExpectedPlaylist {
    bool fails = false;  // some entry has no absolute form, so building stops
    std::vector<std::string> files;
};

ExpectedPlaylist buildPlaylist(const std::vector<std::string>& entries);

}  // namespace oracle
