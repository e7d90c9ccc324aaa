#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>
#include <digitalv.h>

#include <string>

#include "CommandFault.h"
#include "NotifyWindow.h"
#include "playback/mci/MciDevice.h"
#include "support/MessagePump.h"
#include "support/TestPaths.h"

using testpaths::clip;

namespace {

// The MCI device open under the alias that open() gave path with counter.
MCIDEVICEID deviceUnderAlias(const std::string& path, DWORD counter) {
    char alias[MciDevice::aliasSize];
    MciDevice::formatAlias(alias, sizeof alias, path.c_str(), counter);
    return mciGetDeviceIDA(alias);
}

HWND displayWindow(MciDevice& device) {
    DWORD_PTR window = 0;
    EXPECT_EQ(0u, device.statusItem(MCI_DGV_STATUS_HWND, window));
    return reinterpret_cast<HWND>(window);
}

DWORD mode(MciDevice& device) {
    DWORD_PTR value = 0;
    device.statusItem(MCI_STATUS_MODE, value);
    return static_cast<DWORD>(value);
}

// One target window for all cases: top-level windows are slow to come and go
// on the X display.
class MciDeviceTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { window = new NotifyWindow; }
    static void TearDownTestSuite() { delete window; }
    void SetUp() override { target.clear(); }
    void TearDown() override { commandfault::fail(0, 0, 0); }

    static NotifyWindow* window;
    NotifyWindow& target = *window;
};

NotifyWindow* MciDeviceTest::window = nullptr;

TEST_F(MciDeviceTest, OpenBindsTheVideoToTheWindow) {
    MciDevice device;
    const std::string path = clip("pattern.avi");
    ASSERT_EQ(0u, device.open(target.hwnd(), path.c_str()));
    EXPECT_TRUE(device.isOpen());
    EXPECT_EQ(static_cast<DWORD>(MCI_DEVTYPE_DIGITAL_VIDEO), device.deviceType());
    EXPECT_EQ(target.hwnd(), displayWindow(device));
    EXPECT_NE(0u, deviceUnderAlias(path, 0));
}

TEST_F(MciDeviceTest, PlayFromTheStartRunsToTheEndAndNotifiesOnce) {
    MciDevice device;
    ASSERT_EQ(0u, device.open(target.hwnd(), clip("pattern.avi").c_str()));
    ASSERT_EQ(0u, device.play(0, 0, 0, 0));
    ASSERT_TRUE(target.waitForNotice());
    pump::drain(target.hwnd());
    ASSERT_EQ(1u, target.notices().size());
    EXPECT_EQ(static_cast<WPARAM>(MCI_NOTIFY_SUCCESSFUL), target.notices()[0].code);
    const MCIDEVICEID sender = static_cast<MCIDEVICEID>(target.notices()[0].deviceId);
    EXPECT_FALSE(device.takeEndOfPlay(MCI_NOTIFY_SUCCESSFUL, 0x7ff0)) << "the end of another device";
    EXPECT_TRUE(device.takeEndOfPlay(MCI_NOTIFY_SUCCESSFUL, sender));
    EXPECT_FALSE(device.takeEndOfPlay(MCI_NOTIFY_SUCCESSFUL, sender)) << "one end per play";
}

TEST_F(MciDeviceTest, PlayWithAnEndStopsThere) {
    MciDevice device;
    ASSERT_EQ(0u, device.open(target.hwnd(), clip("long.avi").c_str()));
    ASSERT_EQ(0u, device.play(1, 2, 1, 3));
    ASSERT_TRUE(target.waitForNotice());
    EXPECT_EQ(static_cast<WPARAM>(MCI_NOTIFY_SUCCESSFUL), target.notices()[0].code);
    DWORD minutes = 99, seconds = 99;
    ASSERT_EQ(0u, device.getPosition(minutes, seconds));
    EXPECT_EQ(1u, minutes);
    EXPECT_EQ(3u, seconds);
}

TEST(MciDevicePosition, MillisecondsSplitIntoWholeMinutesAndSeconds) {
    static const struct {
        DWORD milliseconds, minutes, seconds;
    } cases[] = {
        {0, 0, 0},          {999, 0, 0},         {59999, 0, 59},
        {60000, 1, 0},      {3725999, 62, 5},    {0xFFFFFFFF, 71582, 47},
    };
    for (const auto& c : cases) {
        DWORD minutes = 7, seconds = 7;
        MciDevice::splitPosition(c.milliseconds, minutes, seconds);
        EXPECT_EQ(c.minutes, minutes) << c.milliseconds;
        EXPECT_EQ(c.seconds, seconds) << c.milliseconds;
    }
}

