// Start-up of the full-screen show against the bare reference player: from
// process creation to the window existing, and to the first video frame on
// the screen, with a play list of ten files and with one folder of 10,000.
// The folder is measured twice: against the bare reference that plays the
// clip it is given, and against the reference that first searches the same
// folder (the least any program that plays a folder must do). The MP4 clips
// (Media Foundation) are measured with a play list of the six, against the
// bare program that plays the first of them through Media Foundation.
//
// usage: startup_bench [runs] [all|mp4]   (default 10 runs of each program
//        and list, every list)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchSupport.h"

using namespace bench;

namespace {

const char saverClass[] = "WindowsScreenSaverClass";
const char referenceClass[] = "CinevaneBenchReference";
const char foundationReferenceClass[] = "CinevaneBenchFoundationReference";
const int folderFiles = 10000;

struct Timings {
    std::vector<double> window;
    std::vector<double> frame;
};

const char* const colours[] = {"red", "lime", "blue", "yellow", "magenta", "cyan"};

std::string clip(const char* colour, const char* extension = "avi") {
    return sourcePath(std::string("bench\\media\\switch-") + colour + "." + extension);
}

// One start: the window's appearance and the first red frame, in
// milliseconds from just before CreateProcessA.
bool measure(const std::string& commandLine, const char* windowClass, ScreenProbe& probe, Timings& timings) {
    Start run = startAndWatch(commandLine, windowClass, probe);
    int code = finish(run.child, run.window);
    if (!run.window || !run.frameMs) {
        std::printf("  run failed: %s (window %s, exit code %d)\n", commandLine.c_str(),
                    run.window ? "found" : "missing", code);
        return false;
    }
    timings.window.push_back(run.windowMs);
    timings.frame.push_back(run.frameMs);
    return true;
}

std::string listIni(int count, const char* extension) {
    std::string ini = "[Setting]\r\nRandom=0\r\nResume=0\r\nSound=1\r\n[PlayList]\r\nCount=" +
                      std::to_string(count) + "\r\n";
    for (int i = 0; i < count; ++i) {
        ini += "Path" + std::to_string(i) + "=" + clip(colours[i % 6], extension) + "\r\n";
    }
    return ini;
}

// A folder of 10,000 names of the red clip (hard links where the file system
// allows, copies otherwise), made once and kept in the build tree.
std::string bigFolder() {
    std::string folder = binaryPath("bench-data\\folder10000");
    CreateDirectoryA(binaryPath("bench-data").c_str(), nullptr);
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string source = clip("red");
    double started = now();
    int made = 0;
    for (int i = 0; i < folderFiles; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "\\clip%05d.avi", i);
        std::string path = folder + name;
        if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) continue;
        if (!CreateHardLinkA(path.c_str(), source.c_str(), nullptr) &&
            !CopyFileA(source.c_str(), path.c_str(), TRUE)) {
            std::fprintf(stderr, "cannot make %s: error %lu\n", path.c_str(), GetLastError());
            ExitProcess(3);
        }
        ++made;
    }
    if (made) std::printf("made %d files in %s in %.0f ms\n", made, folder.c_str(), now() - started);
    return folder + "\\";
}

void report(const char* list, const Timings& saver, const Timings& reference) {
    double windowRatio = median(saver.window) / median(reference.window);
    double frameRatio = median(saver.frame) / median(reference.frame);
    std::printf("%s, window exists:     cinevane %s\n", list, describe(saver.window).c_str());
    std::printf("%s, window exists:     reference %s\n", list, describe(reference.window).c_str());
    std::printf("%s, first video frame: cinevane %s\n", list, describe(saver.frame).c_str());
    std::printf("%s, first video frame: reference %s\n", list, describe(reference.frame).c_str());
    std::printf("figure startup-%s-window-ms %.1f\n", list, median(saver.window));
    std::printf("figure startup-%s-frame-ms %.1f\n", list, median(saver.frame));
    std::printf("figure startup-%s-reference-window-ms %.1f\n", list, median(reference.window));
    std::printf("figure startup-%s-reference-frame-ms %.1f\n", list, median(reference.frame));
    std::printf("figure startup-%s-window-ratio %.2f\n", list, windowRatio);
    std::printf("figure startup-%s-frame-ratio %.2f\n", list, frameRatio);
    std::fflush(stdout);
}

void compare(const char* list, const std::string& saver, const std::string& reference, int runs,
             const char* referenceWindow = referenceClass) {
    ScreenProbe probe;
    Timings saverTimings;
    Timings referenceTimings;
    // Taking turns spreads the machine's other load over both programs.
    for (int run = 0; run < runs; ++run) {
        measure(reference, referenceWindow, probe, referenceTimings);
        measure(saver, saverClass, probe, saverTimings);
    }
    report(list, saverTimings, referenceTimings);
}

}  // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? std::atoi(argv[1]) : 10;
    if (runs < 1) runs = 1;
    const bool mp4Only = argc > 2 && std::string(argv[2]) == "mp4";

    std::string mp4Saver = prepareSaver(binaryPath("bench-data\\mp4-list6"), listIni(6, "mp4"));
    std::string mp4Reference =
        "\"" + binaryPath("bench\\foundation_reference_player.exe") + "\" \"" + clip("red", "mp4") + "\"";
    compare("mp4", "\"" + mp4Saver + "\" /s", mp4Reference, runs, foundationReferenceClass);
    if (mp4Only) return 0;

    std::string reference = "\"" + binaryPath("bench\\reference_player.exe") + "\" \"" + clip("red") + "\"";
    std::string listSaver = prepareSaver(binaryPath("bench-data\\list10"), listIni(10, "avi"));
    compare("list10", "\"" + listSaver + "\" /s", reference, runs);

    std::string folder = bigFolder();
    std::string folderIni = "[Setting]\r\nRandom=0\r\nResume=0\r\nSound=1\r\n[PlayList]\r\nCount=1\r\nPath0=" +
                            folder + "\r\n";
    std::string folderSaver = prepareSaver(binaryPath("bench-data\\folder-list"), folderIni);
    compare("folder10000", "\"" + folderSaver + "\" /s", reference, runs);
    // The folder ends in a backslash: doubled, so that it does not escape the quote.
    std::string searching = "\"" + binaryPath("bench\\reference_player.exe") + "\" \"" + folder + "\\\"";
    compare("folder10000-searching", "\"" + folderSaver + "\" /s", searching, runs);
    return 0;
}
