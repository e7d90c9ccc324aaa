#include "dialog/FilePicker.h"

#include "dialog/ShellCalls.h"

#include <cderr.h>
#include <cstddef>

namespace {

// The record layout that every system from Windows 95 on accepts: the
// fields up to lpTemplateName (76 bytes for 32-bit programs, 136 for 64-bit).
constexpr DWORD recordSize = offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR);
static_assert(recordSize == (sizeof(void*) == 8 ? 136 : 76), "the Windows 95 record size");
const int minimumBufferSize = MAX_PATH;
// A bound on growth: some thirty thousand names of files at once.
const DWORD maximumBufferSize = 8 * 1024 * 1024;

char* allocateZeroed(int bytes) {
    return static_cast<char*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, bytes));
}

void release(char*& block) {
    if (block) HeapFree(GetProcessHeap(), 0, block);
    block = nullptr;
}

// Whether the last character (not merely the last byte) is a backslash; a
// 0x5C byte may be the second half of a double-byte character.
bool endsInBackslash(const char* text) {
    const char* last = nullptr;
    for (const char* p = text; *p; ) {
        last = p;
        p += (IsDBCSLeadByte(static_cast<BYTE>(*p)) && p[1]) ? 2 : 1;
    }
    return last && *last == '\\';
}

// A name that carries a folder or drive of its own instead of being a bare
// name inside the selection's directory.
bool hasOwnPath(const char* name) {
    for (const char* p = name; *p; p = CharNextA(p)) {
        if (*p == '\\' || *p == '/' || *p == ':') return true;
    }
    return false;
}

}  // namespace

FilePicker::FilePicker(HWND owner, DWORD flags, int bufferSize)
    : fileBuffer(nullptr), titleBuffer(nullptr), filterCopy(nullptr), record(), failureCode(0) {
    resultPath[0] = 0;
    if (bufferSize < minimumBufferSize) return;
    // Two zero bytes beyond what the dialog may fill: a selection that
    // fills the whole buffer still ends in an empty text.
    fileBuffer = allocateZeroed(bufferSize + 2);
    titleBuffer = allocateZeroed(bufferSize);
    if (!fileBuffer || !titleBuffer) {
        release(fileBuffer);
        release(titleBuffer);
        return;
    }
    record.lStructSize = recordSize;
    record.hwndOwner = owner;
    record.lpstrFile = fileBuffer;
    record.nMaxFile = bufferSize;
    record.lpstrFileTitle = titleBuffer;
    record.nMaxFileTitle = bufferSize;
    record.Flags = flags;
}

FilePicker::~FilePicker() {
    release(fileBuffer);
    release(titleBuffer);
    release(filterCopy);
}

void FilePicker::setFilter(const char* text) {
    release(filterCopy);
    record.lpstrFilter = nullptr;
    if (!text) return;
    // Two spare zero bytes: the last pattern's terminator is followed by
    // the empty text that ends the list.
    filterCopy = allocateZeroed(lstrlenA(text) + 2);
    if (!filterCopy) return;
    lstrcpyA(filterCopy, text);
    for (char* p = filterCopy; *p; ) {
        if (*p == '|') {
            *p++ = 0;
        } else {
            p = CharNextA(p);
        }
    }
    record.lpstrFilter = filterCopy;
}

bool FilePicker::run() {
    failureCode = 0;
    if (!fileBuffer) return false;
    if (shellcalls::getOpenFileName(&record)) {
        if (selectionFits()) return true;
        // Some dialogs cut a selection that does not fit instead of failing.
        failureCode = FNERR_BUFFERTOOSMALL;
    } else {
        failureCode = shellcalls::extendedError();
        if (failureCode != FNERR_BUFFERTOOSMALL) return false;
    }
    grow();
    return false;
}

// Whether the selection ends inside the room the dialog was given; one that
// was cut ends in the spare zero bytes beyond it.
bool FilePicker::selectionFits() const {
    const char* end = fileBuffer + lstrlenA(fileBuffer);
    if (isMultiple()) {
        while (*++end) end += lstrlenA(end);
    }
    return end < fileBuffer + record.nMaxFile;
}

// Twice the room, empty: the dialog writes the size it wanted over the
// selection, which the next run would take for its initial file name.
void FilePicker::grow() {
    if (record.nMaxFile >= maximumBufferSize) return;
    const DWORD size = record.nMaxFile * 2;
    char* larger = allocateZeroed(static_cast<int>(size) + 2);
    if (!larger) return;
    release(fileBuffer);
    fileBuffer = larger;
    record.lpstrFile = larger;
    record.nMaxFile = size;
}

// Told by the dialog's own answer: the names of a multiple selection start
// right after the directory's terminating zero, while a single path has a
// separator before its file name. The bytes after the first text tell
// nothing: the buffer is kept between runs, and a dialog that writes a
// single path with one terminating zero leaves an earlier run's names there.
bool FilePicker::isMultiple() const {
    if (!(record.Flags & OFN_ALLOWMULTISELECT)) return false;
    const DWORD offset = record.nFileOffset;
    return offset > 0 && offset < record.nMaxFile && fileBuffer[offset - 1] == 0;
}

int FilePicker::selectedCount() const {
    if (!fileBuffer || !fileBuffer[0]) return 0;
    if (!isMultiple()) return 1;
    int count = 0;
    for (const char* name = fileBuffer + lstrlenA(fileBuffer) + 1; *name;
         name += lstrlenA(name) + 1) {
        ++count;
    }
    return count;
}

// Name `index` after the directory; an index past the end gives the last one.
const char* FilePicker::nameAt(int index) const {
    const char* name = fileBuffer + lstrlenA(fileBuffer) + 1;
    for (int i = 0; i < index; ++i) {
        const char* next = name + lstrlenA(name) + 1;
        if (!*next) break;
        name = next;
    }
    return name;
}

const char* FilePicker::selectedName(int index) const {
    if (!fileBuffer) return "";
    return isMultiple() ? nameAt(index) : fileBuffer;
}

const char* FilePicker::selectedPath(int index) {
    resultPath[0] = 0;
    if (!fileBuffer || !fileBuffer[0]) return resultPath;
    // A path that does not fit is skipped (left empty), never cut: a cut
    // path would name some other file.
    const int directoryLength = lstrlenA(fileBuffer);
    const char* name = isMultiple() ? nameAt(index) : nullptr;
    const int nameLength = name ? lstrlenA(name) : 0;
    if (!name || hasOwnPath(name)) {
        const char* path = name ? name : fileBuffer;
        if (lstrlenA(path) < static_cast<int>(sizeof resultPath)) lstrcpyA(resultPath, path);
    } else {
        const bool separated = endsInBackslash(fileBuffer);
        if (directoryLength + (separated ? 0 : 1) + nameLength >= static_cast<int>(sizeof resultPath))
            return resultPath;
        lstrcpyA(resultPath, fileBuffer);
        if (!separated) lstrcatA(resultPath, "\\");
        lstrcatA(resultPath, name);
    }
    if (!WidePath::fitsMaxPath(resultPath)) resultPath[0] = 0;
    return resultPath;
}
