// Cases that look inside a running show: the real host window procedure and
// the real show controller in the test's own process, one show per process.
// Each ShowController test prepares a folder and runs the matching
// ShowInProcess case in a copy of this program there.
#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "support/InProcessShow.h"
#include "ShowDriver.h"
#include "host/HostState.h"
#include "playback/show/ShowMessages.h"
#include "support/MciCalls.h"
#include "support/RuntimeRandom.h"

using namespace showdriver;

namespace {

std::vector<std::string> flashList(size_t count) {
    std::vector<std::string> entries;
    for (size_t i = 0; i < count; ++i) entries.push_back(clip(i % 2 ? "flash-lime.avi" : "flash-red.avi"));
    return entries;
}

int placeOf(const std::vector<int>& order, int file) {
    for (size_t i = 0; i < order.size(); ++i)
        if (order[i] == file) return static_cast<int>(i);
    return -1;
}

const int kShuffledFiles = 8;
const int kResumeFile = 3;

// A seed whose order puts the resume file early, followed by a file other
// than the one after it in list order, so that a lookup before the shuffle
// would play something else.
unsigned telltaleSeed() {
    for (unsigned seed = 1;; ++seed) {
        std::vector<int> order = RuntimeRandom::shuffledOrder(seed, kShuffledFiles);
        int place = placeOf(order, kResumeFile);
        if (place <= kShuffledFiles - 3 && order[place + 1] != kResumeFile + 1) return seed;
    }
}

std::string shuffledFile(const ProgramCopy& folder, int index) {
    return folder.folder + "file" + std::to_string(index) + ".avi";
}

// The file and the mode of the open device after a show message.
struct Played {
    std::string path;
    DWORD mode;
};

Played openDevice() {
    Played played = {};
    std::string alias = inprocess::openDeviceAlias();
    if (alias.empty()) return played;
    played.path = inprocess::pathOfAlias(alias);
    inprocess::deviceStatus(alias, MCI_STATUS_MODE, played.mode);
    return played;
}

class ShowInProcess : public inprocess::Case {};

}  // namespace

// --- A full-screen window of another height than the primary screen's ----

TEST(ShowController, FullScreenWindowOfAnotherHeightPlays) {
    ProgramCopy folder = inprocess::copyOfThisProgram("other-height");
    folder.setOptions(0, 0, 1);
    folder.setEntries({clip("red.avi")});
    inprocess::runCase(folder, "ShowInProcess.FullScreenWindowOfAnotherHeightPlays");
}

TEST_F(ShowInProcess, FullScreenWindowOfAnotherHeightPlays) {
    // As on a desktop whose monitors together are higher than the primary one.
    int taller = GetSystemMetrics(SM_CYSCREEN) + 200;
    ASSERT_FALSE(hostState().isPreview);
    std::vector<Played> played;
    inprocess::SaverHooks hooks;
    // The first file opens when the search delivers it.
    hooks.afterMessage = [&played](UINT) {
        if (played.empty() && !openDevice().path.empty()) played.push_back(openDevice());
    };
    HWND window = inprocess::createSaver(GetSystemMetrics(SM_CXSCREEN), taller, hooks);
    ASSERT_NE(nullptr, window);
    RECT client;
    GetClientRect(window, &client);
    ASSERT_NE(GetSystemMetrics(SM_CYSCREEN), client.bottom);

    ASSERT_TRUE(pump::until([&played] { return !played.empty(); }, kDeadline));
    EXPECT_EQ(clip("red.avi"), played[0].path);
    EXPECT_EQ(static_cast<DWORD>(MCI_MODE_PLAY), played[0].mode);
    EXPECT_TRUE(pump::until([] { return screenNow() == Screen::Red; }, kDeadline));
    EXPECT_TRUE(inprocess::endWithKey(window));
}

// --- Sound off mutes every file, the first included ----------------------

