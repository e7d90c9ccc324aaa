#pragma once
#include <windows.h>

// Zero-terminated byte string in the ANSI code page. Copies share one heap
// buffer through a reference count; a buffer is copied before any change.
class CountedString {
public:
    CountedString();
    CountedString(const CountedString& other);
    CountedString(const char* text);  // throws 87 for null
    virtual ~CountedString();

    CountedString& operator=(const CountedString& other);
    CountedString& operator=(const char* text);  // assign

    // Reading.
    const char* c_str() const { return data; }
    int length() const;
    int bufferSize() const { return size; }
    int compare(const char* text) const;
    bool equals(const char* text) const;
    bool endsWith(const char* suffix) const;           // double-byte aware
    int find(const char* text, int from = 0) const;    // byte offset or -1

    // Writing; each makes the buffer private first.
    void resize(int bytes);
    char* getBuffer(int chars);
    char* at(int index);
    void assign(const char* text);
    void assignNumber(int value);
    void loadString(HMODULE module, UINT id);
    void append(const char* text);
    CountedString& operator+=(const char* text);

    // New strings; this one is unchanged.
    CountedString mid(int start, int count) const;
    CountedString mid(int start) const;
    CountedString left(int count) const;
    CountedString right(int count) const;
    CountedString trimLeft() const;
    CountedString trimRight() const;
    int toInt() const;

    // Holders of this buffer (for tests of the sharing).
    LONG shareCount() const { return refs ? *refs : 0; }

private:
    void release();
    bool ownsPointer(const char* text) const;  // points into this buffer

    char* data;
    int size;
    LONG* refs;
};

CountedString operator+(const CountedString& left, const CountedString& right);
CountedString operator+(const CountedString& left, const char* right);
CountedString operator+(const char* left, const CountedString& right);
