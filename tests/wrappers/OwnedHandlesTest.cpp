// The owners of system handles: each gives its handle back when it goes.
#include <gtest/gtest.h>

#include <windows.h>

#include <utility>

#include "base/OwnedHandles.h"

namespace {

// A system library that the test program itself does not load.
const char* const spareLibrary = "MPR.DLL";

typedef DWORD(WINAPI* GetLastErrorProc)();

}  // namespace

TEST(OwnedHandles, LoadedLibraryIsFreedWhenItsHolderGoes) {
    ASSERT_EQ(nullptr, GetModuleHandleA(spareLibrary)) << "the test needs a library nobody holds";
    {
        LoadedLibrary library(spareLibrary);
        ASSERT_TRUE(library);
        EXPECT_EQ(library.handle(), GetModuleHandleA(spareLibrary));
        EXPECT_NE(nullptr, library.find<FARPROC>("WNetGetConnectionA"));
        EXPECT_EQ(nullptr, library.find<FARPROC>("NoSuchFunction"));
    }
    EXPECT_EQ(nullptr, GetModuleHandleA(spareLibrary));

    LoadedLibrary missing("cinevane-no-such-library.dll");
    EXPECT_FALSE(missing);
    EXPECT_EQ(nullptr, missing.find<GetLastErrorProc>("GetLastError"));
}

TEST(OwnedHandles, LoadedLibraryMovesAndFreesOnce) {
    LoadedLibrary first(spareLibrary);
    ASSERT_TRUE(first);
    LoadedLibrary second(std::move(first));
    EXPECT_FALSE(first);
    ASSERT_TRUE(second);
    LoadedLibrary third;
    third = std::move(second);
    EXPECT_FALSE(second);
    EXPECT_NE(nullptr, GetModuleHandleA(spareLibrary)) << "still held once";
    third.reset();
    EXPECT_FALSE(third);
    EXPECT_EQ(nullptr, GetModuleHandleA(spareLibrary));
}

TEST(OwnedHandles, RegistryKeyIsClosedWhenItsHolderGoesOrTakesAnother) {
    HKEY first = nullptr;
    {
        RegistryKey key;
        ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, key.receive()));
        first = key.handle();
        ASSERT_NE(nullptr, first);
        EXPECT_EQ(ERROR_SUCCESS, RegQueryInfoKeyA(first, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                                  nullptr, nullptr, nullptr, nullptr, nullptr));
        // Taking another key closes the one held (whose number the system may
        // then give to the next key opened).
        HKEY* slot = key.receive();
        EXPECT_EQ(nullptr, *slot);
        EXPECT_EQ(ERROR_INVALID_HANDLE, RegQueryInfoKeyA(first, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                                         nullptr, nullptr, nullptr, nullptr, nullptr));
        ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel", 0, KEY_READ, slot));
        first = key.handle();
    }
    EXPECT_EQ(ERROR_INVALID_HANDLE, RegQueryInfoKeyA(first, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                                     nullptr, nullptr, nullptr, nullptr, nullptr));
}

TEST(OwnedHandles, GdiObjectsAndMemoryDcsAreDeletedWhenTheirHoldersGo) {
    HGDIOBJ brush = nullptr;
    HDC memory = nullptr;
    {
        GdiObject held(CreateSolidBrush(RGB(1, 2, 3)));
        brush = held.handle();
        EXPECT_EQ(static_cast<DWORD>(OBJ_BRUSH), GetObjectType(brush));
        EXPECT_EQ(brush, held.as<HBRUSH>());
        MemoryDc dc(nullptr);
        memory = dc.handle();
        EXPECT_EQ(static_cast<DWORD>(OBJ_MEMDC), GetObjectType(memory));
    }
    EXPECT_EQ(0u, GetObjectType(brush));
    EXPECT_EQ(0u, GetObjectType(memory));
    GdiObject none;
    EXPECT_FALSE(none);
}

TEST(OwnedHandles, PaintDcValidatesTheWindowAndWindowDcDrawsOnIt) {
    HWND window = CreateWindowExA(0, "STATIC", "paint", WS_POPUP | WS_VISIBLE, 0, 0, 40, 30, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, window);
    InvalidateRect(window, nullptr, FALSE);
    RECT update;
    ASSERT_TRUE(GetUpdateRect(window, &update, FALSE));
    {
        PaintDc paint(window);
        EXPECT_NE(nullptr, paint.handle());
    }
    EXPECT_FALSE(GetUpdateRect(window, &update, FALSE)) << "EndPaint validated the window";
    {
        WindowDc dc(window);
        ASSERT_NE(nullptr, dc.handle());
        EXPECT_EQ(window, WindowFromDC(dc.handle()));
    }
    DestroyWindow(window);
}
