#include "playback/playlist/Playlist.h"

#include <cstdlib>
#include <ctime>

#include "base/Exception.h"
#include "base/Heap.h"
#include "base/LastError.h"

Playlist::Playlist() : order(TRUE), position(-1) {
    srand(static_cast<unsigned>(time(nullptr)));
}

Playlist::~Playlist() {}

int Playlist::count() const {
    return files.count();
}

void Playlist::add(const CountedString& path) {
    int* cell = heap::newIndexCell();
    if (!cell) throwOutOfMemory();
    *cell = count();
    try {
        files.add(path);
        if (!order.append(cell)) throwLastError();
    } catch (Exception*) {
        if (files.count() > order.count()) files.removeAt(files.count() - 1);
        delete cell;
        throw;
    }
}

int Playlist::drawPlace(int n) {
    // rand() gives 15 bits: as many draws as the list needs are joined, and
    // a value past the last whole multiple of n is drawn again, so that every
    // place is equally likely at any size (rand() % n could never reach most
    // places of a list longer than 32,768 files, and favoured the low ones).
    if (n <= 1) return 0;
    unsigned long long range = 0x8000;
    int draws = 1;
    while (range < static_cast<unsigned long long>(n)) {
        range <<= 15;
        ++draws;
    }
    const unsigned long long limit = range - range % static_cast<unsigned long long>(n);
    for (;;) {
        unsigned long long value = 0;
        for (int i = 0; i < draws; ++i) value = (value << 15) | static_cast<unsigned>(rand() & 0x7fff);
        if (value < limit) return static_cast<int>(value % static_cast<unsigned long long>(n));
    }
}

void Playlist::shuffle() {
    // Each place is exchanged with one drawn over the whole list.
    const int n = count();
    for (int i = 0; i < n; ++i) order.swap(i, drawPlace(n));
}

CountedString Playlist::next(bool random) {
    if (count() == 0) throwWin32Error(ERROR_INVALID_FUNCTION);
    ++position;
    if (position >= count()) position = 0;
    if (position == 0 && random) shuffle();
    return fileAt(position);
}

CountedString Playlist::current() const {
    if (order.count() == 0 || position < 0) throwWin32Error(ERROR_INVALID_FUNCTION);
    return fileAt(position);
}

int Playlist::find(const CountedString& name) {
    for (int place = 0; place < order.count(); ++place) {
        if (fileAt(place).equals(name.c_str())) {
            position = place;
            return place;
        }
    }
    return -1;
}

const CountedString& Playlist::fileAt(int place) const {
    const int* cell = static_cast<const int*>(order.at(place));
    if (!cell) throwLastError();
    return files.at(*cell);
}
