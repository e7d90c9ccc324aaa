#include "ShowDriver.h"

#include "base/OwnedHandles.h"

namespace showdriver {

const char* screenName(Screen screen) {
    switch (screen) {
        case Screen::Black: return "black";
        case Screen::Red: return "red";
        case Screen::Lime: return "lime";
        case Screen::Blue: return "blue";
        case Screen::Teal: return "teal";
        case Screen::Bars: return "bars";
        default: return "other";
    }
}

std::string describe(const std::vector<Screen>& screens) {
    std::string text;
    for (Screen screen : screens) {
        if (!text.empty()) text += ", ";
        text += screenName(screen);
    }
    return "[" + text + "]";
}

namespace {

// Channels well above or below the middle, so that a codec's rounding does
// not matter.
Screen classify(COLORREF color) {
    if (color == CLR_INVALID) return Screen::Other;
    bool r = GetRValue(color) > 0xC0, g = GetGValue(color) > 0xC0, b = GetBValue(color) > 0xC0;
    bool rLow = GetRValue(color) < 0x40, gLow = GetGValue(color) < 0x40, bLow = GetBValue(color) < 0x40;
    if (rLow && gLow && bLow) return Screen::Black;
    if (r && gLow && bLow) return Screen::Red;
    if (rLow && g && bLow) return Screen::Lime;
    if (rLow && gLow && b) return Screen::Blue;
    // Half green and half blue, each within a few tens after YUV.
    const int green = GetGValue(color), blue = GetBValue(color);
    if (rLow && green > 0x60 && green < 0xA0 && blue > 0x60 && blue < 0xA0) return Screen::Teal;
    return Screen::Other;
}

// Each channel clearly high or low: a number for the colour; else -1.
int colourClass(COLORREF color) {
    int result = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        int channel = (color >> shift) & 0xFF;
        if (channel >= 0x40 && channel <= 0xC0) return -1;
        if (channel > 0xC0) result |= 1 << (shift / 8);
    }
    return result;
}

}  // namespace

Screen screenNow() {
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    WindowDc screenDc(nullptr);
    HDC screen = screenDc.handle();
    // The strip at the bottom of long.avi's test picture holds every bar colour;
    // after a jump into the clip the rest of its picture may still be black.
    bool colours[8] = {};
    int distinct = 0;
    for (int i = 0; i < 16; ++i) {
        int c = colourClass(GetPixel(screen, width * (2 * i + 1) / 32, height * 15 / 16));
        if (c > 0 && !colours[c]) {
            colours[c] = true;
            ++distinct;
        }
    }
    Screen solid = classify(GetPixel(screen, width / 4, height * 3 / 10));
    for (POINT p : {POINT{width * 3 / 4, height * 3 / 10}, POINT{width / 2, height / 2},
                    POINT{width / 4, height * 9 / 10}}) {
        if (classify(GetPixel(screen, p.x, p.y)) != solid) solid = Screen::Other;
    }
    return distinct >= 4 ? Screen::Bars : solid;
}

namespace {

std::vector<Screen> watch(const RunningProgram& program, size_t count, Screen last, DWORD deadline) {
    std::vector<Screen> seen;
    pump::until([&] {
        if (!program.running()) return true;
        Screen now = screenNow();
        bool isClip = now != Screen::Black && now != Screen::Other;
        if (isClip && (seen.empty() || seen.back() != now)) seen.push_back(now);
        return seen.size() >= count || (!seen.empty() && seen.back() == last);
    }, deadline);
    return seen;
}

}  // namespace

std::vector<Screen> watchClips(const RunningProgram& program, size_t count, DWORD deadline) {
    return watch(program, count, Screen::Other, deadline);
}

std::vector<Screen> watchClipsUntil(const RunningProgram& program, Screen last, DWORD deadline) {
    return watch(program, static_cast<size_t>(-1), last, deadline);
}

}  // namespace showdriver
