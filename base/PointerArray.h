#pragma once
#include <windows.h>

// Growable arrays of owned pointers, one slot per element and no spare
// capacity. They never throw: failures give a false or null result and set
// the thread's last error (87 bad index or null item, 8 no memory).
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

    void** items;
    int itemCount;
    BOOL ownsItems;
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
