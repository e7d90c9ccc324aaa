#include <gtest/gtest.h>

#include <windows.h>
#include <evr.h>
#include <mferror.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/Exception.h"
#include "base/RunsUnderWine.h"
#include "playback/foundation/MediaFoundation.h"
#include "playback/foundation/MediaFoundationCalls.h"
#include "playback/foundation/MediaFoundationException.h"
#include "playback/foundation/MediaFoundationPlayer.h"
#include "playback/foundation/SentMessageWait.h"
#include "support/MessagePump.h"
#include "support/ProgramCopy.h"
#include "support/RunningProgram.h"
#include "support/ScreenPicture.h"
#include "support/TestPaths.h"

namespace {

const COLORREF teal = RGB(0, 128, 128), orange = RGB(255, 165, 0), lime = RGB(0, 255, 0),
               blue = RGB(0, 0, 255), black = RGB(0, 0, 0);

struct Event {
    WPARAM openId;
    LPARAM type;
};
std::vector<Event> received;  // the player's messages as the window got them

LRESULT CALLBACK screenProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == MediaFoundationPlayer::eventMessage) {
        received.push_back({wParam, lParam});
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// The code of what open() throws, with whether it was a MediaFoundationException
// and its text; code 0 when it opened.
struct Refusal {
    DWORD code = 0;
    bool mediaFoundation = false;
    std::string text;
};

Refusal openRefusal(MediaFoundationPlayer& player, HWND window, const std::string& path) {
    Refusal refusal;
    try {
        player.open(window, window, path.c_str());
    } catch (Exception* e) {
        refusal.code = e->code;
        refusal.mediaFoundation = dynamic_cast<MediaFoundationException*>(e) != nullptr;
        if (char* text = e->messageText()) {
            refusal.text = text;
            LocalFree(text);
        }
        dispose(e);
    }
    return refusal;
}

// A close that hangs ends the program with a word at the deadline, so that
// the run fails there rather than wait for ever.
DWORD WINAPI watchClose(void* closed) {
    if (WaitForSingleObject(closed, pump::DEADLINE) != WAIT_TIMEOUT) return 0;
    std::fprintf(stderr, "a close of the player hung\n");
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
    return 0;
}

void closeWithinDeadline(MediaFoundationPlayer& player) {
    HANDLE closed = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE watch = CreateThread(nullptr, 0, watchClose, closed, 0, nullptr);
    player.close();
    SetEvent(closed);
    WaitForSingleObject(watch, INFINITE);
    CloseHandle(watch);
    CloseHandle(closed);
}

// While one lives, Media Foundation answers that the session has no such
// service (a renderer without it), which Wine's renderers never do.
class RefusedService {
public:
    explicit RefusedService(REFGUID service) {
        refused = &service;
        calls = const_cast<MediaFoundationCalls*>(MediaFoundation::calls());
        real = calls->getService;
        calls->getService = &refusing;
    }
    ~RefusedService() { calls->getService = real; }

private:
    static HRESULT WINAPI refusing(IUnknown* object, REFGUID service, REFIID id, void** result) {
        *result = nullptr;
        return IsEqualGUID(service, *refused) ? MF_E_UNSUPPORTED_SERVICE : real(object, service, id, result);
    }
    static const GUID* refused;
    static decltype(MediaFoundationCalls::getService) real;
    MediaFoundationCalls* calls;
};
const GUID* RefusedService::refused = nullptr;
decltype(MediaFoundationCalls::getService) RefusedService::real = nullptr;

// One full-screen top-level window for every case, as a show's: top-level
// windows are slow to come and go on the X display.
class PlayerTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = screenProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        wc.lpszClassName = "CinevaneTestScreen";
        RegisterClassA(&wc);
        width = GetSystemMetrics(SM_CXSCREEN);
        height = GetSystemMetrics(SM_CYSCREEN);
        screen = CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, "screen", WS_POPUP | WS_VISIBLE, 0, 0, width,
                                 height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        UpdateWindow(screen);
    }
    static void TearDownTestSuite() { DestroyWindow(screen); }
    void SetUp() override {
        ASSERT_NE(nullptr, screen);
        ASSERT_TRUE(MediaFoundation::available());
        received.clear();
    }

    // Opens a clip into the screen; the failure names what was thrown.
    static void open(MediaFoundationPlayer& player, const char* clip) {
        const Refusal refusal = openRefusal(player, screen, testpaths::clip(clip));
        ASSERT_EQ(0u, refusal.code) << clip << ": " << refusal.text;
    }
    static bool waitForColour(COLORREF colour, int x, int y) {
        return pump::until([&] { return screen::looksLike(screen::pixel(x, y), colour); });
    }
    static bool waitForPicture(COLORREF colour) { return waitForColour(colour, width / 2, height / 2); }
    // Hands the player every message received so far; how many it took as the end.
    static int takeEvents(MediaFoundationPlayer& player) {
        int ends = 0;
        for (const Event& event : received) ends += player.takeEvent(event.openId, event.type);
        received.clear();
        return ends;
    }

    static HWND screen;
    static int width, height;
};

