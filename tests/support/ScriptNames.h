#pragma once
#include <string>
#include <vector>

#include "base/WidePath.h"

// File names of everyday scripts, most of which the ANSI code page of the
// tests (932) cannot hold, and one it can for comparison; each test of such
// names goes through this one table.
namespace scriptnames {

struct Row {
    int line;
    std::wstring name;
    bool fitsTheCodePage;
};

inline std::vector<Row> rows() {
    return {
        {__LINE__, L"caf\u00e9-\u00fc", false},                                   // accented Latin
        {__LINE__, L"\ud55c\uad6d-\uc601\ud654", false},                           // Hangul
        {__LINE__, L"\u7b80\u4f53-\u7535\u5f71", false},                           // simplified Chinese
        {__LINE__, L"\u043a\u0438\u043d\u043e-\u041a\u0438\u0457\u0432", false},  // Cyrillic, with Ukrainian yi
        {__LINE__, L"\U0001F3AC-clip", false},                                     // an emoji
        {__LINE__, L"\u8868\u793a-\u6620\u753b", true},  // Japanese: 表 ends in a backslash byte
        // Long enough that its narrow form (five bytes a character) passes MAX_PATH.
        {__LINE__, std::wstring(60, L'\uac00') + L"-long", false},
    };
}

// The program's narrow form of a name or path.
inline std::string narrow(const std::wstring& wide) {
    return WidePath::narrow(wide.c_str()).c_str();
}

}  // namespace scriptnames
