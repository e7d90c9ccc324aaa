#include "BenchSupport.h"

#include <algorithm>
#include <cstdio>

#include "support/ProcessWindows.h"

namespace bench {

double now() {
    static LARGE_INTEGER frequency = {};
    if (!frequency.QuadPart) QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return counter.QuadPart * 1000.0 / frequency.QuadPart;
}

std::string sourcePath(const std::string& relative) {
    return std::string(CINEVANE_SOURCE_DIR_WIN) + "\\" + relative;
}

std::string binaryPath(const std::string& relative) {
    return std::string(CINEVANE_BINARY_DIR_WIN) + "\\" + relative;
}

Child start(const std::string& commandLine) {
    Child child;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    std::string line = commandLine;
    child.started = now();
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        std::fprintf(stderr, "cannot start %s: error %lu\n", commandLine.c_str(), GetLastError());
        ExitProcess(3);
    }
    CloseHandle(info.hThread);
    child.process = info.hProcess;
    child.id = info.dwProcessId;
    return child;
}


HWND waitForWindow(const Child& child, const char* windowClass, double deadline) {
    while (now() < deadline) {
        HWND found = processwindows::topWindowOf(child.id, windowClass);
        if (found) return found;
        if (WaitForSingleObject(child.process, 1) == WAIT_OBJECT_0) return nullptr;
    }
    return nullptr;
}

int finish(Child& child, HWND window) {
    if (window) PostMessageA(window, WM_CLOSE, 0, 0);
    int code = -1;
    if (WaitForSingleObject(child.process, 20000) == WAIT_OBJECT_0) {
        DWORD exitCode = 0;
        GetExitCodeProcess(child.process, &exitCode);
        code = static_cast<int>(exitCode);
    } else {
        TerminateProcess(child.process, 1);
        WaitForSingleObject(child.process, 5000);
    }
    CloseHandle(child.process);
    child.process = nullptr;
    return code;
}

const char* colourName(Colour colour) {
    static const char* const names[colourCount] = {
        "black", "red", "dark red", "lime", "dark lime", "blue", "dark blue", "yellow",
        "dark yellow", "magenta", "dark magenta", "cyan", "dark cyan", "white", "other"};
    return names[colour];
}

namespace {

Colour classify(COLORREF pixel) {
    static const COLORREF palette[] = {
        RGB(0, 0, 0),     RGB(255, 0, 0),   RGB(128, 0, 0),     RGB(0, 255, 0),
        RGB(0, 128, 0),   RGB(0, 0, 255),   RGB(0, 0, 128),     RGB(255, 255, 0),
        RGB(128, 128, 0), RGB(255, 0, 255), RGB(128, 0, 128),   RGB(0, 255, 255),
        RGB(0, 128, 128), RGB(255, 255, 255)};
    if (pixel == CLR_INVALID) return other;
    int best = other;
    int bestDistance = 40 * 40 * 3;  // farther than this from every colour: something else
    for (int i = 0; i < static_cast<int>(sizeof palette / sizeof palette[0]); ++i) {
        int dr = GetRValue(pixel) - GetRValue(palette[i]);
        int dg = GetGValue(pixel) - GetGValue(palette[i]);
        int db = GetBValue(pixel) - GetBValue(palette[i]);
        int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return static_cast<Colour>(best);
}

}  // namespace

ScreenProbe::ScreenProbe() : screen(GetDC(nullptr)) {
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    points[0] = {width / 2, height / 2};
    points[1] = {width / 4, height / 4};
    points[2] = {3 * width / 4, height / 4};
    points[3] = {width / 4, 3 * height / 4};
    points[4] = {3 * width / 4, 3 * height / 4};
}

ScreenProbe::~ScreenProbe() {
    ReleaseDC(nullptr, screen);
}

Colour ScreenProbe::sample() {
    Colour centre = classify(GetPixel(screen, points[0].x, points[0].y));
    for (int i = 1; i < 5; ++i) {
        if (classify(GetPixel(screen, points[i].x, points[i].y)) == black) return black;
    }
    return centre;
}

void pressKey() {
    INPUT inputs[2] = {};
    inputs[0].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = VK_SHIFT;
    inputs[1] = inputs[0];
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
}

namespace {

// Waits until nothing red is on the screen: the previous run's window is gone.
void waitForCleanScreen(ScreenProbe& probe) {
    double deadline = now() + 10000;
    while (now() < deadline) {
        Colour colour = probe.sample();
        if (colour != red && colour != darkRed) return;
        Sleep(5);
    }
}

}  // namespace

Start startAndWatch(const std::string& commandLine, const char* windowClass, ScreenProbe& probe) {
    waitForCleanScreen(probe);
    Start run;
    run.child = start(commandLine);
    run.window = waitForWindow(run.child, windowClass, run.child.started + 30000);
    if (!run.window) return run;
    run.windowMs = now() - run.child.started;
    double deadline = now() + 30000;
    while (now() < deadline) {
        if (probe.sample() == red) {
            run.frameMs = now() - run.child.started;
            break;
        }
        Sleep(1);
    }
    return run;
}

std::string prepareSaver(const std::string& folder, const std::string& iniText) {
    CreateDirectoryA(folder.substr(0, folder.find_last_of('\\')).c_str(), nullptr);
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string saver = folder + "\\cinevane.scr";
    if (!CopyFileA(binaryPath("cinevane.scr").c_str(), saver.c_str(), FALSE)) {
        std::fprintf(stderr, "cannot copy the saver to %s: error %lu\n", saver.c_str(), GetLastError());
        ExitProcess(3);
    }
    std::string ini = folder + "\\cinevane.ini";
    HANDLE file = CreateFileA(ini.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, iniText.data(), static_cast<DWORD>(iniText.size()), &written, nullptr);
    CloseHandle(file);
    return saver;
}

double median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

std::string describe(std::vector<double> values) {
    if (values.empty()) return "no values";
    std::sort(values.begin(), values.end());
    char text[160];
    std::snprintf(text, sizeof text, "median %.1f ms (min %.1f, max %.1f, n %u)", median(values),
                  values.front(), values.back(), static_cast<unsigned>(values.size()));
    return text;
}

}  // namespace bench
