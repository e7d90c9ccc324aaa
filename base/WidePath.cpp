#include "base/WidePath.h"

#include <cstring>
#include <cwchar>

#include "base/Exception.h"

namespace {

const char mark = '<';  // never part of a file name, nor a double-byte character's second byte
const char hexDigits[] = "0123456789ABCDEF";

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The four hex digits after a mark, or -1.
int escaped(const char* at) {
    int value = 0;
    for (int i = 1; i <= 4; ++i) {
        const int digit = hexValue(at[i]);
        if (digit < 0) return -1;
        value = value * 16 + digit;
    }
    return value;
}

// The page's bytes for the units, only when they convert back to exactly the
// same units (no best fit, no default character); 0 otherwise.
int exactBytes(const wchar_t* units, int count, char* out, int size) {
    BOOL usedDefault = FALSE;
    const bool utf8 = GetACP() == CP_UTF8;  // takes no default-character flag
    const int bytes = WideCharToMultiByte(CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, units, count, out, size,
                                          nullptr, utf8 ? nullptr : &usedDefault);
    if (bytes <= 0 || usedDefault) return 0;
    wchar_t back[MAX_PATH];
    if (count > MAX_PATH || MultiByteToWideChar(CP_ACP, 0, out, bytes, back, MAX_PATH) != count) return 0;
    return memcmp(back, units, count * sizeof(wchar_t)) == 0 ? bytes : 0;
}

}  // namespace

WidePath::WidePath(const char* narrow) : ok(decode(narrow, text, maxChars)) {}

bool WidePath::decode(const char* narrow, wchar_t* text, int units) {
    bool ok = true;
    int used = 0;
    const char* run = narrow;
    for (const char* p = narrow;; ++p) {
        const int unit = *p == mark ? escaped(p) : -1;
        if (*p != '\0' && unit < 0) continue;
        // The page's bytes before p, then the escaped unit.
        if (p > run) {
            const int room = units - 1 - used;
            const int made = room > 0 ? MultiByteToWideChar(CP_ACP, 0, run, static_cast<int>(p - run),
                                                            text + used, room) : 0;
            if (made <= 0) {
                ok = false;
                break;
            }
            used += made;
        }
        if (*p == '\0') break;
        if (used >= units - 1) {
            ok = false;
            break;
        }
        text[used++] = static_cast<wchar_t>(unit);
        p += 4;
        run = p + 1;
    }
    text[ok ? used : 0] = L'\0';
    return ok;
}

WidePath::~WidePath() {}

bool WidePath::narrow(const wchar_t* wide, char* out, int size) {
    // Most names convert whole; only the others go one character at a time.
    const int length = lstrlenW(wide);
    if (length < MAX_PATH && !wcschr(wide, static_cast<wchar_t>(mark))) {
        const int made = length ? exactBytes(wide, length, out, size - 1) : 0;
        if (made > 0 || length == 0) {
            out[made] = '\0';
            return true;
        }
    }
    int used = 0;
    for (const wchar_t* p = wide; *p; ++p) {
        char bytes[8];
        const int made = *p == static_cast<wchar_t>(mark) ? 0 : exactBytes(p, 1, bytes, sizeof bytes);
        if (made > 0) {
            if (used + made >= size) return false;
            memcpy(out + used, bytes, made);
            used += made;
        } else {
            if (used + 5 >= size) return false;
            out[used++] = mark;
            for (int shift = 12; shift >= 0; shift -= 4) out[used++] = hexDigits[(*p >> shift) & 15];
        }
    }
    if (used >= size) return false;
    out[used] = '\0';
    return true;
}

CountedString WidePath::narrow(const wchar_t* wide) {
    CountedString result;
    const int bytes = lstrlenW(wide) * 5 + 1;
    if (!narrow(wide, result.getBuffer(bytes), bytes + 1)) throwWin32Error(ERROR_INVALID_PARAMETER);
    return CountedString(result.c_str());
}

bool WidePath::needsWide(const char* narrow) {
    for (const char* p = strchr(narrow, mark); p; p = strchr(p + 1, mark))
        if (escaped(p) >= 0) return true;
    return false;
}

bool WidePath::wideSystem() {
    return GetVersion() < 0x80000000u;
}

bool WidePath::goesWide(const char* narrow) {
    return wideSystem() && needsWide(narrow);
}

bool WidePath::fitsMaxPath(const char* narrow) {
    if (!goesWide(narrow)) return lstrlenA(narrow) < MAX_PATH;
    WidePath wide(narrow);
    return wide.valid();
}

DWORD WidePath::attributes(const char* narrow) {
    if (!goesWide(narrow)) return GetFileAttributesA(narrow);
    WidePath wide(narrow);
    return wide.valid() ? GetFileAttributesW(wide.c_str()) : INVALID_FILE_ATTRIBUTES;
}
