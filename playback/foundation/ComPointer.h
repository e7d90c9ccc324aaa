#pragma once
#include <windows.h>

// Holds one reference to a COM object and releases it when it goes, so that
// an early return or a thrown exception leaks nothing. Not copyable.
template <typename T>
class ComPointer {
public:
    ComPointer() : object(nullptr) {}
    explicit ComPointer(T* held) : object(held) {}  // takes over a reference
    ~ComPointer() { reset(); }

    T* get() const { return object; }
    T* operator->() const { return object; }
    explicit operator bool() const { return object != nullptr; }

    // Where a creating call writes the new reference; one held before is released.
    T** receive() {
        reset();
        return &object;
    }
    void** receiveVoid() { return reinterpret_cast<void**>(receive()); }
    void reset() {
        if (object) object->Release();
        object = nullptr;
    }
    // Gives up the reference without releasing it.
    T* detach() {
        T* held = object;
        object = nullptr;
        return held;
    }
    void swap(ComPointer& other) {
        T* held = object;
        object = other.object;
        other.object = held;
    }

private:
    ComPointer(const ComPointer&) = delete;
    ComPointer& operator=(const ComPointer&) = delete;
    T* object;
};
