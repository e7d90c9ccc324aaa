#include "base/PointerArray.h"

#include <climits>
#include <cstring>

#include "base/Heap.h"

namespace {
const int maxSlots = INT_MAX / static_cast<int>(sizeof(void*));
}

PointerArray::PointerArray(BOOL ownsItems)
    : items(nullptr), itemCount(0), ownsItems(ownsItems), capacity(0) {}

PointerArray::~PointerArray() {
    clear();
}

BOOL PointerArray::insert(int index, void* item) {
    if (!item) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (itemCount == capacity) {
        int slots = capacity > 0 ? capacity * 2 : 1;
        if (capacity >= maxSlots / 2) slots = itemCount + 1;
        if (slots >= maxSlots || !resizeBlock(slots)) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return FALSE;
        }
    }
    if (index >= 0 && index < itemCount) {
        memmove(items + index + 1, items + index,
                static_cast<size_t>(itemCount - index) * sizeof(void*));
    } else {
        index = itemCount;
    }
    items[index] = item;
    ++itemCount;
    return TRUE;
}

BOOL PointerArray::append(void* item) {
    return insert(-1, item);
}

void* PointerArray::at(int index) const {
    if (index < 0 || index >= itemCount) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return items[index];
}

BOOL PointerArray::swap(int i, int j) {
    if (i < 0 || i >= itemCount || j < 0 || j >= itemCount) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    void* kept = items[i];
    items[i] = items[j];
    items[j] = kept;
    return TRUE;
}

void PointerArray::clear() {
    // Detach first, so that an element's disposal sees a consistent, empty array.
    void** old = items;
    const int oldCount = itemCount;
    items = nullptr;
    itemCount = 0;
    capacity = 0;
    if (ownsItems) {
        for (int i = 0; i < oldCount; ++i) disposeItem(old[i]);
    }
    heap::release(old);
}

void PointerArray::exchange(PointerArray& other) {
    void** otherItems = other.items;
    const int otherCount = other.itemCount;
    const int otherCapacity = other.capacity;
    other.items = items;
    other.itemCount = itemCount;
    other.capacity = capacity;
    items = otherItems;
    itemCount = otherCount;
    capacity = otherCapacity;
}

BOOL PointerArray::resizeBlock(int slots) {
    const SIZE_T bytes = static_cast<SIZE_T>(slots) * sizeof(void*);
    void* block = items ? heap::reallocate(items, bytes) : heap::allocate(bytes);
    if (!block) return FALSE;
    items = static_cast<void**>(block);
    capacity = slots;
    return TRUE;
}

void PointerArray::disposeItem(void* item) {
    ::operator delete(item);
}

BOOL PointerArray::shrinkAt(int index) {
    if (index < 0 || index >= itemCount) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    void* removed = items[index];
    memmove(items + index, items + index + 1,
            static_cast<size_t>(itemCount - index - 1) * sizeof(void*));
    --itemCount;
    if (itemCount == 0) {
        heap::release(items);
        items = nullptr;
        capacity = 0;
    } else if (itemCount <= capacity / 4) {
        // A failed shrink keeps the larger block; only the count matters.
        resizeBlock(capacity / 2);
    }
    if (ownsItems && removed) disposeItem(removed);
    return TRUE;
}

ObjectArray::ObjectArray(ItemDeleter deleter, BOOL ownsItems)
    : PointerArray(ownsItems), deleter(deleter) {}

ObjectArray::~ObjectArray() {
    // The base destructor would free the elements as raw memory.
    clear();
}

BOOL ObjectArray::removeAt(int index) {
    return shrinkAt(index);
}

void ObjectArray::disposeItem(void* item) {
    if (item && deleter) deleter(item);
}
