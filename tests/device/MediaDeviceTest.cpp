#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include <functional>
#include <string>

#include "NotifyWindow.h"
#include "base/Exception.h"
#include "playback/mci/MediaDevice.h"
#include "support/TestPaths.h"

using testpaths::clip;

namespace {

// Runs f and returns the MciException it throws (the caller disposes), or null.
template <typename F>
MciException* thrownMci(F f) {
    try {
        f();
    } catch (Exception* e) {
        auto* mci = dynamic_cast<MciException*>(e);
        if (!mci) dispose(e);
        return mci;
    }
    return nullptr;
}

TEST(MediaDevice, DamagedFilesThrowWithTheDriversText) {
    NotifyWindow target;
    for (const char* name : {"damaged.avi", "garbage.avi"}) {
        SCOPED_TRACE(name);
        MediaDevice device;
        MciException* e = thrownMci([&] { device.open(target.hwnd(), clip(name).c_str()); });
        ASSERT_NE(nullptr, e);
        EXPECT_NE(0u, e->code);
        char expected[256] = {};
        ASSERT_TRUE(mciGetErrorStringA(e->code, expected, sizeof expected));
        char* text = e->messageText();
        ASSERT_NE(nullptr, text);
        EXPECT_STREQ(expected, text);
        LocalFree(text);
        dispose(e);
        EXPECT_FALSE(device.isOpen());
    }
}

TEST(MediaDevice, ClosedDeviceThrowsForCommandsButNotForClose) {
    MediaDevice device;
    DWORD minutes, seconds;
    const std::function<void()> commands[] = {
        [&] { device.play(0, 0, 0, 0); },
        [&] { device.stop(); },
        [&] { device.getDestination(); },
        [&] { device.setDestination(Bounds(0, 0, 10, 10)); },
        [&] { device.setAudio(false, MCI_SET_AUDIO_ALL); },
        [&] { device.getPosition(minutes, seconds); },
    };
    for (const auto& command : commands) {
        MciException* e = thrownMci(command);
        ASSERT_NE(nullptr, e);
        EXPECT_EQ(static_cast<DWORD>(MCIERR_INVALID_DEVICE_ID), e->code);
        dispose(e);
    }
    EXPECT_EQ(0u, device.close());
}

TEST(MediaDevice, DestinationIsLeftTopWidthHeight) {
    NotifyWindow target;
    MediaDevice device;
    device.open(target.hwnd(), clip("pattern.avi").c_str());
    device.setDestination(Bounds(100, 50, 200, 100));
    Bounds got = device.getDestination();
    EXPECT_EQ(100, got.left);
    EXPECT_EQ(50, got.top);
    EXPECT_EQ(200, got.width);
    EXPECT_EQ(100, got.height);
    EXPECT_EQ(0u, device.close());
    EXPECT_FALSE(device.isOpen());
}

}  // namespace
