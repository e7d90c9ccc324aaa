#include "settings/PathKeys.h"

#include <stdlib.h>

#include "base/Exception.h"
#include "base/Heap.h"

static int compareIndices(const void* left, const void* right) {
    int a = *static_cast<const int*>(left);
    int b = *static_cast<const int*>(right);
    return a < b ? -1 : (a > b ? 1 : 0);
}

// Length of the name at names, stopping at the end of the bytes given.
static int nameLength(const char* name, int room) {
    int length = 0;
    while (length < room && name[length]) ++length;
    return length;
}

PathKeys::PathKeys() : indices(nullptr), used(0) {}

PathKeys::~PathKeys() {
    clear();
}

void PathKeys::clear() {
    if (indices) heap::release(indices);
    indices = nullptr;
    used = 0;
}

bool PathKeys::parse(const char* name, int* index) {
    static const char prefix[] = "path";
    for (int i = 0; prefix[i]; ++i) {
        char c = name[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i]) return false;
    }
    const char* digits = name + 4;
    if (*digits == '\0') return false;
    if (digits[0] == '0' && digits[1] != '\0') return false;
    unsigned value = 0;
    for (const char* p = digits; *p; ++p) {
        if (*p < '0' || *p > '9') return false;
        unsigned digit = static_cast<unsigned>(*p - '0');
        if (value > (0x7FFFFFFFu - digit) / 10) return false;  // no index this large is ever read
        value = value * 10 + digit;
    }
    *index = static_cast<int>(value);
    return true;
}

void PathKeys::collect(const char* names, int bytes, int limit) {
    clear();
    // One slot per name is enough.
    int nameCount = 0;
    for (int at = 0; at < bytes; at += nameLength(names + at, bytes - at) + 1) {
        if (names[at]) ++nameCount;
    }
    if (nameCount == 0 || limit <= 0) return;
    int* block = static_cast<int*>(heap::allocate(nameCount * sizeof(int)));
    if (!block) throwOutOfMemory();
    indices = block;
    for (int at = 0; at < bytes; ) {
        int length = nameLength(names + at, bytes - at);
        int index;
        if (at + length < bytes && parse(names + at, &index) && index < limit) {
            indices[used++] = index;
        }
        at += length + 1;
    }
    qsort(indices, used, sizeof(int), compareIndices);
    // A key written twice (in two letter cases, say) is read once.
    int kept = 0;
    for (int i = 0; i < used; ++i) {
        if (kept == 0 || indices[kept - 1] != indices[i]) indices[kept++] = indices[i];
    }
    used = kept;
}
