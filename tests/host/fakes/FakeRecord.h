#pragma once
#include <windows.h>

// The fakes' side of HKCU\Software\CinevaneTests\<component>.
namespace fakerecord {

inline HKEY open(const char* component) {
    char path[128];
    wsprintfA(path, "Software\\CinevaneTests\\%s", component);
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    return key;
}

inline DWORD read(HKEY key, const char* name) {
    DWORD value = 0, size = sizeof value;
    RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
    return value;
}

inline void write(HKEY key, const char* name, DWORD value) {
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

// A window handle whole, as a 64-bit value, in either program.
inline void writeWindow(HKEY key, const char* name, HWND window) {
    ULONGLONG value = reinterpret_cast<UINT_PTR>(window);
    RegSetValueExA(key, name, 0, REG_QWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

inline const char* indexedName(char (&indexed)[64], const char* name, DWORD index) {
    wsprintfA(indexed, "%s%lu", name, index);
    return indexed;
}

inline void writeIndexed(HKEY key, const char* name, DWORD index, DWORD value) {
    char indexed[64];
    write(key, indexedName(indexed, name, index), value);
}

}  // namespace fakerecord
