#pragma once
#include <windows.h>

#include "base/CountedString.h"

// The program keeps paths in the ANSI code page. A name that page cannot hold
// (the NT family lists them; 9x never does) is kept in a narrow form no real
// path can have: each character the page cannot hold exactly is written as
// '<' and its four hex UTF-16 digits; the rest stays as the page's bytes, so
// a path the page holds is unchanged and folder prefixes still compare. This
// class turns such a form into the UTF-16 path that the W calls take, and back.
class WidePath {
public:
    enum { maxChars = MAX_PATH, maxNarrowBytes = MAX_PATH * 5 };

    // The wide form of a narrow path; valid() is false when it is longer than
    // MAX_PATH - 1 characters.
    explicit WidePath(const char* narrow);
    virtual ~WidePath();

    bool valid() const { return ok; }
    const wchar_t* c_str() const { return text; }

    // The UTF-16 text of a narrow form into text (room for units, the
    // terminator included); false, with text empty, when it does not fit.
    static bool decode(const char* narrow, wchar_t* text, int units);
    // The narrow form of a wide text into out (room for size bytes); false
    // when it does not fit.
    static bool narrow(const wchar_t* wide, char* out, int size);
    static CountedString narrow(const wchar_t* wide);  // throws for no memory
    // Whether a narrow path holds characters the ANSI code page cannot.
    static bool needsWide(const char* narrow);
    // Whether the system's own calls take UTF-16 (the NT family).
    static bool wideSystem();
    // Whether the path must go to the system through the wide calls: it
    // needs them, and the system has them.
    static bool goesWide(const char* narrow);
    // Whether the path fits in MAX_PATH as the system takes it: its bytes for
    // a path the page holds, its UTF-16 units for one that goes wide.
    static bool fitsMaxPath(const char* narrow);
    // GetFileAttributes for a narrow path of either form.
    static DWORD attributes(const char* narrow);

private:
    WidePath(const WidePath&) = delete;
    WidePath& operator=(const WidePath&) = delete;

    bool ok;
    wchar_t text[maxChars];
};