TEST(ShowController, SoundOptionDecidesTheAudioOfEveryFile) {
    for (int sound : {0, 1}) {
        SCOPED_TRACE(sound ? "sound on" : "sound off");
        ProgramCopy folder = inprocess::copyOfThisProgram("sound");
        folder.setOptions(0, 0, sound);
        folder.setEntries(flashList(2));
        inprocess::runCase(folder, sound ? "ShowInProcess.SoundOnPlaysEveryFileWithSound"
                                         : "ShowInProcess.SoundOffMutesEveryFile");
    }
}

// Plays three files and checks the MCI commands of each: with sound off it is
// muted after its open and before its play, with sound on never.
static void expectAudioOfThreeFiles(bool muted) {
    std::vector<mcicalls::Call> calls;
    ASSERT_TRUE(mcicalls::record(&calls));
    HWND window = inprocess::createSaver();
    ASSERT_NE(nullptr, window);
    // Three files opened (a switch may wait for the search to deliver its file).
    ASSERT_TRUE(pump::until(
        [&calls] {
            return std::count_if(calls.begin(), calls.end(), [](const mcicalls::Call& call) {
                       return call.command == MCI_OPEN && call.result == 0;
                   }) >= 3;
        },
        kDeadline));
    EXPECT_TRUE(inprocess::endWithKey(window));
    mcicalls::record(nullptr);

    int files = 0;
    for (size_t open = 0; open < calls.size(); ++open) {
        if (calls[open].command != MCI_OPEN || calls[open].result != 0) continue;
        SCOPED_TRACE("file " + std::to_string(++files));
        MCIDEVICEID device = calls[open].device;
        size_t play = open, mute = 0;
        for (size_t i = open + 1; i < calls.size() && play == open; ++i) {
            if (calls[i].device != device) continue;
            if (calls[i].command == MCI_PLAY) play = i;
            if (calls[i].command == MCI_SET && (calls[i].flags & MCI_SET_AUDIO)) {
                EXPECT_EQ(static_cast<DWORD>(MCI_SET_OFF), calls[i].flags & (MCI_SET_ON | MCI_SET_OFF));
                EXPECT_EQ(0u, calls[i].result);
                mute = i;
            }
        }
        ASSERT_GT(play, open) << "never played";
        if (muted) {
            EXPECT_GT(mute, open) << "not muted before its play";
        } else {
            EXPECT_EQ(0u, mute) << "muted with sound on";
        }
    }
    EXPECT_GE(files, 3);
}

TEST_F(ShowInProcess, SoundOffMutesEveryFile) { expectAudioOfThreeFiles(true); }
TEST_F(ShowInProcess, SoundOnPlaysEveryFileWithSound) { expectAudioOfThreeFiles(false); }

// --- Loss of activation ---------------------------------------------------

TEST(ShowController, LossOfActivationEndsTheShowExceptWhileTheEndedFileCloses) {
    for (const char* name : {"ActivationLostWhileClosingKeepsTheShow",
                              "ActivationLostWhileOpeningEndsTheShow",
                              "ActivationLostWhilePlayingEndsTheShow"}) {
        SCOPED_TRACE(name);
        ProgramCopy folder = inprocess::copyOfThisProgram("activation");
        folder.setOptions(0, 0, 1);
        folder.setEntries(flashList(3));
        inprocess::runCase(folder, std::string("ShowInProcess.") + name);
    }
}

