#include "dialog/DialogMessages.h"

#include "base/Exception.h"
#include "base/Heap.h"
#include "base/WidePath.h"
#include "resources/ResourceIds.h"

namespace dialogmessages {

CountedString format(UINT id, const char* first, const char* second) {
    CountedString pattern;
    pattern.loadString(nullptr, id);
    // One pass, so that a text put in is never searched for marks itself.
    CountedString text;
    int copied = 0;
    for (const char* p = pattern.c_str(); *p; p = CharNextA(p)) {
        if (p[0] != '%' || (p[1] != '1' && p[1] != '2')) continue;
        const int at = static_cast<int>(p - pattern.c_str());
        text += pattern.mid(copied, at - copied).c_str();
        text += p[1] == '1' ? first : second;
        copied = at + 2;
        ++p;
    }
    text += pattern.mid(copied).c_str();
    return text;
}

void tell(HWND owner, UINT id, const char* first, const char* second) {
    CountedString caption;
    caption.loadString(nullptr, IDS_PRODUCT_NAME);
    const CountedString text = format(id, first, second);
    if (WidePath::goesWide(text.c_str())) {
        // Names in scripts the ANSI code page lacks are shown as they are.
        const int units = text.length() + 1;
        wchar_t* wide = static_cast<wchar_t*>(heap::allocate(units * sizeof(wchar_t)));
        WidePath wideCaption(caption.c_str());
        if (wide && WidePath::decode(text.c_str(), wide, units)) {
            MessageBoxW(owner, wide, wideCaption.c_str(), MB_OK | MB_ICONEXCLAMATION);
            heap::release(wide);
            return;
        }
        heap::release(wide);
    }
    MessageBoxA(owner, text.c_str(), caption.c_str(), MB_OK | MB_ICONEXCLAMATION);
}

CountedString reason(Exception* e) {
    if (char* text = e->messageText()) {
        // The system's texts end in a line break.
        CountedString trimmed = CountedString(text).trimRight();
        LocalFree(text);
        return trimmed;
    }
    CountedString number;
    number.assignNumber(static_cast<int>(e->code));
    return format(IDS_ERROR_NUMBER, number.c_str());
}

}  // namespace dialogmessages
