#include "base/CountedString.h"

#include <cstdint>
#include <cstring>

#include "base/Exception.h"
#include "base/Heap.h"

namespace {

void requireText(const char* text) {
    if (!text) throwWin32Error(ERROR_INVALID_PARAMETER);
}

bool sameText(const char* a, int aBytes, const char* b, int bBytes) {
    return CompareStringA(LOCALE_USER_DEFAULT, 0, a, aBytes, b, bBytes) == CSTR_EQUAL;
}

}  // namespace

CountedString::CountedString() : data(nullptr), size(0), refs(nullptr) {
    resize(1);
}

CountedString::CountedString(const CountedString& other)
    : data(other.data), size(other.size), refs(other.refs) {
    if (refs) InterlockedIncrement(refs);
}

CountedString::CountedString(const char* text) : data(nullptr), size(0), refs(nullptr) {
    assign(text);
}

CountedString::~CountedString() {
    release();
}

CountedString& CountedString::operator=(const CountedString& other) {
    if (this == &other) return *this;
    if (other.refs) InterlockedIncrement(other.refs);
    release();
    data = other.data;
    size = other.size;
    refs = other.refs;
    return *this;
}

CountedString& CountedString::operator=(const char* text) {
    assign(text);
    return *this;
}

void CountedString::release() {
    if (refs && InterlockedDecrement(refs) == 0) {
        delete refs;
        heap::release(data);
    }
    data = nullptr;
    size = 0;
    refs = nullptr;
}

bool CountedString::ownsPointer(const char* text) const {
    return data && text >= data && text < data + size;
}

int CountedString::length() const {
    return lstrlenA(data);
}

int CountedString::compare(const char* text) const {
    requireText(text);
    return lstrcmpA(data, text);
}

bool CountedString::equals(const char* text) const {
    return compare(text) == 0;
}

bool CountedString::endsWith(const char* suffix) const {
    requireText(suffix);
    const char* tail = data + length();
    const char* wanted = suffix + lstrlenA(suffix);
    // Step back by the suffix's characters, so a trail byte of a double-byte
    // character is never taken for a character of its own.
    while (wanted > suffix) {
        wanted = CharPrevA(suffix, wanted);
        tail = CharPrevA(data, tail);
    }
    return sameText(tail, -1, suffix, -1);
}

int CountedString::find(const char* text, int from) const {
    requireText(text);
    if (from < 0) from = 0;
    const int bytes = length();
    const int wanted = lstrlenA(text);
    if (bytes == 0 || wanted == 0 || from >= bytes) return -1;
    const char* end = data + bytes;
    for (const char* p = data + from; *p; p = CharNextA(p)) {
        if (end - p < wanted) break;
        if (sameText(p, wanted, text, wanted)) return static_cast<int>(p - data);
    }
    return -1;
}

void CountedString::resize(int bytes) {
    if (bytes < 1) throwWin32Error(ERROR_INVALID_PARAMETER);
    if (refs && *refs == 1) {
        if (bytes == size) return;
        void* moved = heap::reallocate(data, static_cast<SIZE_T>(bytes));
        if (!moved) throwOutOfMemory();
        data = static_cast<char*>(moved);
        // The grown part is zeroed here: the heap zeroes only beyond the
        // block's size as it counts it, and Wine 10's heap still counts the
        // bytes a shrink in place gave up, handing them back as they were.
        if (bytes > size) ZeroMemory(data + size, static_cast<SIZE_T>(bytes - size));
        size = bytes;
    } else {
        LONG* cell = heap::newCountCell();
        if (!cell) throwOutOfMemory();
        char* fresh = static_cast<char*>(heap::allocate(static_cast<SIZE_T>(bytes)));
        if (!fresh) {
            delete cell;
            throwOutOfMemory();
        }
        if (data) memcpy(fresh, data, static_cast<size_t>(bytes < size ? bytes : size));
        release();
        data = fresh;
        size = bytes;
        refs = cell;
    }
    // A shortened text keeps its terminator.
    data[size - 1] = '\0';
}

char* CountedString::getBuffer(int chars) {
    if (chars < 0) throwWin32Error(ERROR_INVALID_PARAMETER);
    resize(chars + 1);
    data[chars] = '\0';
    return data;
}

char* CountedString::at(int index) {
    if (index < 0 || index > size - 2) throwWin32Error(ERROR_INVALID_PARAMETER);
    resize(size);
    return data + index;
}

void CountedString::assign(const char* text) {
    requireText(text);
    if (text == data) return;
    if (ownsPointer(text)) {
        // A tail of this very buffer: resizing could move or cut it first.
        CountedString copy(text);
        *this = copy;
        return;
    }
    resize(lstrlenA(text) + 1);
    lstrcpyA(data, text);
}

void CountedString::assignNumber(int value) {
    char text[16];
    wsprintfA(text, "%d", value);
    assign(text);
}

void CountedString::loadString(HMODULE module, UINT id) {
    char text[1024];
    text[0] = '\0';
    if (LoadStringA(module, id, text, sizeof text) == 0) {
        DWORD code = GetLastError();
        throwWin32Error(code ? code : static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
    }
    assign(text);
}

void CountedString::append(const char* text) {
    requireText(text);
    if (ownsPointer(text)) {
        // Growing this buffer may move it away from under text.
        CountedString copy(text);
        append(copy.c_str());
        return;
    }
    resize(length() + lstrlenA(text) + 1);
    lstrcatA(data, text);
}

CountedString& CountedString::operator+=(const char* text) {
    append(text);
    return *this;
}

CountedString CountedString::mid(int start, int count) const {
    if (start < 0) start = 0;
    const int bytes = length();
    CountedString piece;
    if (start >= bytes) return piece;
    if (count > bytes - start) count = bytes - start;
    if (count <= 0) return piece;
    memcpy(piece.getBuffer(count), data + start, static_cast<size_t>(count));
    return piece;
}

CountedString CountedString::mid(int start) const {
    if (start < 0) start = 0;
    return mid(start, length() - start);
}

CountedString CountedString::left(int count) const {
    return mid(0, count);
}

CountedString CountedString::right(int count) const {
    return mid(length() - count);
}

CountedString CountedString::trimLeft() const {
    const int bytes = length();
    int blanks = 0;
    while (blanks < bytes && static_cast<unsigned char>(data[blanks]) <= 32) ++blanks;
    return right(bytes - blanks);
}

CountedString CountedString::trimRight() const {
    const int bytes = length();
    int blanks = 0;
    while (blanks < bytes && static_cast<unsigned char>(data[bytes - 1 - blanks]) <= 32) ++blanks;
    return left(bytes - blanks);
}

int CountedString::toInt() const {
    CountedString text = trimLeft().trimRight();
    const int bytes = text.length();
    // Unsigned arithmetic: the sum wraps like a 32-bit register.
    uint32_t sum = 0;
    uint32_t place = 1;
    for (int i = bytes - 1; i >= 0; --i, place *= 10) {
        const char c = text.data[i];
        if (c >= '0' && c <= '9') {
            sum += static_cast<uint32_t>(c - '0') * place;
        } else if (c == '-') {
            return i == 0 ? static_cast<int>(0u - sum) : 0;
        } else {
            return 0;
        }
    }
    return static_cast<int>(sum);
}

CountedString operator+(const CountedString& left, const CountedString& right) {
    CountedString result(left);
    result.append(right.c_str());
    return result;
}

CountedString operator+(const CountedString& left, const char* right) {
    CountedString result(left);
    result.append(right);
    return result;
}

CountedString operator+(const char* left, const CountedString& right) {
    CountedString result(left);
    result.append(right.c_str());
    return result;
}
