#pragma once
#include "base/StringArray.h"
#include "playback/Playlist.h"

// Fills the play list from play-list entries, in their order: a folder adds
// its wmv, avi, mpg and mpeg files (in that order of extensions, folder
// itself only), a file is added whatever its extension, and an entry that
// names nothing is skipped. Every path added is absolute. Throws when an
// entry cannot be made absolute.
void buildPlaylist(Playlist& playlist, const StringArray& entries);
