#include "support/ScreenPicture.h"

#include "base/OwnedHandles.h"

namespace screen {

Picture capture(const RECT& area) {
    Picture picture;
    picture.width = area.right - area.left;
    picture.height = area.bottom - area.top;
    picture.pixels.assign(picture.width * picture.height, CLR_INVALID);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    WindowDc screen(nullptr);
    MemoryDc memory(screen.handle());
    GdiObject bitmap(CreateDIBSection(memory.handle(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap.handle() || !bits) return picture;
    HGDIOBJ old = SelectObject(memory.handle(), bitmap.handle());
    BitBlt(memory.handle(), 0, 0, picture.width, picture.height, screen.handle(), area.left, area.top, SRCCOPY);
    GdiFlush();
    const DWORD* source = static_cast<const DWORD*>(bits);
    for (size_t i = 0; i < picture.pixels.size(); ++i) {
        const DWORD p = source[i];  // 0x00RRGGBB
        picture.pixels[i] = RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    SelectObject(memory.handle(), old);
    return picture;
}

Picture capture(HWND window) {
    RECT area;
    GetWindowRect(window, &area);
    return capture(area);
}

COLORREF pixel(int x, int y) {
    WindowDc screen(nullptr);
    return GetPixel(screen.handle(), x, y);
}

COLORREF centre() {
    return pixel(GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2);
}

Colour colourOf(COLORREF color) {
    if (color == CLR_INVALID) return mixed;
    int bits = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const int channel = (color >> shift) & 0xFF;
        if (channel >= 0x40 && channel <= 0xC0) return mixed;
        if (channel > 0xC0) bits |= 1 << (shift / 8);
    }
    return static_cast<Colour>(bits);
}

bool looksLike(COLORREF seen, COLORREF wanted) {
    if (seen == CLR_INVALID) return false;
    for (int shift = 0; shift < 24; shift += 8) {
        const int difference = static_cast<int>((seen >> shift) & 0xFF) - static_cast<int>((wanted >> shift) & 0xFF);
        if (difference > 40 || difference < -40) return false;
    }
    return true;
}

}  // namespace screen
