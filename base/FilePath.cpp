#include "base/FilePath.h"

#include "base/Exception.h"
#include "base/WidePath.h"

FilePath::FilePath(const CountedString& path) {
    if (path.length() == 0) return;
    if (WidePath::goesWide(path.c_str())) {
        resolveWide(path);
        return;
    }
    char buffer[MAX_PATH];
    buffer[0] = '\0';
    char* lastPart = nullptr;
    SetLastError(ERROR_SUCCESS);
    const DWORD written = GetFullPathNameA(path.c_str(), MAX_PATH, buffer, &lastPart);
    if (written >= MAX_PATH) {
        // The call reports the size it would need and leaves the buffer unset.
        throwWin32Error(ERROR_FILENAME_EXCED_RANGE);
    }
    if (written == 0 || buffer[0] == '\0') {
        const DWORD code = GetLastError();
        throwWin32Error(code ? code : static_cast<DWORD>(ERROR_BAD_PATHNAME));
    }
    if (lastPart) {
        leaf = lastPart;
        *lastPart = '\0';
    }
    folder = buffer;
}

// The same through the wide call, for a path the ANSI code page cannot hold.
void FilePath::resolveWide(const CountedString& path) {
    WidePath wide(path.c_str());
    if (!wide.valid()) throwWin32Error(ERROR_FILENAME_EXCED_RANGE);
    wchar_t buffer[MAX_PATH];
    buffer[0] = L'\0';
    wchar_t* lastPart = nullptr;
    SetLastError(ERROR_SUCCESS);
    const DWORD written = GetFullPathNameW(wide.c_str(), MAX_PATH, buffer, &lastPart);
    if (written >= MAX_PATH) throwWin32Error(ERROR_FILENAME_EXCED_RANGE);
    if (written == 0 || buffer[0] == L'\0') {
        const DWORD code = GetLastError();
        throwWin32Error(code ? code : static_cast<DWORD>(ERROR_BAD_PATHNAME));
    }
    if (lastPart) {
        leaf = WidePath::narrow(lastPart);
        *lastPart = L'\0';
    }
    folder = WidePath::narrow(buffer);
}

FilePath::~FilePath() {}

CountedString FilePath::fullPath() const {
    return folder + leaf;
}

CountedString FilePath::folderPart() const {
    return folder;
}

bool FilePath::isFolderForm() const {
    return folder.length() > 0 && leaf.length() == 0;
}

bool FilePath::exists(DWORD requiredAttributes) const {
    CountedString probe = fullPath();
    if (isFolderForm()) {
        // Resolving "." drops the trailing separator; a drive root stays a root.
        try {
            probe = FilePath(probe + ".").fullPath();
        } catch (Exception* e) {
            if (e == outOfMemoryException()) throw;
            dispose(e);  // too long to probe, so nothing can be there
            return false;
        }
    }
    if (probe.length() == 0) return false;
    const DWORD attributes = WidePath::attributes(probe.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    if (isFolderForm() && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    return (attributes & requiredAttributes) == requiredAttributes;
}
