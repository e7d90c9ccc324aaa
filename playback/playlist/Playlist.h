#pragma once
#include "base/CountedString.h"
#include "base/PointerArray.h"
#include "base/StringArray.h"

// The files of one show and the order they play in. Files keep the order in
// which they were added; the play order is a permutation of their indices.
class Playlist {
public:
    Playlist();  // seeds the random generator
    virtual ~Playlist();

    int count() const;
    // Appends a file; on failure nothing is added.
    void add(const CountedString& path);
    // Draws a new play order; the files and the position stay.
    void shuffle();
    // Moves to the next file, wrapping to the first (and, with random,
    // drawing a new order at each wrap). Throws code 1 when empty.
    CountedString next(bool random);
    // The file at the position. Throws code 1 when empty or none chosen yet.
    CountedString current() const;
    // Makes the file whose path is exactly name the current one; returns its
    // place in the play order, or -1 with the position unchanged.
    int find(const CountedString& name);
    // The current file's place in the play order; -1 before one is chosen.
    int place() const { return position; }
    // A place drawn from 0 to n - 1, each equally likely, from rand().
    static int drawPlace(int n);

private:
    Playlist(const Playlist&) = delete;
    Playlist& operator=(const Playlist&) = delete;

    const CountedString& fileAt(int place) const;

    StringArray files;
    PointerArray order;
    int position;
};
