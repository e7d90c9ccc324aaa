#pragma once
#include "base/CountedString.h"
#include "playback/playlist/PathBatch.h"
#include "playback/playlist/Playlist.h"
#include "settings/Settings.h"

// Fills the play list while the folder search delivers it, and says which
// file plays next so that the order of playing is the list's own, wherever
// the search has got to: in list order a file plays once it and everything
// before it are known; random order waits for the whole list, whose shuffle
// covers every file. With resume on, the stored file plays at once and its
// place is settled when the search delivers it (list order) or when the
// search has ended (random order, after the shuffle, as when the list was
// built before the show).
class PlaylistFeeder {
public:
    PlaylistFeeder();
    virtual ~PlaylistFeeder();

    // Takes the show's options; the play list is still empty. True when the
    // stored file plays at once: resume on, the file exists, and the entries
    // could bring it (a file taken off the list does not come back).
    bool begin(Playlist& list, const Settings& settings);
    // Appends found files, in list order.
    void take(const PathBatch& batch);
    void add(const CountedString& path);
    // The search has ended; complete is false when it could not deliver
    // every file (the show plays what it has, but knows the list is cut).
    void searchEnded(bool complete);
    bool searchOver() const { return over; }
    bool searchComplete() const { return complete; }

    // Whether the file that follows the playing one is known yet.
    bool nextKnown() const;
    // Moves on to that file and makes it the playing one; code 1 when it is
    // not known yet.
    CountedString next();
    // The stored file, made the playing one.
    CountedString resumeFile();
    // The show waits for the search to deliver the next file.
    void wait() { isWaiting = true; }
    bool waiting() const { return isWaiting; }
    // The file playing or last started; empty before the first.
    const CountedString& playingFile() const { return playing; }

private:
    PlaylistFeeder(const PlaylistFeeder&) = delete;
    PlaylistFeeder& operator=(const PlaylistFeeder&) = delete;

    Playlist* playlist;
    bool random;
    bool resume;
    CountedString resumeName;
    bool resumeUnsettled;  // the stored file plays, its place not yet known
    bool over;
    bool complete;
    bool isWaiting;
    CountedString playing;
};
