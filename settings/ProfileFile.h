#pragma once
#include "settings/ProfileStore.h"

// Reads and writes keys of one INI file through the system's profile
// functions; each call opens and closes the file, nothing is cached. A value
// the ANSI code page cannot hold (see base/WidePath.h) makes the file a
// Unicode profile file, which is then read through the wide calls (values
// cut to 259 characters rather than bytes).
class ProfileFile : public ProfileStore {
public:
    ProfileFile();
    ~ProfileFile() override;

    // Longer paths are cut to 259 bytes.
    void setPath(const CountedString& path) override;

    BOOL writeInt(const CountedString& section, const CountedString& key, int value) override;
    BOOL writeString(const CountedString& section, const CountedString& key,
                     const CountedString& text) override;
    int readIntClamped(const CountedString& section, const CountedString& key,
                       int defaultValue, int minimum, int maximum) override;
    int readInt(const CountedString& section, const CountedString& key, int defaultValue) override;
    int readBool(const CountedString& section, const CountedString& key, int defaultValue) override;
    CountedString readString(const CountedString& section, const CountedString& key,
                             const CountedString& defaultText) override;

    BOOL deleteSection(const CountedString& section) override;
    // The names of the section's keys, each followed by a zero byte, filling
    // the buffer (bufferSize() bytes, c_str() shows only the first name). A
    // key without a name gives an empty name. No names for a missing section.
    CountedString readKeyNames(const CountedString& section);

private:
    // The same operations on plain texts, bound to a fixed path buffer.
    class Access {
    public:
        Access();
        virtual ~Access();

        void setPath(const char* text);
        BOOL writeInt(const char* section, const char* key, int value);
        BOOL writeString(const char* section, const char* key, const char* text);
        int readIntClamped(const char* section, const char* key, int defaultValue,
                           int minimum, int maximum);
        int readInt(const char* section, const char* key, int defaultValue);
        int readBool(const char* section, const char* key, int defaultValue);
        DWORD readString(const char* section, const char* key, const char* defaultText,
                         char* buffer, DWORD size);
        BOOL deleteSection(const char* section);
        // Values the ANSI code page cannot hold: the file is made a Unicode
        // profile file for them, and read through the wide calls once it is.
        bool unicode() const;
        BOOL writeWideString(const char* section, const char* key, const char* text);
        CountedString readWideString(const char* section, const char* key, const char* defaultText);

    private:
        char path[MAX_PATH];
    };

    ProfileFile(const ProfileFile&) = delete;
    ProfileFile& operator=(const ProfileFile&) = delete;

    Access access;
};
