// The show while a folder of 100,000 files is searched:
// - the first video frame with the play list [clip, folder] in list order,
//   against the play list [clip] alone;
// - the first frame with the folder alone, the clip among its files, against
//   the bare reference player playing that clip;
// - the time from a key press (at the first frame) to the window's end and
//   to the process's exit while the search runs (the folder listed three
//   times, so that it surely does), against the same with [clip] alone and
//   against the reference player;
// - the first frame with a camera's folder (100,000 photos and one MP4 clip,
//   the red one) against the play list of that clip alone;
// - the cost of one wildcard pass over each of the two folders.
// The programs of each comparison are started in turns. The folders
// (bench-data\folder100000 of the build tree: names of the red clip;
// bench-data\camera100000: empty photos and the clip) are made by
// tools/bench from the Linux side.
//
// usage: search_bench [runs] [all|folders]   (default 10 runs of each program
//        and list; "folders" takes the two folders against their clip alone)
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

struct Timings {
    std::vector<double> window;
    std::vector<double> frame;
    std::vector<double> closed;  // key press to the window's end
    std::vector<double> exit;    // key press to the process's exit
};

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

std::string saverWith(const char* name, const std::vector<std::string>& entries) {
    std::string ini = "[Setting]\r\nRandom=0\r\nResume=0\r\nSound=1\r\n[PlayList]\r\nCount=" +
                      std::to_string(entries.size()) + "\r\n";
    for (size_t i = 0; i < entries.size(); ++i) ini += "Path" + std::to_string(i) + "=" + entries[i] + "\r\n";
    return quoted(prepareSaver(binaryPath(std::string("bench-data\\") + name), ini)) + " /s";
}

// Starts the program and waits for its first red frame; then either closes
// its window or presses a key and times the way to the process's exit.
bool measure(const std::string& commandLine, const char* windowClass, bool byKey, ScreenProbe& probe,
             Timings& timings) {
    Start run = startAndWatch(commandLine, windowClass, probe);
    double exitMs = 0;
    double closedMs = 0;
    int code;
    if (byKey && run.frameMs) {
        double pressed = now();
        pressKey();
        while (IsWindow(run.window) && now() < pressed + 20000) Sleep(1);
        closedMs = now() - pressed;
        if (WaitForSingleObject(run.child.process, 20000) == WAIT_OBJECT_0) exitMs = now() - pressed;
        code = finish(run.child, nullptr);
    } else {
        code = finish(run.child, run.window);
    }
    if (!run.window || !run.frameMs || (byKey && (!exitMs || code != 0))) {
        std::printf("  run failed: %s (window %s, frame %s, exit code %d)\n", commandLine.c_str(),
                    run.window ? "found" : "missing", run.frameMs ? "seen" : "missing", code);
        return false;
    }
    timings.window.push_back(run.windowMs);
    timings.frame.push_back(run.frameMs);
    if (byKey) {
        timings.closed.push_back(closedMs);
        timings.exit.push_back(exitMs);
    }
    return true;
}

void print(const char* what, const char* program, const char* measure, const std::vector<double>& values) {
    std::printf("%s, %s: %s %s\n", what, measure, program, describe(values).c_str());
}

void figure(const char* name, double value) {
    std::printf("figure %s %.1f\n", name, value);
}

void ratio(const char* name, double value, double against) {
    std::printf("figure %s %.2f\n", name, against > 0 ? value / against : 0);
}

