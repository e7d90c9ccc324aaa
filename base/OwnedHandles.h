#pragma once
#include <windows.h>

// Owners of system handles that must be given back: each releases its handle
// when it goes, so that an early return or a thrown exception leaks nothing.
// None of them can be copied.

// A library loaded by name, freed with FreeLibrary.
class LoadedLibrary {
public:
    LoadedLibrary() = default;
    explicit LoadedLibrary(const char* name);  // empty when the library could not be loaded
    ~LoadedLibrary();
    LoadedLibrary(LoadedLibrary&& other) noexcept;
    LoadedLibrary& operator=(LoadedLibrary&& other) noexcept;

    HMODULE handle() const { return module; }
    explicit operator bool() const { return module != nullptr; }
    // The exported function as the type the caller names; null when missing.
    template <typename Function>
    Function find(const char* name) const {
        return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                      : nullptr;
    }
    void reset();  // frees the library now

private:
    LoadedLibrary(const LoadedLibrary&) = delete;
    LoadedLibrary& operator=(const LoadedLibrary&) = delete;
    HMODULE module = nullptr;
};

// An open registry key, closed with RegCloseKey.
class RegistryKey {
public:
    RegistryKey() = default;
    ~RegistryKey();
    // Where the opening call writes the key; a key held before is closed first.
    HKEY* receive();
    HKEY handle() const { return key; }

private:
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    HKEY key = nullptr;
};

// A window's device context (the screen's for a null window), given back
// with ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HWND window);
    ~WindowDc();
    HDC handle() const { return dc; }

private:
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HWND window;
    HDC dc;
};

// The device context of one WM_PAINT: BeginPaint, and EndPaint at the end.
class PaintDc {
public:
    explicit PaintDc(HWND window);
    ~PaintDc();
    HDC handle() const { return paint.hdc; }

private:
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    HWND window;
    PAINTSTRUCT paint;
};

// A memory device context, deleted with DeleteDC.
class MemoryDc {
public:
    explicit MemoryDc(HDC compatibleWith);
    ~MemoryDc();
    HDC handle() const { return dc; }

private:
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    HDC dc;
};

// A brush, pen, bitmap or other GDI object of the program's own, deleted
// with DeleteObject (never a stock object).
class GdiObject {
public:
    explicit GdiObject(HGDIOBJ object = nullptr) : object(object) {}
    ~GdiObject();
    HGDIOBJ handle() const { return object; }
    // The handle as the type a call needs, such as HBRUSH or HBITMAP.
    template <typename Handle>
    Handle as() const {
        return static_cast<Handle>(object);
    }
    explicit operator bool() const { return object != nullptr; }

private:
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    HGDIOBJ object;
};
