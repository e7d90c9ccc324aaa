// What a long show costs the screen saver's process over time. The show
// plays two clips of different colours in turn (red, then lime); the
// driver counts the switches by watching the centre of the screen change
// from one clip's colour to the other's, and at the first picture and then
// every 50 switches it reads the process's handles, GDI and USER objects,
// private bytes, working set and threads. A show that stops switching (no
// new colour for 20 s) or a process that ends is said so, with the samples
// taken; the show is ended with a key press in every case. With "reference"
// the same is measured of the bare program that plays the same clips
// (FoundationReferencePlayer.cpp for the MP4 ones, ReferencePlayer.cpp for
// the AVI ones), which tells the cost of the system's media pipeline from
// the show's own. "avi" takes the AVI clips (MCI) instead of the MP4 ones
// (Media Foundation).
//
// usage: long_show_bench [switches] [sample every] [cinevane|reference] [mp4|avi]
//        (default 500 switches of the show's MP4 clips, sampled every 50)
#include <windows.h>

#include <psapi.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "support/HandleCount.h"

using namespace bench;

namespace {

const char saverClass[] = "WindowsScreenSaverClass";

// One kind of clip, with the bare program that plays it.
struct Format {
    const char* extension;
    const char* reference;  // in the build tree
    const char* referenceClass;
};

const Format mp4 = {"mp4", "bench\\foundation_reference_player.exe", "CinevaneBenchFoundationReference"};
const Format avi = {"avi", "bench\\reference_player.exe", "CinevaneBenchReference"};
const double stallMs = 20000;

// What the process holds at one point of the show; a figure the system
// cannot give is negative.
struct Usage {
    int switches = 0;
    double seconds = 0;  // since the first picture
    double handles = 0;
    double gdiObjects = 0;
    double userObjects = 0;
    double privateBytes = -1;
    double workingSet = -1;
    double threads = 0;
};

// The figures of a sample, in the order they are printed.
struct Field {
    const char* name;
    double Usage::*value;
    double scale;  // printed as value / scale
};

const Field fields[] = {
    {"handles", &Usage::handles, 1},          {"GDI", &Usage::gdiObjects, 1},
    {"USER", &Usage::userObjects, 1},         {"private KB", &Usage::privateBytes, 1024},
    {"working set KB", &Usage::workingSet, 1024}, {"threads", &Usage::threads, 1},
};

double handleCount(const Child& child) {
    return processHandleCount(child.process, child.id);
}

// Wine 10's GetGuiResources is a stub that fails: no figure then.
double guiObjects(HANDLE process, DWORD kind) {
    DWORD objects = GetGuiResources(process, kind);
    return objects ? static_cast<double>(objects) : -1;
}

double threadCount(DWORD processId) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    double threads = -1;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        if (entry.th32ProcessID == processId) threads = entry.cntThreads;
    }
    CloseHandle(snapshot);
    return threads;
}

Usage measure(const Child& child, int switches, double firstPicture) {
    Usage usage;
    usage.switches = switches;
    usage.seconds = (now() - firstPicture) / 1000;
    usage.handles = handleCount(child);
    usage.gdiObjects = guiObjects(child.process, GR_GDIOBJECTS);
    usage.userObjects = guiObjects(child.process, GR_USEROBJECTS);
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(child.process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory)) {
        usage.privateBytes = static_cast<double>(memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage);
        usage.workingSet = static_cast<double>(memory.WorkingSetSize);
    }
    usage.threads = threadCount(child.id);
    return usage;
}

void print(const char* label, const Usage& usage) {
    std::printf("%-8s switch %4d at %7.1f s:", label, usage.switches, usage.seconds);
    for (const Field& field : fields) {
        double value = usage.*field.value;
        if (value < 0) {
            std::printf("  %s n/a", field.name);
        } else {
            std::printf("  %s %.0f", field.name, value / field.scale);
        }
    }
    std::printf("\n");
    std::fflush(stdout);
}