TEST_F(MciDeviceTest, CommandsOfAClosedDeviceFailAndCloseSendsNothing) {
    MciDevice device;
    DWORD minutes = 5, seconds = 5;
    EXPECT_EQ(static_cast<MCIERROR>(MCIERR_INVALID_DEVICE_ID), device.getPosition(minutes, seconds));
    EXPECT_EQ(0u, minutes);
    EXPECT_EQ(0u, seconds);
    EXPECT_EQ(static_cast<MCIERROR>(MCIERR_INVALID_DEVICE_ID), device.stop());
    LONG values[4] = {1, 2, 3, 4};
    EXPECT_NE(0u, device.getDestination(values));
    EXPECT_EQ(0, values[0] | values[1] | values[2] | values[3]);
    EXPECT_EQ(0u, device.deviceType());
    // A close command to device 0 would fail as stop did.
    EXPECT_EQ(0u, device.close());
    EXPECT_EQ(0u, device.close());
}

TEST_F(MciDeviceTest, StopEndsThePlayWithoutAnEnd) {
    MciDevice device;
    ASSERT_EQ(0u, device.open(target.hwnd(), clip("long.avi").c_str()));
    ASSERT_EQ(0u, device.play(0, 0, 0, 0));
    MCIERROR result = device.stop();
    // Wine's AVI driver passes on the error of the wave device it does not
    // have (MMSYSERR_INVALHANDLE) although the play stops.
    EXPECT_TRUE(result == 0 || result == MMSYSERR_INVALHANDLE) << result;
    EXPECT_EQ(static_cast<DWORD>(MCI_MODE_STOP), mode(device));
    pump::drain(target.hwnd());
    for (const auto& notice : target.notices()) EXPECT_FALSE(device.takeEndOfPlay(notice.code, static_cast<MCIDEVICEID>(notice.deviceId)));
}

TEST_F(MciDeviceTest, CloseClosesTheMciDevice) {
    MciDevice device;
    const std::string path = clip("red.avi");
    ASSERT_EQ(0u, device.open(target.hwnd(), path.c_str()));
    ASSERT_EQ(0u, device.play(0, 0, 0, 0));
    EXPECT_EQ(0u, device.close());
    EXPECT_FALSE(device.isOpen());
    EXPECT_EQ(0u, deviceUnderAlias(path, 0));
    pump::drain(target.hwnd());
    for (const auto& notice : target.notices()) EXPECT_FALSE(device.takeEndOfPlay(notice.code, static_cast<MCIDEVICEID>(notice.deviceId)));
}

TEST_F(MciDeviceTest, SecondOpenClosesTheFirstFile) {
    MciDevice device;
    const std::string red = clip("red.avi"), blue = clip("blue.avi");
    ASSERT_EQ(0u, device.open(target.hwnd(), red.c_str()));
    ASSERT_NE(0u, deviceUnderAlias(red, 0));
    ASSERT_EQ(0u, device.open(target.hwnd(), blue.c_str()));
    EXPECT_EQ(0u, deviceUnderAlias(red, 0));
    EXPECT_NE(0u, deviceUnderAlias(blue, 0));
}

TEST_F(MciDeviceTest, TwoDevicesOpenOnePathUnderTwoAliases) {
    MciDevice first, second;
    const std::string path = clip("lime.avi");
    ASSERT_EQ(0u, first.open(target.hwnd(), path.c_str()));
    ASSERT_EQ(0u, second.open(target.hwnd(), path.c_str()));
    MCIDEVICEID a = deviceUnderAlias(path, 0), b = deviceUnderAlias(path, 1);
    EXPECT_NE(0u, a);
    EXPECT_NE(0u, b);
    EXPECT_NE(a, b);
}

TEST_F(MciDeviceTest, DestructorClosesTheDevice) {
    const std::string path = clip("blue.avi");
    {
        MciDevice device;
        ASSERT_EQ(0u, device.open(target.hwnd(), path.c_str()));
    }
    EXPECT_EQ(0u, deviceUnderAlias(path, 0));
}

TEST_F(MciDeviceTest, NullWindowBindsNothing) {
    MciDevice device;
    // A binding attempt would fail the open.
    commandfault::fail(MCI_WINDOW, 0, MCIERR_NO_WINDOW);
    ASSERT_EQ(0u, device.open(nullptr, clip("pattern.avi").c_str()));
    commandfault::fail(0, 0, 0);
    HWND display = displayWindow(device);
    EXPECT_TRUE(IsWindow(display));
    EXPECT_NE(target.hwnd(), display) << "the driver keeps its own window";
}

TEST_F(MciDeviceTest, SoundOnlyFileOpensWithoutABinding) {
    MciDevice device;
    // A binding attempt would fail the open.
    commandfault::fail(MCI_WINDOW, 0, MCIERR_NO_WINDOW);
    ASSERT_EQ(0u, device.open(target.hwnd(), clip("tone.wav").c_str()));
    EXPECT_TRUE(device.isOpen());
    EXPECT_EQ(static_cast<DWORD>(MCI_DEVTYPE_WAVEFORM_AUDIO), device.deviceType());
}

TEST_F(MciDeviceTest, DestinationAndSoundOfAVideo) {
    MciDevice device;
    ASSERT_EQ(0u, device.open(target.hwnd(), clip("pattern.avi").c_str()));
    const LONG put[4] = {100, 50, 200, 100};
    ASSERT_EQ(0u, device.setDestination(put));
    LONG got[4] = {};
    ASSERT_EQ(0u, device.getDestination(got));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(put[i], got[i]) << i;
    EXPECT_EQ(0u, device.setAudio(false, MCI_SET_AUDIO_ALL));
    EXPECT_EQ(0u, device.setAudio(true, MCI_SET_AUDIO_ALL));
}