HWND PlayerTest::screen = nullptr;
int PlayerTest::width = 0;
int PlayerTest::height = 0;

TEST_F(PlayerTest, PlaysThePictureToItsEndAndReportsTheEndOnce) {
    static const struct {
        const char* clip;
        bool muted;
        COLORREF colour;
    } cases[] = {{"teal.mp4", false, teal}, {"sound.mp4", false, orange}, {"sound.mp4", true, orange}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.clip << (c.muted ? " muted" : ""));
        MediaFoundationPlayer player;
        player.setMuted(c.muted);
        open(player, c.clip);
        EXPECT_NEAR(2000, static_cast<int>(player.lengthMilliseconds()), 100);
        EXPECT_EQ(160, player.nativeSize().width);
        EXPECT_EQ(120, player.nativeSize().height);
        player.play(0);
        EXPECT_TRUE(waitForPicture(c.colour)) << std::hex << screen::centre();
        int ends = 0;
        EXPECT_TRUE(pump::until([&] { return (ends += takeEvents(player)) > 0; }));
        pump::drain(screen);
        ends += takeEvents(player);
        EXPECT_EQ(1, ends);
        closeWithinDeadline(player);
    }
}

// Lime, then the last 0.2 s blue: the last picture is shown and stays.
TEST_F(PlayerTest, PlaysAClipToItsLastPicture) {
    if (runsUnderWine()) GTEST_SKIP() << "under Wine the picture halts before the end (its renderer's lock-up)";
    MediaFoundationPlayer player;
    open(player, "blue-end.mp4");
    player.play(0);
    ASSERT_TRUE(waitForPicture(lime));
    EXPECT_TRUE(pump::until([&] { return takeEvents(player) > 0; }));
    EXPECT_TRUE(screen::looksLike(screen::centre(), blue)) << std::hex << screen::centre();
    EXPECT_EQ(player.lengthMilliseconds(), player.getPositionMilliseconds());
    closeWithinDeadline(player);
}

TEST_F(PlayerTest, TheEndOfAnEarlierOpenIsNotTheEndOfTheCurrentOne) {
    MediaFoundationPlayer player;
    open(player, "teal.mp4");
    player.play(0);
    ASSERT_TRUE(pump::until([] { return !received.empty(); }));
    const std::vector<Event> earlier = received;
    received.clear();
    open(player, "teal.mp4");
    player.play(0);
    for (const Event& event : earlier) EXPECT_FALSE(player.takeEvent(event.openId, event.type));
    int ends = 0;
    EXPECT_TRUE(pump::until([&] { return (ends += takeEvents(player)) > 0; }));
    EXPECT_EQ(1, ends);
}

// Where a stopped file had got to is what the show stores: the whole-program
// resume case reads it back.
TEST_F(PlayerTest, StartsAtAStoredPosition) {
    // Five seconds of lime, then five of blue.
    static const struct {
        DWORD from;
        COLORREF colour;
    } cases[] = {{0, lime}, {6000, blue}, {9000, blue}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "from " << c.from);
        MediaFoundationPlayer player;
        open(player, "ten-seconds.mp4");
        player.play(c.from);
        EXPECT_TRUE(waitForPicture(c.colour)) << std::hex << screen::centre();
        const DWORD playing = player.getPositionMilliseconds();
        EXPECT_GE(playing, c.from);
        EXPECT_LE(playing, 10000u);
    }
}

TEST_F(PlayerTest, KeepingTheProportionsLeavesBlackBars) {
    MediaFoundationPlayer player;
    player.setKeepAspect(true);
    open(player, "wide.mp4");
    player.play(0);
    ASSERT_TRUE(waitForPicture(teal));
    // 16:9 across the whole width, centred, black above and below.
    const int bar = (height - width * 9 / 16) / 2;
    EXPECT_TRUE(waitForColour(black, width / 2, bar / 2));
    int top = 0;
    while (top < height / 2 && !screen::looksLike(screen::pixel(width / 2, top), teal)) ++top;
    EXPECT_NEAR(bar, top, 4);
    EXPECT_TRUE(screen::looksLike(screen::pixel(0, height / 2), teal)) << "the picture spans the screen's width";
    EXPECT_TRUE(screen::looksLike(screen::pixel(width / 2, height - bar / 2), black));
}

TEST_F(PlayerTest, RefusesWhatItCannotPlay) {
    static const char* const clips[] = {"random.mp4", "no-such-clip.mp4"};
    MediaFoundationPlayer player;
    for (const char* clip : clips) {
        SCOPED_TRACE(clip);
        const Refusal refusal = openRefusal(player, screen, testpaths::clip(clip));
        EXPECT_NE(0u, refusal.code);
        EXPECT_TRUE(refusal.mediaFoundation) << "MCI may try it";
        EXPECT_NE(std::string::npos, refusal.text.find("not playable")) << refusal.text;
        EXPECT_FALSE(player.isOpen());
    }
    {
        // A picture the player could not place is no playable file either.
        RefusedService noDisplay(MR_VIDEO_RENDER_SERVICE);
        const Refusal refusal = openRefusal(player, screen, testpaths::clip("teal.mp4"));
        EXPECT_EQ(static_cast<DWORD>(MF_E_UNSUPPORTED_SERVICE), refusal.code);
        EXPECT_TRUE(refusal.mediaFoundation);
        EXPECT_FALSE(player.isOpen());
    }
    // The renderer draws nothing into a child window under Wine.
    HWND child = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, screen, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    const Refusal refusal = openRefusal(player, child, testpaths::clip("teal.mp4"));
    DestroyWindow(child);
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), refusal.code);
    EXPECT_FALSE(refusal.mediaFoundation);
    EXPECT_FALSE(player.isOpen());
}

