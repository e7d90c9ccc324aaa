#pragma once
#include <windows.h>

// While one lives, a byte-stream handler for Matroska files is registered
// for Media Foundation, as Windows 10 has it (Windows 7 and Wine 10 have
// none). A registration that was there before stays.
class MatroskaSource {
public:
    MatroskaSource();
    ~MatroskaSource();
    MatroskaSource(const MatroskaSource&) = delete;
    MatroskaSource& operator=(const MatroskaSource&) = delete;

private:
    HKEY key = nullptr;
    bool made = false;
};
