#include "playback/playlist/PlaylistBuilder.h"

#include <cstring>

#include "base/Exception.h"
#include "playback/playlist/FolderPasses.h"
#include "playback/foundation/MediaFoundation.h"

namespace {

bool collectFolder(const FilePath& entry, const StringArray& extensions, FoundFiles& found) {
    CountedString folder = entry.fullPath();
    if (!folder.endsWith("\\")) folder.append("\\");
    return FolderPasses(folder, extensions, found).run();
}

class PlaylistFiller : public FoundFiles {
public:
    explicit PlaylistFiller(Playlist& playlist) : playlist(playlist) {}
    bool take(const CountedString& path) override {
        playlist.add(path);
        return true;
    }

private:
    Playlist& playlist;
};

}  // namespace

void splitVideoExtensions(StringArray& extensions) {
    // Where Media Foundation plays them (Windows 7 and later), folders also
    // bring the files of today's cameras and phones; Matroska files only
    // where Windows has a source for them (Windows 10 and later).
    extensions.split(MediaFoundation::available() ? "wmv/avi/mpg/mpeg/mp4/m4v/mov" : "wmv/avi/mpg/mpeg", "/");
    if (MediaFoundation::hasSourceFor(".mkv")) extensions.add("mkv");
}

bool collectEntry(const FilePath& entry, const StringArray& extensions, FoundFiles& found) {
    if (entry.exists(FILE_ATTRIBUTE_DIRECTORY)) return collectFolder(entry, extensions, found);
    if (entry.exists(0)) return found.take(entry.fullPath());
    return true;
}

bool mayBeListed(const CountedString& path, const StringArray& entries) {
    CountedString folder;
    CountedString extension;
    try {
        FilePath file(path);
        folder = file.folderPart();
        CountedString leaf = file.fullPath().mid(folder.length());
        // A dot is never the second byte of a double-byte character.
        const char* dot = strrchr(leaf.c_str(), '.');
        if (dot) extension = dot + 1;
    } catch (Exception* e) {
        if (e == outOfMemoryException()) throw;
        dispose(e);
        return false;
    }
    StringArray extensions;
    splitVideoExtensions(extensions);
    bool video = false;
    for (int i = 0; i < extensions.count(); ++i)
        video = video || lstrcmpiA(extension.c_str(), extensions.at(i).c_str()) == 0;

    for (int i = 0; i < entries.count(); ++i) {
        CountedString listed = FilePath(entries.at(i)).fullPath();
        if (listed.equals(path.c_str())) return true;
        if (!listed.endsWith("\\")) listed.append("\\");
        if (video && listed.equals(folder.c_str())) return true;
    }
    return false;
}

void buildPlaylist(Playlist& playlist, const StringArray& entries) {
    StringArray extensions;
    splitVideoExtensions(extensions);
    PlaylistFiller filler(playlist);
    for (int i = 0; i < entries.count(); ++i) collectEntry(FilePath(entries.at(i)), extensions, filler);
}
