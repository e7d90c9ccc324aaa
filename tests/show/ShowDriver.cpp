#include "ShowDriver.h"

#include "support/ScreenPicture.h"

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

Screen classify(COLORREF color) {
    switch (screen::colourOf(color)) {
        case screen::black: return Screen::Black;
        case screen::red: return Screen::Red;
        case screen::lime: return Screen::Lime;
        case screen::blue: return Screen::Blue;
        case screen::mixed: break;
        default: return Screen::Other;
    }
    // The MP4 clips' teal: no red, half green and half blue, each within a
    // few tens after YUV.
    const int red = GetRValue(color), green = GetGValue(color), blue = GetBValue(color);
    if (color != CLR_INVALID && red < 0x40 && green > 0x60 && green < 0xA0 && blue > 0x60 && blue < 0xA0)
        return Screen::Teal;
    return Screen::Other;
}

}  // namespace

Screen screenNow() {
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    // The strip at the bottom of long.avi's test picture holds every bar colour;
    // after a jump into the clip the rest of its picture may still be black.
    bool colours[8] = {};
    int distinct = 0;
    for (int i = 0; i < 16; ++i) {
        const screen::Colour c = screen::colourOf(screen::pixel(width * (2 * i + 1) / 32, height * 15 / 16));
        if (c > screen::black && !colours[c]) {
            colours[c] = true;
            ++distinct;
        }
    }
    Screen solid = classify(screen::pixel(width / 4, height * 3 / 10));
    for (POINT p : {POINT{width * 3 / 4, height * 3 / 10}, POINT{width / 2, height / 2},
                    POINT{width / 4, height * 9 / 10}}) {
        if (classify(screen::pixel(p.x, p.y)) != solid) solid = Screen::Other;
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
