#include "playback/Playlist.h"

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

void Playlist::shuffle() {
    // Each place is exchanged with one drawn over the whole list.
    const int n = count();
    for (int i = 0; i < n; ++i) order.swap(i, rand() % n);
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
