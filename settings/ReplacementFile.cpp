#include "settings/ReplacementFile.h"

#include "base/FilePath.h"
#include "base/Heap.h"
#include "base/LastError.h"

#include <cstring>

namespace {

[[noreturn]] void fail(DWORD code) {
    SetLastError(code);
    throwLastError();
}

void check(DWORD code) {
    if (code) fail(code);
}

// The file's whole contents (the block is the caller's, null when empty);
// `missing` when there is no such file. Returns the system's error code.
DWORD readWhole(const char* path, char** bytes, DWORD* size, bool* missing) {
    *bytes = nullptr;
    *size = 0;
    *missing = false;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        *missing = error == ERROR_FILE_NOT_FOUND;
        return *missing ? 0 : error;
    }
    DWORD error = 0;
    const DWORD length = GetFileSize(file, nullptr);
    if (length == INVALID_FILE_SIZE) {
        error = GetLastError();
    } else if (length > 0) {
        *bytes = static_cast<char*>(heap::allocate(length));
        if (!*bytes) {
            error = ERROR_NOT_ENOUGH_MEMORY;
        } else if (!ReadFile(file, *bytes, length, size, nullptr)) {
            error = GetLastError();
        }
    }
    CloseHandle(file);
    return error;
}

DWORD writeWhole(const char* path, const char* bytes, DWORD size) {
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return GetLastError();
    DWORD written = 0;
    DWORD error = 0;
    if (!WriteFile(file, bytes, size, &written, nullptr)) {
        error = GetLastError();
    } else if (written != size) {
        error = ERROR_WRITE_FAULT;
    }
    if (!CloseHandle(file) && !error) error = GetLastError();
    return error;
}

// The text in the ANSI code page as UTF-16, after its byte-order mark.
DWORD writeUnicode(const char* path, const char* bytes, DWORD size) {
    const int units = size ? MultiByteToWideChar(CP_ACP, 0, bytes, static_cast<int>(size), nullptr, 0) : 0;
    if (size && units <= 0) return GetLastError();
    wchar_t* text = static_cast<wchar_t*>(heap::allocate((units + 1) * sizeof(wchar_t)));
    if (!text) return ERROR_NOT_ENOUGH_MEMORY;
    text[0] = 0xFEFF;
    if (units) MultiByteToWideChar(CP_ACP, 0, bytes, static_cast<int>(size), text + 1, units);
    const DWORD error = writeWhole(path, reinterpret_cast<const char*>(text), (units + 1) * sizeof(wchar_t));
    heap::release(text);
    return error;
}

// A new, empty file of a name of its own in the folder of `path`.
CountedString newFileBeside(const char* path) {
    char name[MAX_PATH];
    if (!GetTempFileNameA(FilePath(path).folderPart().c_str(), "cin", 0, name)) throwLastError();
    return name;
}

}  // namespace

ReplacementFile::ReplacementFile(const CountedString& target)
    : target(target), snapshot(nullptr), snapshotSize(0), targetExisted(false) {}

ReplacementFile::~ReplacementFile() {
    if (copy.length() > 0) DeleteFileA(copy.c_str());
    heap::release(snapshot);
}

void ReplacementFile::prepare() {
    writeCopy(false);
}

void ReplacementFile::prepareUnicode() {
    writeCopy(true);
}

void ReplacementFile::writeCopy(bool unicode) {
    // Replacing would get round what keeps the file itself from being written.
    const DWORD attributes = GetFileAttributesA(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
        fail(ERROR_ACCESS_DENIED);
    }
    bool missing = false;
    check(readWhole(target.c_str(), &snapshot, &snapshotSize, &missing));
    targetExisted = !missing;
    copy = newFileBeside(target.c_str());
    if (unicode && !startsWithByteOrderMark(snapshot, snapshotSize)) {
        check(writeUnicode(copy.c_str(), snapshot, snapshotSize));
    } else if (snapshotSize > 0) {
        check(writeWhole(copy.c_str(), snapshot, snapshotSize));
    }
}

bool ReplacementFile::startsWithByteOrderMark(const char* bytes, DWORD size) {
    return size >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE;
}

bool ReplacementFile::targetUnchanged() const {
    char* bytes = nullptr;
    DWORD size = 0;
    bool missing = false;
    const bool same = readWhole(target.c_str(), &bytes, &size, &missing) == 0 && missing == !targetExisted &&
                      size == snapshotSize && (size == 0 || memcmp(bytes, snapshot, size) == 0);
    heap::release(bytes);
    return same;
}

bool ReplacementFile::putInPlace(bool regardless) {
    // Windows 9x keeps profile writes in a cache until asked to flush it.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, copy.c_str());
    if (!regardless && !targetUnchanged()) return false;
    moveOver(copy.c_str(), target.c_str());
    copy = "";
    return true;
}

void ReplacementFile::moveOver(const char* from, const char* to) {
    typedef BOOL(WINAPI * MoveFileExCall)(const char*, const char*, DWORD);
    // Looked up: Windows 98 lacks it or answers from a stub.
    static const MoveFileExCall moveFileEx = reinterpret_cast<MoveFileExCall>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("KERNEL32.DLL"), "MoveFileExA")));
    if (moveFileEx) {
        if (moveFileEx(from, to, MOVEFILE_REPLACE_EXISTING)) return;
        if (GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) throwLastError();
    }
    moveOverByRenaming(from, to);
}

void ReplacementFile::moveOverByRenaming(const char* from, const char* to) {
    if (GetFileAttributesA(to) == INVALID_FILE_ATTRIBUTES) {
        if (!MoveFileA(from, to)) throwLastError();
        return;
    }
    // The reserved name must be free again for the rename.
    const CountedString aside = newFileBeside(to);
    DeleteFileA(aside.c_str());
    if (!MoveFileA(to, aside.c_str())) throwLastError();
    if (!MoveFileA(from, to)) {
        const DWORD error = GetLastError();
        MoveFileA(aside.c_str(), to);
        fail(error);
    }
    DeleteFileA(aside.c_str());
}
