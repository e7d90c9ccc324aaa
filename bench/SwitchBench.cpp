// File switches of the show against the bare reference player's close, open
// and play. Both play the same six one-second clips, each a bright colour
// whose last frame is the same colour at half strength; the driver watches
// the screen as fast as it can and measures, at every switch, the time from
// the last frame of one clip to the first frame of the next, and whether
// anything black showed in between.
//
// usage: switch_bench [seconds]   (default 15 seconds of each program)
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

std::string clipPath(const Clip& clip) {
    return sourcePath(std::string("bench\\media\\switch-") + clip.name + ".avi");
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

Result analyse(const std::vector<Sample>& samples) {
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
            lastFrameAt = sample.at;
            blackSince = false;
        } else if (!isLast && lastClip >= 0 && clip == (lastClip + 1) % clipCount) {
            result.switches.push_back(sample.at - lastFrameAt);
            if (blackSince) ++result.blackSwitches;
            lastClip = -1;
        }
    }
    return result;
}

Result watch(const std::string& commandLine, const char* windowClass, double seconds) {
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
    return analyse(samples);
}

void print(const char* who, const Result& result) {
    std::printf("%s: %d switches, %s; black between clips at %d switches; black samples %d of %d; "
                "one sample every %.2f ms\n",
                who, static_cast<int>(result.switches.size()), describe(result.switches).c_str(),
                result.blackSwitches, result.blackSamples, result.samples, result.sampleInterval);
    std::printf("%s: first frame to the next clip's first frame (one-second clips): %s\n", who,
                describe(result.periods).c_str());
}

}  // namespace

int main(int argc, char** argv) {
    double seconds = argc > 1 ? std::atof(argv[1]) : 15;
    if (seconds < 3) seconds = 3;

    std::string ini = "[Setting]\r\nRandom=0\r\nResume=0\r\nSound=1\r\n[PlayList]\r\nCount=" +
                      std::to_string(clipCount) + "\r\n";
    std::string reference = "\"" + binaryPath("bench\\reference_player.exe") + "\"";
    for (int i = 0; i < clipCount; ++i) {
        ini += "Path" + std::to_string(i) + "=" + clipPath(clips[i]) + "\r\n";
        reference += " \"" + clipPath(clips[i]) + "\"";
    }
    std::string saver = "\"" + prepareSaver(binaryPath("bench-data\\switch"), ini) + "\" /s";

    Result referenceResult = watch(reference, referenceClass, seconds);
    Result saverResult = watch(saver, saverClass, seconds);
    print("reference", referenceResult);
    print("cinevane", saverResult);

    double ratio = median(saverResult.switches) / median(referenceResult.switches);
    std::printf("figure switch-ms %.1f\n", median(saverResult.switches));
    std::printf("figure switch-reference-ms %.1f\n", median(referenceResult.switches));
    std::printf("figure switch-ratio %.2f\n", ratio);
    // The whole cycle of a one-second clip: what a switch costs, however
    // long the last frame happens to stay on the screen.
    std::printf("figure cycle-ms %.1f\n", median(saverResult.periods));
    std::printf("figure cycle-reference-ms %.1f\n", median(referenceResult.periods));
    std::printf("figure cycle-ratio %.2f\n", median(saverResult.periods) / median(referenceResult.periods));
    std::printf("figure switch-count %d\n", static_cast<int>(saverResult.switches.size()));
    std::printf("figure switch-black %d\n", saverResult.blackSwitches);
    std::printf("figure switch-reference-black %d\n", referenceResult.blackSwitches);
    return saverResult.switches.empty() || referenceResult.switches.empty() ? 1 : 0;
}
