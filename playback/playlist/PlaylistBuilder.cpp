#include "playback/playlist/PlaylistBuilder.h"

#include <cstring>

#include "base/DirectorySearch.h"
#include "base/Exception.h"
#include "playback/playlist/PathBatch.h"
#include "playback/foundation/MediaFoundation.h"

namespace {

// Whether name's own extension (that of its long name) is this one,
// whatever the case of its letters. A dot is never the second byte of a
// double-byte character.
bool hasExtension(const char* name, const CountedString& extension) {
    const char* dot = strrchr(name, '.');
    return dot && lstrcmpiA(dot + 1, extension.c_str()) == 0;
}

// The last of the extensions from first on that begin with the same letter
// as the first, and in prefix the start they all share.
int groupEnd(const StringArray& extensions, int first, CountedString& prefix) {
    prefix = extensions.at(first);
    int last = first;
    while (last + 1 < extensions.count() && *extensions.at(last + 1).c_str() == *prefix.c_str()) {
        const char* next = extensions.at(++last).c_str();
        int shared = 0;
        while (prefix.c_str()[shared] && prefix.c_str()[shared] == next[shared]) ++shared;
        prefix = prefix.mid(0, shared);
    }
    return last;
}

// One pass over the folder with a pattern that matches the extensions first
// to last. The first extension's files go out at once; the others wait, each
// behind a byte holding its place in the group, until the pass has ended,
// and then go out in the order of extensions, each in the listing's order.
bool collectPass(const CountedString& folder, const CountedString& pattern, const StringArray& extensions,
                 int first, int last, FoundFiles& found) {
    PathBatch waiting;
    char kept[MAX_PATH + 1];
    DirectorySearch search;
    for (search.open(pattern.c_str()); search.valid(); search.next()) {
        if (!found.goOn()) return false;
        // A pattern also matches short (8.3) names: "*.mov" finds
        // holiday.movie as HOLIDA~1.MOV, which is no such video.
        int place = 0;
        while (first + place <= last && !hasExtension(search.name(), extensions.at(first + place))) ++place;
        if (first + place > last) continue;
        if (place == 0) {
            if (!found.take(folder + search.name())) return false;
            continue;
        }
        kept[0] = static_cast<char>(place);
        lstrcpynA(kept + 1, search.name(), MAX_PATH);
        if (!waiting.append(kept)) throwOutOfMemory();
    }
    for (int place = 1; first + place <= last; ++place) {
        for (const char* name = waiting.first(); name; name = waiting.following(name)) {
            if (*name == place && !found.take(folder + (name + 1))) return false;
        }
    }
    return true;
}

bool collectFolder(const FilePath& entry, const StringArray& extensions, FoundFiles& found) {
    CountedString folder = entry.fullPath();
    if (!folder.endsWith("\\")) folder.append("\\");
    // Each pass reads the whole folder, so extensions that begin alike share
    // one pattern ("*.m*" for mpg to mkv): three passes, not one per extension.
    for (int first = 0; first < extensions.count();) {
        CountedString prefix;
        const int last = groupEnd(extensions, first, prefix);
        CountedString pattern = folder + "*." + prefix;
        if (last > first) pattern.append("*");
        if (!collectPass(folder, pattern, extensions, first, last, found)) return false;
        first = last + 1;
    }
    return true;
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
    // bring the files of today's cameras and phones.
    extensions.split(MediaFoundation::available() ? "wmv/avi/mpg/mpeg/mp4/m4v/mov/mkv" : "wmv/avi/mpg/mpeg", "/");
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
