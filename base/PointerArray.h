#pragma once
#include <windows.h>

// Growable arrays of owned pointers. They never throw: failures give a false
// or null result and set the thread's last error (87 bad index or null item,
// 8 no memory).
//
// The block doubles when full and halves when a quarter full. Growing it one
// slot per insert made nearly every HeapReAlloc move the whole block once
// other allocations sat behind it, so filling a list was quadratic (100,000
// play-list files took seconds instead of a fraction of one).
class PointerArray {
public:
    explicit PointerArray(BOOL ownsItems = TRUE);
    virtual ~PointerArray();

    BOOL insert(int index, void* item);
    BOOL append(void* item);
    void* at(int index) const;
    int count() const { return itemCount; }
    BOOL swap(int i, int j);
    void clear();
    // Trades contents (elements and count) with another array.
    void exchange(PointerArray& other);

protected:
    // Frees one owned element; ObjectArray deletes objects instead.
    virtual void disposeItem(void* item);
    BOOL shrinkAt(int index);  // shared removal for ObjectArray

    void** items;  // null exactly while empty
    int itemCount;
    BOOL ownsItems;
    int capacity;  // slots in items

private:
    BOOL resizeBlock(int slots);
};

// Elements are objects with a virtual destructor; the array deletes them
// through the deleter it was given (which knows their type).
class ObjectArray : public PointerArray {
public:
    typedef void (*ItemDeleter)(void* item);

    explicit ObjectArray(ItemDeleter deleter, BOOL ownsItems = TRUE);
    ~ObjectArray() override;

    BOOL removeAt(int index);

protected:
    void disposeItem(void* item) override;

private:
    ItemDeleter deleter;
};