TEST_F(PlayerTest, ClosesPromptlyWhilePlaying) {
    // Wine's renderer may lock up as a session ends: every round must still
    // return, and the next file still play.
    MediaFoundationPlayer player;
    for (int round = 0; round < 6; ++round) {
        SCOPED_TRACE(testing::Message() << "round " << round);
        open(player, "ten-seconds.mp4");
        player.play(0);
        EXPECT_TRUE(waitForPicture(lime));
        closeWithinDeadline(player);
    }
}

// A key pressed while the player waits for Media Foundation (which under
// Wine may take long, or never answer) cuts the wait short: the show ends
// at once. The event would come only long after.
namespace {
// [0] set by lateSetter after a deadline, or once [1] lets it go.
HANDLE lateEvents[2];
DWORD WINAPI lateSetter(void*) {
    WaitForSingleObject(lateEvents[1], pump::DEADLINE);
    SetEvent(lateEvents[0]);
    return 0;
}
}  // namespace

TEST_F(PlayerTest, AKeyPressCutsAWaitForMediaFoundationShort) {
    HANDLE (&events)[2] = lateEvents;
    for (HANDLE& event : events) event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE setter = CreateThread(nullptr, 0, lateSetter, nullptr, 0, nullptr);
    PostMessageA(screen, WM_KEYDOWN, VK_SHIFT, 0);
    EXPECT_FALSE(waitHandlingSentMessages(events[0], 2 * pump::DEADLINE)) << "waited for the event";
    EXPECT_TRUE(userCutWait());
    pump::drain(screen);
    EXPECT_FALSE(userCutWait()) << "the key was taken";
    SetEvent(events[1]);
    WaitForSingleObject(setter, INFINITE);
    CloseHandle(setter);
    for (HANDLE event : events) CloseHandle(event);
}

TEST(PlayerOnVista, ALibraryThatRefusesWindows7sVersionIsUnavailable) {
    ProgramCopy copy("vista", testpaths::programFolder() + "player_tests.exe");
    copy.copyHere(testpaths::programFolder() + "fake-mfplat.dll", "mfplat.dll");
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\CinevaneTests\\Mfplat");
    RunningProgram program;
    ASSERT_TRUE(program.start(copy.program, "--without-media-foundation"));
    EXPECT_EQ(0u, program.finish()) << "its cases failed";
    DWORD version = 0, size = sizeof version;
    EXPECT_EQ(ERROR_SUCCESS, RegGetValueA(HKEY_CURRENT_USER, "Software\\CinevaneTests\\Mfplat", "StartupVersion",
                                          RRF_RT_REG_DWORD, nullptr, &version, &size));
    EXPECT_EQ(0x20070u, version) << "Windows 7's version";
}

// Runs only where a sound device is there (its own ctest entry).
class WithSoundDevice : public PlayerTest {};

TEST_F(WithSoundDevice, MutingSilencesTheSoundTrack) {
    MediaFoundationPlayer player;
    open(player, "sound.mp4");
    ASSERT_TRUE(player.playsSound());
    EXPECT_FALSE(player.soundMuted());
    player.setMuted(true);
    EXPECT_TRUE(player.soundMuted());
    player.play(0);
    EXPECT_TRUE(waitForPicture(orange));
    int ends = 0;
    EXPECT_TRUE(pump::until([&] { return (ends += takeEvents(player)) > 0; }));
    player.setMuted(false);
    EXPECT_FALSE(player.soundMuted());
}

// Sound that cannot be silenced is left out rather than played against the
// user's "no sound"; the picture still plays.
TEST_F(WithSoundDevice, SoundWithoutAVolumeIsLeftOut) {
    RefusedService noVolume(MR_POLICY_VOLUME_SERVICE);
    MediaFoundationPlayer player;
    player.setMuted(true);
    open(player, "sound.mp4");
    EXPECT_FALSE(player.playsSound());
    player.play(0);
    EXPECT_TRUE(waitForPicture(orange));
}

// Runs only in that copy.
TEST(WithoutMediaFoundation, NoFileOpens) {
    EXPECT_FALSE(MediaFoundation::available());
    MediaFoundationPlayer player;
    const Refusal refusal = openRefusal(player, GetDesktopWindow(), testpaths::clip("teal.mp4"));
    EXPECT_TRUE(refusal.mediaFoundation);
    EXPECT_FALSE(player.isOpen());
}

}  // namespace
