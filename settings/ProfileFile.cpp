#include "settings/ProfileFile.h"

#include "base/Exception.h"
#include "base/WidePath.h"
#include "settings/ReplacementFile.h"

// Limits the key list buffer: no sane settings file comes near it, and a
// damaged one must not make the reader allocate without end.
static const DWORD maxKeyListBytes = 64 * 1024 * 1024;

ProfileFile::Access::Access() {
    path[0] = '\0';
}

ProfileFile::Access::~Access() {}

void ProfileFile::Access::setPath(const char* text) {
    lstrcpynA(path, text, sizeof path);
}

BOOL ProfileFile::Access::writeInt(const char* section, const char* key, int value) {
    char text[20];
    wsprintfA(text, "%d", value);
    return WritePrivateProfileStringA(section, key, text, path);
}

BOOL ProfileFile::Access::writeString(const char* section, const char* key, const char* text) {
    if (text && WidePath::goesWide(text)) return writeWideString(section, key, text);
    return WritePrivateProfileStringA(section, key, text, path);
}

bool ProfileFile::Access::unicode() const {
    if (!WidePath::wideSystem()) return false;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    char head[2];
    DWORD read = 0;
    const bool ok = ReadFile(file, head, sizeof head, &read, nullptr) != FALSE;
    CloseHandle(file);
    return ok && ReplacementFile::startsWithByteOrderMark(head, read);
}

BOOL ProfileFile::Access::writeWideString(const char* section, const char* key, const char* text) {
    if (!unicode()) {
        // Only now, and only this once, does the file change its form; a file
        // that cannot be replaced fails the write as a refused write does.
        try {
            ReplacementFile replacement(path);
            replacement.prepareUnicode();
            replacement.putInPlace(true);
        } catch (Exception* e) {
            if (e == outOfMemoryException()) throw;
            SetLastError(e->code);
            dispose(e);
            return FALSE;
        }
    }
    WidePath wideSection(section);
    WidePath wideKey(key);
    WidePath wideText(text);
    WidePath widePath(path);
    if (!wideText.valid()) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return FALSE;
    }
    return WritePrivateProfileStringW(wideSection.c_str(), wideKey.c_str(), wideText.c_str(), widePath.c_str());
}

CountedString ProfileFile::Access::readWideString(const char* section, const char* key, const char* defaultText) {
    WidePath wideSection(section);
    WidePath wideKey(key);
    WidePath wideDefault(defaultText);
    WidePath widePath(path);
    wchar_t buffer[MAX_PATH];
    buffer[0] = L'\0';
    GetPrivateProfileStringW(wideSection.c_str(), wideKey.c_str(), wideDefault.c_str(), buffer, MAX_PATH,
                             widePath.c_str());
    return WidePath::narrow(buffer);
}

int ProfileFile::Access::readIntClamped(const char* section, const char* key, int defaultValue,
                                        int minimum, int maximum) {
    int value = readInt(section, key, defaultValue);
    if (value < minimum) value = minimum;
    if (value > maximum) value = maximum;
    return value;
}

int ProfileFile::Access::readInt(const char* section, const char* key, int defaultValue) {
    return static_cast<int>(GetPrivateProfileIntA(section, key, defaultValue, path));
}

int ProfileFile::Access::readBool(const char* section, const char* key, int defaultValue) {
    return readInt(section, key, defaultValue) != 0 ? 1 : 0;
}

DWORD ProfileFile::Access::readString(const char* section, const char* key, const char* defaultText,
                                      char* buffer, DWORD size) {
    return GetPrivateProfileStringA(section, key, defaultText, buffer, size, path);
}

BOOL ProfileFile::Access::deleteSection(const char* section) {
    return WritePrivateProfileSectionA(section, nullptr, path);
}

ProfileFile::ProfileFile() {}

ProfileFile::~ProfileFile() {}

void ProfileFile::setPath(const CountedString& path) {
    access.setPath(path.c_str());
}

BOOL ProfileFile::writeInt(const CountedString& section, const CountedString& key, int value) {
    return access.writeInt(section.c_str(), key.c_str(), value);
}

BOOL ProfileFile::writeString(const CountedString& section, const CountedString& key,
                              const CountedString& text) {
    return access.writeString(section.c_str(), key.c_str(), text.c_str());
}

int ProfileFile::readIntClamped(const CountedString& section, const CountedString& key,
                                int defaultValue, int minimum, int maximum) {
    return access.readIntClamped(section.c_str(), key.c_str(), defaultValue, minimum, maximum);
}

int ProfileFile::readInt(const CountedString& section, const CountedString& key, int defaultValue) {
    return access.readInt(section.c_str(), key.c_str(), defaultValue);
}

int ProfileFile::readBool(const CountedString& section, const CountedString& key, int defaultValue) {
    return access.readBool(section.c_str(), key.c_str(), defaultValue);
}

CountedString ProfileFile::readString(const CountedString& section, const CountedString& key,
                                      const CountedString& defaultText) {
    if (access.unicode()) return access.readWideString(section.c_str(), key.c_str(), defaultText.c_str());
    CountedString text;
    char* buffer = text.getBuffer(MAX_PATH - 1);
    buffer[0] = '\0';
    access.readString(section.c_str(), key.c_str(), defaultText.c_str(), buffer, MAX_PATH);
    return text;
}

BOOL ProfileFile::deleteSection(const CountedString& section) {
    return access.deleteSection(section.c_str());
}

CountedString ProfileFile::readKeyNames(const CountedString& section) {
    CountedString names;
    // A list that does not fit comes back cut, with the size less two as its
    // length; try again with more room. Every call reads the whole file, so
    // the room grows in large steps.
    DWORD size = 4096;
    for (;;) {
        char* buffer = names.getBuffer(static_cast<int>(size) - 1);
        buffer[0] = '\0';
        buffer[1] = '\0';
        DWORD length = access.readString(section.c_str(), nullptr, "", buffer, size);
        if (length < size - 2 || size >= maxKeyListBytes) {
            // Whatever the call left, the list ends within the buffer.
            if (length > size - 2) length = size - 2;
            buffer[length] = '\0';
            buffer[length + 1] = '\0';
            // The list may hold empty names, so its length is kept as the
            // buffer's size.
            names.resize(static_cast<int>(length) + 2);
            return names;
        }
        size = size < maxKeyListBytes / 8 ? size * 8 : maxKeyListBytes;
    }
}
