#pragma once
#include <windows.h>

// Found paths on their way from the folder search's thread to the saver
// window: one block of the process heap, which travels as the lParam of a
// posted message. The search fills a batch and gives its block up; the
// window takes the block over, reads the paths and frees it with the batch.
class PathBatch {
public:
    PathBatch();
    // Takes over a block that release() gave up; 0 gives an empty batch.
    explicit PathBatch(LPARAM block);
    ~PathBatch();  // frees the block it still holds

    // Appends one path; false when memory ran out, the batch unchanged.
    bool append(const char* path);
    int count() const;
    // The paths in the order appended: first(), then following(each) until null.
    const char* first() const;
    const char* following(const char* path) const;
    // Gives the block up for a posted message; the batch is empty again.
    LPARAM release();
    // Trades blocks with another batch.
    void swap(PathBatch& other);

private:
    PathBatch(const PathBatch&) = delete;
    PathBatch& operator=(const PathBatch&) = delete;

    struct Block;
    Block* block;
};
