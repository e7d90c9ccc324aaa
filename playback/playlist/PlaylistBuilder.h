#pragma once
#include "base/FilePath.h"
#include "base/StringArray.h"
#include "playback/playlist/Playlist.h"

// Receives the files of a play list, one at a time, in list order.
class FoundFiles {
public:
    virtual ~FoundFiles() {}
    // False ends the walk at once.
    virtual bool take(const CountedString& path) = 0;
    // Asked between names found but not yet handed on; false ends the walk.
    virtual bool goOn() { return true; }
};

// The extensions a folder is searched for, in the order their files come:
// wmv, avi, mpg, mpeg, and where Media Foundation is there, mp4, m4v, mov,
// and mkv where it has a source for Matroska files.
void splitVideoExtensions(StringArray& extensions);

// The files one play-list entry contributes: a folder its files with the
// given extensions (in that order of extensions, folder itself only), a file
// itself whatever its extension, an entry that names nothing none. False
// when the receiver ended the walk.
bool collectEntry(const FilePath& entry, const StringArray& extensions, FoundFiles& found);

// Whether building the list from these entries could add path, judged from
// the names alone: path is a listed file itself, or has a video extension
// and lies right inside a listed folder. Compared byte for byte, as the
// lookup of a stored file compares. Throws when an entry cannot be made
// absolute; a path that cannot be is not in the list.
bool mayBeListed(const CountedString& path, const StringArray& entries);

// Fills the play list from play-list entries, in their order, as
// collectEntry finds them. Every path added is absolute. Throws when an
// entry cannot be made absolute.
void buildPlaylist(Playlist& playlist, const StringArray& entries);
