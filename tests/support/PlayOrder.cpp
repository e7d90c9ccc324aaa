#include "support/PlayOrder.h"

#include "base/StringArray.h"
#include "playback/playlist/Playlist.h"
#include "playback/playlist/PlaylistBuilder.h"

namespace playorder {

std::vector<std::string> builtFrom(const std::vector<std::string>& entries) {
    StringArray list;
    for (const std::string& entry : entries) list.add(entry.c_str());
    Playlist playlist;
    buildPlaylist(playlist, list);
    return pathsOf(playlist);
}

std::vector<std::string> pathsOf(Playlist& list) {
    std::vector<std::string> paths;
    for (int i = 0; i < list.count(); ++i) paths.push_back(list.next(false).c_str());
    return paths;
}

std::vector<std::string> textsOf(const StringArray& array) {
    std::vector<std::string> texts;
    for (int i = 0; i < array.count(); ++i) texts.push_back(array.at(i).c_str());
    return texts;
}

}  // namespace playorder
