#include "playback/playlist/PathBatch.h"

#include "base/Heap.h"

// The paths follow the header, each with its terminator.
struct PathBatch::Block {
    int count;
    DWORD used;      // bytes of text
    DWORD capacity;  // bytes of text the block has room for
    char* text() { return reinterpret_cast<char*>(this + 1); }
};

namespace {
const DWORD firstCapacity = 4096;
}

PathBatch::PathBatch() : block(nullptr) {}

PathBatch::PathBatch(LPARAM handedOver) : block(reinterpret_cast<Block*>(handedOver)) {}

PathBatch::~PathBatch() {
    heap::release(block);
}

bool PathBatch::append(const char* path) {
    const DWORD bytes = static_cast<DWORD>(lstrlenA(path)) + 1;
    const DWORD used = block ? block->used : 0;
    const DWORD capacity = block ? block->capacity : 0;
    if (used + bytes > capacity) {
        DWORD grown = capacity ? capacity * 2 : firstCapacity;
        while (grown < used + bytes) grown *= 2;
        void* larger = block ? heap::reallocate(block, sizeof(Block) + grown) : heap::allocate(sizeof(Block) + grown);
        if (!larger) return false;
        block = static_cast<Block*>(larger);
        block->capacity = grown;
    }
    CopyMemory(block->text() + used, path, bytes);
    block->used = used + bytes;
    ++block->count;
    return true;
}

int PathBatch::count() const {
    return block ? block->count : 0;
}

const char* PathBatch::first() const {
    return count() ? block->text() : nullptr;
}

const char* PathBatch::following(const char* path) const {
    const char* next = path + lstrlenA(path) + 1;
    return next < block->text() + block->used ? next : nullptr;
}

LPARAM PathBatch::release() {
    LPARAM handedOver = reinterpret_cast<LPARAM>(block);
    block = nullptr;
    return handedOver;
}

void PathBatch::swap(PathBatch& other) {
    Block* mine = block;
    block = other.block;
    other.block = mine;
}
