#pragma once
#include "base/CountedString.h"
#include "base/PointerArray.h"

// An owning list of CountedString values. Every failure throws Exception.
class StringArray {
public:
    StringArray();
    virtual ~StringArray();

    int count() const;
    CountedString& at(int index) const;  // throws the last error (87) when out of range
    void add(const CountedString& text);
    void removeAt(int index);
    void clear();
    // Replaces the contents with the pieces of text between separators;
    // empty pieces are kept, the separators are not stored.
    void split(const CountedString& text, const char* separator);

private:
    StringArray(const StringArray&) = delete;
    StringArray& operator=(const StringArray&) = delete;

    ObjectArray items;
};
