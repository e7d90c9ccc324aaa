#include "base/StringArray.h"

#include <new>

#include "base/AllocationFaults.h"
#include "base/Exception.h"
#include "base/LastError.h"

namespace {

void deleteString(void* item) {
    delete static_cast<CountedString*>(item);
}

}  // namespace

StringArray::StringArray() : items(deleteString, TRUE) {}

StringArray::~StringArray() {}

int StringArray::count() const {
    return items.count();
}

CountedString& StringArray::at(int index) const {
    void* item = items.at(index);
    if (!item) throwLastError();
    return *static_cast<CountedString*>(item);
}

void StringArray::add(const CountedString& text) {
    CountedString* element =
        allocationFaults::due() ? nullptr : new (std::nothrow) CountedString(text);
    if (!element) throwOutOfMemory();
    if (!items.append(element)) {
        const DWORD code = GetLastError();
        delete element;
        SetLastError(code);
        throwLastError();
    }
}

void StringArray::removeAt(int index) {
    if (!items.removeAt(index)) throwLastError();
}

void StringArray::clear() {
    items.clear();
}

void StringArray::split(const CountedString& text, const char* separator) {
    if (!separator) throwWin32Error(ERROR_INVALID_PARAMETER);
    // Built aside and swapped in: a failure leaves the old contents, and text
    // may itself be one of them.
    StringArray pieces;
    const int step = lstrlenA(separator);
    int start = 0;
    int hit = text.find(separator);
    while (hit >= 0) {
        pieces.add(text.mid(start, hit - start));
        start = hit + step;
        hit = text.find(separator, start);
    }
    pieces.add(text.mid(start));
    items.exchange(pieces.items);
}