namespace {

// Sends the loss of activation from inside the view's file switch: when the
// driver's own video window is destroyed (the ended file closing) or created
// (the next file opening). Both happen on this thread inside WM_SHOW_NEXT.
HWND activationTarget = nullptr;
UINT activationTrigger = 0;
int activationsSent = 0;
int handledBeforeActivation = 0;  // show messages handled before the one that lost it

LRESULT CALLBACK watchDriverWindows(int code, WPARAM wParam, LPARAM lParam) {
    const CWPSTRUCT* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == activationTrigger && inprocess::handlingShowNext() &&
        activationsSent == 0) {
        char className[64] = {};
        GetClassNameA(call->hwnd, className, sizeof className);
        if (lstrcmpA(className, "MCIAVI") == 0) {
            ++activationsSent;
            handledBeforeActivation = inprocess::showMessagesHandled();
            SendMessageA(activationTarget, WM_ACTIVATEAPP, FALSE, 0);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

TEST_F(ShowInProcess, ActivationLostWhileClosingKeepsTheShow) {
    activationTrigger = WM_DESTROY;
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, watchDriverWindows, nullptr, GetCurrentThreadId());
    ASSERT_NE(nullptr, hook);
    HWND window = activationTarget = inprocess::createSaver();
    ASSERT_NE(nullptr, window);
    // Start and three switches: the show went on after the loss.
    bool wentOn = pump::until(
        [window] { return !IsWindow(window) || inprocess::showMessagesHandled() >= 4; }, kDeadline);
    UnhookWindowsHookEx(hook);
    ASSERT_TRUE(wentOn);
    EXPECT_EQ(1, activationsSent);
    EXPECT_TRUE(IsWindow(window)) << "the show ended";
    EXPECT_TRUE(inprocess::endWithKey(window));
}

TEST_F(ShowInProcess, ActivationLostWhileOpeningEndsTheShow) {
    activationTrigger = WM_CREATE;
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, watchDriverWindows, nullptr, GetCurrentThreadId());
    ASSERT_NE(nullptr, hook);
    HWND window = activationTarget = inprocess::createSaver();
    ASSERT_NE(nullptr, window);
    bool ended = inprocess::waitUntilGone(window);
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(1, activationsSent);
    EXPECT_TRUE(ended);
    // The switch that lost it was the last: whether the first switches had to
    // wait for the search to deliver their file does not matter.
    EXPECT_EQ(handledBeforeActivation + 1, inprocess::showMessagesHandled());
}

TEST_F(ShowInProcess, ActivationLostWhilePlayingEndsTheShow) {
    inprocess::SaverHooks hooks;
    HWND window = nullptr;
    hooks.afterShowMessage = [&window](UINT message) {
        if (message == WM_SHOW_START) SendMessageA(window, WM_ACTIVATEAPP, FALSE, 0);
    };
    window = inprocess::createSaver(hooks);
    ASSERT_NE(nullptr, window);
    EXPECT_TRUE(inprocess::waitUntilGone(window));
    EXPECT_EQ(1, inprocess::showMessagesHandled());
}

// --- Resume and random: the order is shuffled before the lookup -----------

TEST(ShowController, ResumeWithRandomOrderLooksUpTheFileInTheShuffledOrder) {
    ProgramCopy folder = inprocess::copyOfThisProgram("random-resume");
    std::vector<std::string> entries;
    for (int i = 0; i < kShuffledFiles; ++i)
        entries.push_back(folder.copyHere(clip("flash-red.avi"), "file" + std::to_string(i) + ".avi"));
    folder.setOptions(1, 1, 1);
    folder.setEntries(entries);
    folder.setResume(shuffledFile(folder, kResumeFile), "0,0");
    inprocess::runCase(folder, "ShowInProcess.ResumeWithRandomOrderLooksUpTheFileInTheShuffledOrder");
}

TEST_F(ShowInProcess, ResumeWithRandomOrderLooksUpTheFileInTheShuffledOrder) {
    std::string folder = testpaths::programFolder();  // this copy lies beside the files
    unsigned seed = telltaleSeed();
    std::vector<int> order = RuntimeRandom::shuffledOrder(seed, kShuffledFiles);
    int place = placeOf(order, kResumeFile);

    std::vector<std::string> played;
    inprocess::SaverHooks hooks;
    // The play list seeded the generator from the clock at its first
    // message; seeding it again here makes the shuffle at WM_CREATE known.
    hooks.beforeCreate = [seed] { srand(seed); };
    // Each open once: the alias names every open anew. (A switch may wait for
    // the search and happen on one of its messages.)
    std::string lastAlias;
    hooks.afterMessage = [&played, &lastAlias](UINT) {
        const std::string alias = inprocess::openDeviceAlias();
        if (alias.empty() || alias == lastAlias) return;
        lastAlias = alias;
        played.push_back(inprocess::pathOfAlias(alias));
    };
    HWND window = inprocess::createSaver(hooks);
    ASSERT_NE(nullptr, window);
    size_t restOfPass = kShuffledFiles - place;
    ASSERT_TRUE(pump::until([&] { return played.size() >= restOfPass; }, kDeadline));
    EXPECT_TRUE(inprocess::endWithKey(window));

    std::vector<std::string> expected;
    for (int i = place; i < kShuffledFiles; ++i)
        expected.push_back(folder + "file" + std::to_string(order[i]) + ".avi");
    played.resize(restOfPass);
    EXPECT_EQ(expected, played);
}

// --- 200 file switches do not leak ---------------------------------------

const int kSwitches = 200;

TEST(ShowController, TwoHundredFileSwitchesDoNotLeak) {
    ProgramCopy folder = inprocess::copyOfThisProgram("switches");
    folder.setOptions(0, 0, 1);
    folder.setEntries(flashList(kSwitches));
    inprocess::runCase(folder, "ShowInProcess.TwoHundredFileSwitchesDoNotLeak");
}

TEST_F(ShowInProcess, TwoHundredFileSwitchesDoNotLeak) {
    std::vector<std::pair<int, inprocess::ResourceFigures>> figures;
    figures.reserve(kSwitches);  // its own growth is not the show's
    int switches = 0;
    inprocess::SaverHooks hooks;
    hooks.afterShowMessage = [&](UINT message) {
        if (message != WM_SHOW_NEXT) return;
        ++switches;
        if (switches == 1 || (switches % 10 == 0 && switches <= kSwitches))
            figures.push_back({switches, inprocess::measure()});
    };
    HWND window = inprocess::createSaver(hooks);
    ASSERT_NE(nullptr, window);
    ASSERT_TRUE(pump::until([&] { return switches >= kSwitches || !IsWindow(window); }, 4 * kDeadline));
    ASSERT_GE(switches, kSwitches);
    EXPECT_TRUE(inprocess::endWithKey(window));

    printf("switch  GDI objects  windows  GetGuiResources GDI/USER  private KB  heap bytes\n");
    for (const auto& f : figures)
        printf("%6d  %11lu  %7lu  %14lu/%-4lu  %10lu  %10lu\n", f.first, f.second.gdiObjects,
               f.second.windows, f.second.guiGdi, f.second.guiUser,
               static_cast<unsigned long>(f.second.privateBytes / 1024),
               static_cast<unsigned long>(f.second.heapBytes));
    const inprocess::ResourceFigures& first = figures.front().second;
    const inprocess::ResourceFigures& last = figures.back().second;
    EXPECT_LE(last.gdiObjects, first.gdiObjects + 2);
    EXPECT_LE(last.windows, first.windows);
    EXPECT_LE(last.guiGdi, first.guiGdi + 2);
    EXPECT_LE(last.guiUser, first.guiUser + 2);
    // The heaps hold every block the show allocates: a leak of even a hundred
    // bytes per switch would pass 16 KB.
    EXPECT_LE(last.heapBytes, first.heapBytes + 16 * 1024);
    // Private memory swings by a megabyte or so as the driver's buffers come
    // and go; only a leak of whole buffers would lift the lowest figure of
    // the second half a megabyte above the lowest of the first.
    SIZE_T lowFirst = ~SIZE_T(0), lowSecond = ~SIZE_T(0);
    for (const auto& f : figures) {
        SIZE_T& low = f.first <= kSwitches / 2 ? lowFirst : lowSecond;
        low = std::min(low, f.second.privateBytes);
    }
    EXPECT_LE(lowSecond, lowFirst + 1024 * 1024);
}
