#include "host/CommandLine.h"

namespace {

bool isBlankOrControl(char c) {
    unsigned char byte = static_cast<unsigned char>(c);
    return byte >= 1 && byte <= 32;
}

const char* skipBlanks(const char* text) {
    while (*text == ' ') ++text;
    return text;
}

}  // namespace

const char* findCommandTail(const char* commandLine) {
    const char* p = commandLine;
    if (*p == '"') {
        p = CharNextA(p);
        while (*p && *p != '"') p = CharNextA(p);
        if (*p == '"') p = CharNextA(p);
    } else {
        while (static_cast<unsigned char>(*p) > 32) p = CharNextA(p);
    }
    while (isBlankOrControl(*p)) p = CharNextA(p);
    return p;
}

// Window handles are 32-bit values in 64-bit Windows too (a 32-bit process
// may be handed one), so the number wraps at 32 bits in both programs.
HWND parseWindowHandle(const char* text) {
    DWORD value = 0;
    for (; *text >= '0' && *text <= '9'; ++text)
        value = value * 10 + static_cast<DWORD>(*text - '0');
    return reinterpret_cast<HWND>(static_cast<UINT_PTR>(value));
}

ModeChoice chooseMode(const char* commandTail) {
    const char* p = commandTail;
    while (*p == ' ' || *p == '-' || *p == '/') ++p;
    switch (*p) {
        case '\0':
            return {RunMode::Settings, nullptr};
        case 'S':
        case 's':
            return {RunMode::FullScreen, nullptr};
        case 'P':
        case 'p':
        case 'L':
        case 'l':
            return {RunMode::Preview, parseWindowHandle(skipBlanks(p + 1))};
        case 'C':
        case 'c':
            // The handle must follow the colon directly; "C 123" reads none.
            return {RunMode::OwnedSettings, p[1] == ':' ? parseWindowHandle(p + 2) : nullptr};
        case 'A':
        case 'a':
            return {RunMode::ChangePassword, parseWindowHandle(skipBlanks(p + 1))};
        default:
            return {RunMode::Invalid, nullptr};
    }
}
