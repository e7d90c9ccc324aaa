#pragma once
#include "base/CountedString.h"

// Reads and writes single keys of one settings store. Reads never fail: a
// missing store, section or key gives the default.
class ProfileStore {
public:
    virtual ~ProfileStore() {}

    // The store to read and write from now on.
    virtual void setPath(const CountedString& path) = 0;

    virtual BOOL writeInt(const CountedString& section, const CountedString& key, int value) = 0;
    virtual BOOL writeString(const CountedString& section, const CountedString& key,
                             const CountedString& text) = 0;
    // A result below minimum becomes minimum, then one above maximum becomes maximum.
    virtual int readIntClamped(const CountedString& section, const CountedString& key,
                               int defaultValue, int minimum, int maximum) = 0;
    virtual int readInt(const CountedString& section, const CountedString& key, int defaultValue) = 0;
    // Any non-zero value reads as 1.
    virtual int readBool(const CountedString& section, const CountedString& key, int defaultValue) = 0;
    // Values longer than 259 bytes arrive cut to 259 bytes.
    virtual CountedString readString(const CountedString& section, const CountedString& key,
                                     const CountedString& defaultText) = 0;
    // Removes the section with all its keys.
    virtual BOOL deleteSection(const CountedString& section) = 0;
};