// The cost of one wildcard pass over a folder, as the play list's builder
// makes them: the time to the first name and to the end of the pass.
void timePasses(const char* what, const std::string& folder, int runs) {
    for (const char* mask : {"*.wmv", "*.avi", "*.*m*", "*"}) {
        std::vector<double> firstName, whole;
        int names = 0;
        for (int run = 0; run < runs; ++run) {
            const double began = now();
            WIN32_FIND_DATAA entry;
            HANDLE search = FindFirstFileA((folder + mask).c_str(), &entry);
            firstName.push_back(now() - began);
            names = 0;
            if (search != INVALID_HANDLE_VALUE) {
                do ++names;
                while (FindNextFileA(search, &entry));
                FindClose(search);
            }
            whole.push_back(now() - began);
        }
        std::printf("%s, pass %s (%d names): first name %s; whole pass %s\n", what, mask, names,
                    describe(firstName).c_str(), describe(whole).c_str());
    }
}

}  // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? std::atoi(argv[1]) : 10;
    if (runs < 1) runs = 1;
    const bool foldersOnly = argc > 2 && std::string(argv[2]) == "folders";
    const std::string clip = sourcePath("bench\\media\\switch-red.avi");
    const std::string folder = binaryPath("bench-data\\folder100000\\");
    const std::string camera = binaryPath("bench-data\\camera100000\\");
    for (const std::string& made : {folder + "clip099999.avi", camera + "IMG_100000.JPG"}) {
        if (GetFileAttributesA(made.c_str()) == INVALID_FILE_ATTRIBUTES) {
            std::fprintf(stderr, "%s is missing: tools/bench makes it\n", made.c_str());
            return 3;
        }
    }
    const std::string cameraAlone = saverWith("search-camera", {camera});
    const std::string cameraClipAlone = saverWith("search-camera-clip", {camera + "MVI_0001.MP4"});
    const std::string clipAlone = saverWith("search-clip", {clip});
    const std::string clipThenFolder = saverWith("search-clip-folder", {clip, folder});
    const std::string folderAlone = saverWith("search-folder", {folder});
    // Listed three times, the folder is surely still being searched when the
    // key comes at the first frame.
    const std::string folderThrice = saverWith("search-folder3", {folder, folder, folder});
    const std::string reference = quoted(binaryPath("bench\\reference_player.exe")) + " " + quoted(clip);

    timePasses("[camera folder]", camera, runs);
    timePasses("[folder of 100,000]", folder, runs);

    ScreenProbe probe;
    Timings list, single, first, bare, searching, quiet, bareKey, photos, movie;
    for (int run = 0; run < runs; ++run) {
        measure(cameraClipAlone, saverClass, false, probe, movie);
        measure(cameraAlone, saverClass, false, probe, photos);
        measure(clipAlone, saverClass, false, probe, single);
        measure(folderAlone, saverClass, false, probe, first);
        if (foldersOnly) continue;
        measure(clipThenFolder, saverClass, false, probe, list);
        measure(reference, referenceClass, false, probe, bare);
        measure(clipAlone, saverClass, true, probe, quiet);
        measure(folderThrice, saverClass, true, probe, searching);
        measure(reference, referenceClass, true, probe, bareKey);
    }

    print("[camera folder: 100,000 photos, one MP4]", "cinevane", "first video frame", photos.frame);
    print("[the MP4 clip]", "cinevane", "first video frame", movie.frame);
    print("[folder of 100,000]", "cinevane", "first video frame", first.frame);
    print("[clip]", "cinevane", "first video frame", single.frame);
    figure("search-camera-frame-ms", median(photos.frame));
    figure("search-camera-clip-frame-ms", median(movie.frame));
    ratio("search-camera-frame-ratio", median(photos.frame), median(movie.frame));
    figure("search-folder-frame-ms", median(first.frame));
    figure("search-clip-frame-ms", median(single.frame));
    ratio("search-folder-clip-frame-ratio", median(first.frame), median(single.frame));
    if (foldersOnly) return 0;

    print("[clip, folder of 100,000]", "cinevane", "window exists", list.window);
    print("[clip]", "cinevane", "window exists", single.window);
    print("[clip, folder of 100,000]", "cinevane", "first video frame", list.frame);
    print("the clip", "reference", "first video frame", bare.frame);
    print("[folder of 100,000] x3, searching", "cinevane", "key press to the window's end", searching.closed);
    print("[clip]", "cinevane", "key press to the window's end", quiet.closed);
    print("the clip", "reference", "key press to the window's end", bareKey.closed);
    print("[folder of 100,000] x3, searching", "cinevane", "key press to exit", searching.exit);
    print("[clip]", "cinevane", "key press to exit", quiet.exit);
    print("the clip", "reference", "key press to exit", bareKey.exit);
    figure("search-list-window-ms", median(list.window));
    figure("search-clip-window-ms", median(single.window));
    figure("search-list-frame-ms", median(list.frame));
    ratio("search-list-frame-ratio", median(list.frame), median(single.frame));
    figure("search-folder-reference-frame-ms", median(bare.frame));
    ratio("search-folder-frame-ratio", median(first.frame), median(bare.frame));
    figure("search-key-exit-ms", median(searching.exit));
    figure("search-key-exit-clip-ms", median(quiet.exit));
    ratio("search-key-exit-ratio", median(searching.exit), median(quiet.exit));
    figure("search-key-exit-reference-ms", median(bareKey.exit));
    figure("search-key-close-ms", median(searching.closed));
    figure("search-key-close-clip-ms", median(quiet.closed));
    figure("search-key-close-reference-ms", median(bareKey.closed));
    return 0;
}
