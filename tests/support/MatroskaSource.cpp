#include "support/MatroskaSource.h"

namespace {
const char* const handlers = "SOFTWARE\\Microsoft\\Windows Media Foundation\\ByteStreamHandlers\\.mkv";
}

MatroskaSource::MatroskaSource() {
    DWORD disposition = 0;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, handlers, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, &disposition);
    made = disposition == REG_CREATED_NEW_KEY;
    // A handler is a value named by its class.
    const char name[] = "Matroska Byte Stream Handler";
    if (made)
        RegSetValueExA(key, "{9d4b5c0e-1f2a-4c3b-8e7d-6a5b4c3d2e1f}", 0, REG_SZ, reinterpret_cast<const BYTE*>(name),
                       sizeof name);
}

MatroskaSource::~MatroskaSource() {
    RegCloseKey(key);
    if (made) RegDeleteKeyA(HKEY_LOCAL_MACHINE, handlers);
}
