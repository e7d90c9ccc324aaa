// The preview of cinevane.scr inside a window of the test, as the display
// settings show it: the still picture, nothing played, nothing stored.
#include <gtest/gtest.h>

#include <vector>

#include "ShowDriver.h"
#include "support/TestPaths.h"

using namespace showdriver;

namespace {

const COLORREF kCaptionBlue = RGB(0, 0, 255);
const int kIconWidth = 32;

LRESULT CALLBACK parentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

// A white window standing in for the display settings' preview area.
HWND makePreviewParent(int x, int y, int width, int height) {
    WNDCLASSA parentClass = {};
    parentClass.lpfnWndProc = parentProc;
    parentClass.hInstance = GetModuleHandleA(nullptr);
    parentClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    parentClass.lpszClassName = "ShowTestPreviewParent";
    RegisterClassA(&parentClass);
    HWND window = CreateWindowExA(WS_EX_TOPMOST, parentClass.lpszClassName, "", WS_POPUP, x, y, width,
                                  height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    UpdateWindow(window);
    return window;
}

// The pixels of a screen area, row by row.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;

    COLORREF at(int x, int y) const { return pixels[y * width + x]; }
};

Picture capture(HWND window) {
    RECT area;
    GetWindowRect(window, &area);
    Picture picture;
    picture.width = area.right - area.left;
    picture.height = area.bottom - area.top;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, picture.width, picture.height, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    const DWORD* source = static_cast<const DWORD*>(bits);
    for (int i = 0; i < picture.width * picture.height; ++i) {
        DWORD p = source[i];  // 0x00RRGGBB
        picture.pixels.push_back(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return picture;
}

bool hasCaption(const Picture& picture) {
    for (COLORREF p : picture.pixels)
        if (p == kCaptionBlue) return true;
    return false;
}

}  // namespace

TEST(ShowPreview, StillPictureInTheParentNothingPlayedNothingStored) {
    int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const struct {
        const char* what;
        RECT place;  // left, top, width, height
    } cases[] = {
        {"a small preview area", {100, 100, 240, 180}},
        // As high as the screen: only the run mode tells a preview from a show.
        {"a preview area as high as the screen", {screenWidth - 300, 0, 300, screenHeight}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ShowFolder folder("preview", testpaths::binaryPath("cinevane.scr"));
        folder.setOptions(0, 1, 1);
        folder.setEntries({clip("red.avi")});
        folder.setResume(clip("red.avi"), "0,9");
        HWND parent = makePreviewParent(c.place.left, c.place.top, c.place.right, c.place.bottom);
        ASSERT_NE(nullptr, parent);

        RunningProgram preview;
        std::string arguments = "/p " + std::to_string(reinterpret_cast<UINT_PTR>(parent));
        ASSERT_TRUE(preview.start(folder.programPath, arguments));
        Picture picture;
        DWORD start = GetTickCount();
        do {
            pump(20);
            picture = capture(parent);
        } while (!hasCaption(picture) && preview.running() && GetTickCount() - start < kDeadline);
        ASSERT_TRUE(hasCaption(picture)) << "no caption drawn";
        EXPECT_NE(nullptr, FindWindowExA(parent, nullptr, "WindowsScreenSaverClass", "Preview"));

        // The icon's yellow play arrow lies inside its 32 by 32 cell.
        bool iconDrawn = false;
        for (int y = 0; y < kIconWidth; ++y)
            for (int x = 0; x < kIconWidth; ++x)
                if (picture.at(x, y) == RGB(255, 255, 0)) iconDrawn = true;
        EXPECT_TRUE(iconDrawn);

        // The caption starts right of the icon's width, at the top edge.
        int left = picture.width, top = picture.height, bottom = -1, right = -1;
        for (int y = 0; y < picture.height; ++y)
            for (int x = 0; x < picture.width; ++x)
                if (picture.at(x, y) == kCaptionBlue) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
        EXPECT_GE(left, kIconWidth);
        EXPECT_LE(left, kIconWidth + 4);
        EXPECT_LE(top, 6);
        EXPECT_LT(bottom, 24);

        // Black everywhere else: no video, no white of the parent.
        int notBlack = 0;
        for (int y = 0; y < picture.height; ++y)
            for (int x = 0; x < picture.width; ++x)
                if ((y >= kIconWidth || x > right) && picture.at(x, y) != RGB(0, 0, 0)) ++notBlack;
        EXPECT_EQ(0, notBlack);

        // The display settings close the preview by destroying their window.
        DestroyWindow(parent);
        ASSERT_TRUE(preview.waitForExit(kDeadline));
        EXPECT_EQ(0u, preview.exitCode());
        EXPECT_EQ(clip("red.avi"), folder.resumeName());
        EXPECT_EQ("0,9", folder.resumeTime());
    }
}