void printGrowth(const Usage& first, const Usage& last) {
    int switches = last.switches - first.switches;
    if (switches <= 0) {
        std::printf("growth: no switches between the first and the last sample\n");
        return;
    }
    std::printf("growth per 100 switches:");
    for (const Field& field : fields) {
        if (first.*field.value < 0 || last.*field.value < 0) {
            std::printf("  %s n/a", field.name);
        } else {
            std::printf("  %s %+.1f", field.name,
                        (last.*field.value - first.*field.value) * 100 / switches / field.scale);
        }
    }
    std::printf("\n");
}

// 0 for the red clip, 1 for the lime one, -1 for anything else (black
// between the clips, for one).
int clipOf(Colour colour) {
    if (colour == red || colour == darkRed) return 0;
    if (colour == lime || colour == darkLime) return 1;
    return -1;
}

std::string clip(const char* colour, const Format& format) {
    return sourcePath(std::string("bench\\media\\switch-") + colour + "." + format.extension);
}

std::string saverCommand(const Format& format) {
    std::string ini = "[Setting]\r\nRandom=0\r\nResume=0\r\nSound=1\r\n[PlayList]\r\nCount=2\r\n";
    ini += "Path0=" + clip("red", format) + "\r\nPath1=" + clip("lime", format) + "\r\n";
    return "\"" + prepareSaver(binaryPath("bench-data\\long-show"), ini) + "\" /s";
}

std::string referenceCommand(const Format& format) {
    return "\"" + binaryPath(format.reference) + "\" \"" + clip("red", format) + "\" \"" + clip("lime", format) +
           "\"";
}

// Ends the show with a key press; the exit code, or -1 when it had to be ended by force.
int endByKey(Start& run) {
    if (WaitForSingleObject(run.child.process, 0) == WAIT_TIMEOUT) pressKey();
    return finish(run.child, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    int target = argc > 1 ? std::atoi(argv[1]) : 500;
    if (target < 1) target = 1;
    int sampleEvery = argc > 2 ? std::atoi(argv[2]) : 50;
    if (sampleEvery < 1) sampleEvery = 50;
    const bool reference = argc > 3 && std::string(argv[3]) == "reference";
    const Format& format = argc > 4 && std::string(argv[4]) == "avi" ? avi : mp4;
    std::printf("%s: %d switches of two %s clips, sampled every %d\n", reference ? "reference" : "cinevane",
                target, format.extension, sampleEvery);
    ScreenProbe probe;
    Start run = reference ? startAndWatch(referenceCommand(format), format.referenceClass, probe)
                          : startAndWatch(saverCommand(format), saverClass, probe);
    if (!run.frameMs) {
        std::printf("the show did not start: window %s, no red picture; exit code %d\n",
                    run.window ? "found" : "missing", endByKey(run));
        return 1;
    }
    double firstPicture = now();
    std::vector<Usage> samples{measure(run.child, 0, firstPicture)};
    print("first", samples.back());

    int switches = 0;
    int showing = 0;
    double changed = now();
    const char* stopped = nullptr;
    while (switches < target) {
        if (WaitForSingleObject(run.child.process, 0) != WAIT_TIMEOUT) {
            stopped = "the process ended";
            break;
        }
        if (now() - changed > stallMs) {
            stopped = "no new colour for 20 s";
            break;
        }
        int clip = clipOf(probe.sample());
        if (clip < 0 || clip == showing) {
            Sleep(1);
            continue;
        }
        showing = clip;
        ++switches;
        changed = now();
        if (switches % sampleEvery == 0) {
            samples.push_back(measure(run.child, switches, firstPicture));
            print("sample", samples.back());
        }
    }
    // A show that ended between two samples: what it holds at its end.
    if (samples.back().switches != switches && WaitForSingleObject(run.child.process, 0) == WAIT_TIMEOUT) {
        samples.push_back(measure(run.child, switches, firstPicture));
        print("end", samples.back());
    }
    double seconds = (now() - firstPicture) / 1000;

    if (stopped) {
        std::printf("the show stopped after %d of %d switches: %s\n", switches, target, stopped);
    } else {
        std::printf("%d switches in %.1f s (%.2f s a clip)\n", switches, seconds, seconds / switches);
    }
    print("first", samples.front());
    print("last", samples.back());
    printGrowth(samples.front(), samples.back());
    std::printf("exit code after the key press: %d\n", endByKey(run));
    return stopped ? 1 : 0;
}
