// File switches of the show against a bare reference player's close, open
// and play, for the AVI clips (played through MCI, against
// ReferencePlayer.cpp) and for the MP4 clips (played through Media
// Foundation, against FoundationReferencePlayer.cpp). Both programs play the
// same six clips, each a bright colour whose last frames are the same colour
// at half strength; the driver watches the screen as fast as it can and
// measures, at every switch, the time from the last frame of one clip to
// the first frame of the next, and whether anything black showed in
// between.
//
// The AVI clips' last frame is timed from its first sight. The MP4 players
// halt the picture before the end (see FoundationReferencePlayer.cpp), so
// that frame never shows: it is timed from the first sight of the dark part
// plus the time after which the last frame is due.
//
// usage: switch_bench [seconds] [all|mp4]   (default 15 seconds of each
//        program with the AVI clips and twice that with the MP4 ones, all
//        formats)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchSupport.h"

using namespace bench;

namespace {

const char saverClass[] = "WindowsScreenSaverClass";

// One kind of clip, with the program it is compared against.
struct Format {
    const char* extension;
    const char* reference;  // in the build tree
    const char* referenceClass;
    double lastFrameAfterDark;  // milliseconds from the first dark frame to the last frame
    const char* figurePrefix;
    double watchFactor;  // watched this many times the seconds asked for
};

const Format formats[] = {
    {"avi", "bench\\reference_player.exe", "CinevaneBenchReference", 0, "", 1},
    // Half a second of dark at 25 frames a second: the last frame is the
    // 13th. The clips are longer and so are the switches: watched longer.
    {"mp4", "bench\\foundation_reference_player.exe", "CinevaneBenchFoundationReference", 480, "mp4-", 2},
};

struct Clip {
    const char* name;
    Colour bright;
    Colour last;
};

const Clip clips[] = {{"red", red, darkRed},          {"lime", lime, darkLime},
                      {"blue", blue, darkBlue},       {"yellow", yellow, darkYellow},
                      {"magenta", magenta, darkMagenta}, {"cyan", cyan, darkCyan}};
const int clipCount = sizeof clips / sizeof clips[0];

struct Sample {
    double at;
    Colour colour;
};

struct Result {
    std::vector<double> switches;  // last frame of one clip to first frame of the next
    std::vector<double> periods;   // first frame of one clip to first frame of the next
    int blackSwitches = 0;         // switches with black on the screen between the two
    int blackSamples = 0;          // black seen anywhere after the first frame
    int samples = 0;
    double sampleInterval = 0;
};

std::string clipPath(const Clip& clip, const Format& format) {
    return sourcePath(std::string("bench\\media\\switch-") + clip.name + "." + format.extension);
}

int clipOf(Colour colour, bool& isLast) {
    for (int i = 0; i < clipCount; ++i) {
        if (clips[i].bright == colour || clips[i].last == colour) {
            isLast = clips[i].last == colour;
            return i;
        }
    }
    return -1;
}

Result analyse(const std::vector<Sample>& samples, double lastFrameAfterDark) {
    Result result;
    result.samples = static_cast<int>(samples.size());
    if (samples.size() > 1) {
        result.sampleInterval = (samples.back().at - samples.front().at) / (samples.size() - 1);
    }
    bool started = false;
    int lastClip = -1;        // the clip whose last frame is showing
    double lastFrameAt = 0;
    int startedClip = -1;     // the clip whose first frame was seen last
    double startedAt = 0;
    bool blackSince = false;  // black seen since that last frame appeared
    for (const Sample& sample : samples) {
        bool isLast = false;
        int clip = clipOf(sample.colour, isLast);
        if (clip >= 0) started = true;
        if (!started) continue;
        if (sample.colour == black) {
            ++result.blackSamples;
            if (lastClip >= 0) blackSince = true;
            continue;
        }
        if (clip < 0) continue;
        if (!isLast && clip != startedClip) {
            if (startedClip >= 0 && clip == (startedClip + 1) % clipCount) {
                result.periods.push_back(sample.at - startedAt);
            }
            startedClip = clip;
            startedAt = sample.at;
        }
        if (isLast && lastClip != clip) {
            lastClip = clip;
            lastFrameAt = sample.at + lastFrameAfterDark;
            blackSince = false;
        } else if (!isLast && lastClip >= 0 && clip == (lastClip + 1) % clipCount) {
            result.switches.push_back(sample.at - lastFrameAt);
            if (blackSince) ++result.blackSwitches;
            lastClip = -1;
        }
    }
    return result;
}

Result watch(const std::string& commandLine, const char* windowClass, double seconds, double lastFrameAfterDark) {
    ScreenProbe probe;
    Child child = start(commandLine);
    HWND window = waitForWindow(child, windowClass, child.started + 30000);
    std::vector<Sample> samples;
    if (window) {
        samples.reserve(200000);
        double end = now() + seconds * 1000;
        for (double t = now(); t < end; t = now()) samples.push_back({t, probe.sample()});
    }
    int code = finish(child, window);
    if (!window) std::printf("  no window: %s (exit code %d)\n", commandLine.c_str(), code);
    return analyse(samples, lastFrameAfterDark);
}

void print(const char* who, const Result& result) {
    std::printf("%s: %d switches, %s; black between clips at %d switches; black samples %d of %d; "
                "one sample every %.2f ms\n",
                who, static_cast<int>(result.switches.size()), describe(result.switches).c_str(),
                result.blackSwitches, result.blackSamples, result.samples, result.sampleInterval);
    std::printf("%s: first frame to the next clip's first frame: %s\n", who,
                describe(result.periods).c_str());
}

// False when either program switched not once.
bool compare(const Format& format, double seconds) {
    std::string ini = "[Setting]\r\nRandom=0\r\nResume=0\r\nSound=1\r\n[PlayList]\r\nCount=" +
                      std::to_string(clipCount) + "\r\n";
    std::string reference = "\"" + binaryPath(format.reference) + "\"";
    for (int i = 0; i < clipCount; ++i) {
        ini += "Path" + std::to_string(i) + "=" + clipPath(clips[i], format) + "\r\n";
        reference += " \"" + clipPath(clips[i], format) + "\"";
    }
    std::string folder = binaryPath(std::string("bench-data\\switch-") + format.extension);
    std::string saver = "\"" + prepareSaver(folder, ini) + "\" /s";

    seconds *= format.watchFactor;
    Result referenceResult = watch(reference, format.referenceClass, seconds, format.lastFrameAfterDark);
    Result saverResult = watch(saver, saverClass, seconds, format.lastFrameAfterDark);
    std::string who = std::string(format.extension) + ", reference";
    print(who.c_str(), referenceResult);
    who = std::string(format.extension) + ", cinevane";
    print(who.c_str(), saverResult);

    const char* p = format.figurePrefix;
    std::printf("figure %sswitch-ms %.1f\n", p, median(saverResult.switches));
    std::printf("figure %sswitch-reference-ms %.1f\n", p, median(referenceResult.switches));
    std::printf("figure %sswitch-ratio %.2f\n", p, median(saverResult.switches) / median(referenceResult.switches));
    // The whole cycle of a clip: what a switch costs, however long the last
    // frame happens to stay on the screen.
    std::printf("figure %scycle-ms %.1f\n", p, median(saverResult.periods));
    std::printf("figure %scycle-reference-ms %.1f\n", p, median(referenceResult.periods));
    std::printf("figure %scycle-ratio %.2f\n", p, median(saverResult.periods) / median(referenceResult.periods));
    std::printf("figure %sswitch-count %d\n", p, static_cast<int>(saverResult.switches.size()));
    std::printf("figure %sswitch-reference-count %d\n", p, static_cast<int>(referenceResult.switches.size()));
    std::printf("figure %sswitch-black %d\n", p, saverResult.blackSwitches);
    std::printf("figure %sswitch-reference-black %d\n", p, referenceResult.blackSwitches);
    std::fflush(stdout);
    return !saverResult.switches.empty() && !referenceResult.switches.empty();
}

}  // namespace

int main(int argc, char** argv) {
    double seconds = argc > 1 ? std::atof(argv[1]) : 15;
    if (seconds < 3) seconds = 3;
    const bool mp4Only = argc > 2 && std::string(argv[2]) == "mp4";
    bool switched = true;
    for (const Format& format : formats) {
        if (mp4Only && std::string(format.extension) != "mp4") continue;
        switched = compare(format, seconds) && switched;
    }
    return switched ? 0 : 1;
}
