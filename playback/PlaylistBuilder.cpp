#include "playback/PlaylistBuilder.h"

#include "base/DirectorySearch.h"
#include "base/FilePath.h"

namespace {

void addFolder(Playlist& playlist, const FilePath& entry, const StringArray& extensions) {
    CountedString folder = entry.fullPath();
    if (!folder.endsWith("\\")) folder.append("\\");
    DirectorySearch search;
    for (int i = 0; i < extensions.count(); ++i) {
        CountedString pattern = folder + "*." + extensions.at(i);
        for (search.open(pattern.c_str()); search.valid(); search.next()) {
            playlist.add(folder + search.name());
        }
        search.close();
    }
}

}  // namespace

void buildPlaylist(Playlist& playlist, const StringArray& entries) {
    StringArray extensions;
    extensions.split("wmv/avi/mpg/mpeg", "/");
    for (int i = 0; i < entries.count(); ++i) {
        FilePath entry(entries.at(i));
        if (entry.exists(FILE_ATTRIBUTE_DIRECTORY)) {
            addFolder(playlist, entry, extensions);
        } else if (entry.exists(0)) {
            playlist.add(entry.fullPath());
        }
    }
}