// A binding that fails leaves nothing open; a driver that cannot name its
// display window still gets the program's window and the open succeeds.
TEST_F(MciDeviceTest, WindowBindingFailures) {
    static const struct {
        UINT command;
        DWORD item;
        MCIERROR error;
        MCIERROR expected;
        bool open;
    } cases[] = {
        {MCI_WINDOW, 0, MCIERR_NO_WINDOW, MCIERR_NO_WINDOW, false},
        {MCI_STATUS, MCI_DGV_STATUS_HWND, MCIERR_HARDWARE, MCIERR_HARDWARE, false},
        {MCI_STATUS, MCI_DGV_STATUS_HWND, MCIERR_UNSUPPORTED_FUNCTION, 0, true},
        {MCI_STATUS, MCI_DGV_STATUS_HWND, MCIERR_UNRECOGNIZED_COMMAND, 0, true},
    };
    const std::string path = clip("pattern.avi");
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "command " << c.command << " error " << c.error);
        MciDevice device;
        commandfault::fail(c.command, c.item, c.error);
        EXPECT_EQ(c.expected, device.open(target.hwnd(), path.c_str()));
        commandfault::fail(0, 0, 0);
        EXPECT_EQ(c.open, device.isOpen());
        EXPECT_EQ(c.open, deviceUnderAlias(path, 0) != 0);
        if (c.open) {
            EXPECT_EQ(target.hwnd(), displayWindow(device)) << "bound all the same";
        }
    }
    // Neither the query nor the binding works: the device stays open unbound.
    MciDevice device;
    commandfault::fail(MCI_STATUS, MCI_DGV_STATUS_HWND, MCIERR_UNRECOGNIZED_COMMAND);
    EXPECT_EQ(0u, device.open(target.hwnd(), path.c_str()));
    EXPECT_TRUE(device.isOpen());
}

TEST(MciDeviceAlias, PathAndCounterInHexadecimal) {
    static const struct {
        const char* path;
        DWORD counter;
        const char* alias;
    } cases[] = {
        {"C:\\a.avi", 0, "C:\\a.avi_0"},
        {"C:\\a.avi", 0x1f, "C:\\a.avi_1f"},
        {"C:\\a.avi", 0xFFFFFFFF, "C:\\a.avi_ffffffff"},
    };
    for (const auto& c : cases) {
        char alias[MciDevice::aliasSize];
        MciDevice::formatAlias(alias, sizeof alias, c.path, c.counter);
        EXPECT_STREQ(c.alias, alias);
    }
}

TEST(MciDeviceAlias, LongPathKeepsItsTailWithinTheBuffer) {
    std::string path = "C:\\" + std::string(300, 'x') + "end.avi";
    char alias[MciDevice::aliasSize + 16];
    memset(alias, '#', sizeof alias);
    MciDevice::formatAlias(alias, MciDevice::aliasSize, path.c_str(), 0xFFFFFFFF);
    EXPECT_EQ(MciDevice::aliasSize - 1, lstrlenA(alias));
    EXPECT_EQ('#', alias[MciDevice::aliasSize]) << "written past the buffer";
    std::string text(alias);
    EXPECT_EQ("xend.avi_ffffffff", text.substr(text.size() - 17));
}

TEST(MciDeviceAlias, LongPathIsCutBetweenDoubleByteCharacters) {
    if (GetACP() != 932) GTEST_SKIP() << "needs code page 932";
    std::string path;
    for (int i = 0; i < 150; ++i) path += "\x95\x5c";  // 表
    char alias[MciDevice::aliasSize];
    MciDevice::formatAlias(alias, sizeof alias, path.c_str(), 0);
    EXPECT_EQ('\x95', alias[0]) << "starts on a lead byte";
    EXPECT_EQ(0, lstrlenA(alias) % 2) << "whole characters and \"_0\"";
}

// A path of the longest length Windows allows, opened by two devices.
TEST_F(MciDeviceTest, LongestPathOpensTwice) {
    std::string path = testpaths::freshFolder("long");
    path += std::string(120, 'd');
    // Scratch folders of an earlier run with the same process id may remain.
    ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    path += "\\";
    path += std::string(259 - path.size() - 4, 'f') + ".avi";
    ASSERT_EQ(259u, path.size());
    ASSERT_TRUE(CopyFileA(clip("red.avi").c_str(), path.c_str(), FALSE));
    MciDevice first, second;
    ASSERT_EQ(0u, first.open(target.hwnd(), path.c_str()));
    ASSERT_EQ(0u, second.open(target.hwnd(), path.c_str()));
    EXPECT_NE(0u, deviceUnderAlias(path, 0));
    EXPECT_NE(0u, deviceUnderAlias(path, 1));
}

}  // namespace
