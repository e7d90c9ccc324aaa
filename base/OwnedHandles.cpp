#include "base/OwnedHandles.h"

LoadedLibrary::LoadedLibrary(const char* name) : module(LoadLibraryA(name)) {}

LoadedLibrary::~LoadedLibrary() {
    reset();
}

LoadedLibrary::LoadedLibrary(LoadedLibrary&& other) noexcept : module(other.module) {
    other.module = nullptr;
}

LoadedLibrary& LoadedLibrary::operator=(LoadedLibrary&& other) noexcept {
    if (this != &other) {
        reset();
        module = other.module;
        other.module = nullptr;
    }
    return *this;
}

void LoadedLibrary::reset() {
    if (module) FreeLibrary(module);
    module = nullptr;
}

RegistryKey::~RegistryKey() {
    if (key) RegCloseKey(key);
}

HKEY* RegistryKey::receive() {
    if (key) RegCloseKey(key);
    key = nullptr;
    return &key;
}

WindowDc::WindowDc(HWND window) : window(window), dc(GetDC(window)) {}

WindowDc::~WindowDc() {
    if (dc) ReleaseDC(window, dc);
}

PaintDc::PaintDc(HWND window) : window(window), paint() {
    BeginPaint(window, &paint);
}

PaintDc::~PaintDc() {
    EndPaint(window, &paint);
}

MemoryDc::MemoryDc(HDC compatibleWith) : dc(CreateCompatibleDC(compatibleWith)) {}

MemoryDc::~MemoryDc() {
    if (dc) DeleteDC(dc);
}

GdiObject::~GdiObject() {
    if (object) DeleteObject(object);
}
