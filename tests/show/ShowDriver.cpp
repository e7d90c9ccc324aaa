#include "ShowDriver.h"

#include "support/MessagePump.h"
#include "support/TestPaths.h"

namespace showdriver {

std::string clip(const char* name) {
    return testpaths::sourcePath(std::string("tests\\media\\") + name);
}

ShowFolder::ShowFolder(const std::string& hint, const std::string& program)
    : folder(testpaths::freshFolder(hint)) {
    programPath = folder + program.substr(program.find_last_of('\\') + 1);
    iniPath = folder + "cinevane.ini";
    CopyFileA(program.c_str(), programPath.c_str(), FALSE);
}

void ShowFolder::setOptions(int random, int resume, int sound) const {
    WritePrivateProfileStringA("Setting", "Random", random ? "1" : "0", iniPath.c_str());
    WritePrivateProfileStringA("Setting", "Resume", resume ? "1" : "0", iniPath.c_str());
    WritePrivateProfileStringA("Setting", "Sound", sound ? "1" : "0", iniPath.c_str());
}

void ShowFolder::setEntries(const std::vector<std::string>& entries) const {
    WritePrivateProfileStringA("PlayList", nullptr, nullptr, iniPath.c_str());
    WritePrivateProfileStringA("PlayList", "Count", std::to_string(entries.size()).c_str(),
                               iniPath.c_str());
    for (size_t i = 0; i < entries.size(); ++i) {
        std::string key = "Path" + std::to_string(i);
        WritePrivateProfileStringA("PlayList", key.c_str(), entries[i].c_str(), iniPath.c_str());
    }
}

void ShowFolder::setResume(const std::string& name, const std::string& time) const {
    WritePrivateProfileStringA("Resume", "Name", name.c_str(), iniPath.c_str());
    WritePrivateProfileStringA("Resume", "Time", time.c_str(), iniPath.c_str());
}

std::string ShowFolder::read(const char* section, const char* key) const {
    char buffer[MAX_PATH] = {};
    GetPrivateProfileStringA(section, key, "", buffer, MAX_PATH, iniPath.c_str());
    return buffer;
}

std::string ShowFolder::resumeName() const { return read("Resume", "Name"); }
std::string ShowFolder::resumeTime() const { return read("Resume", "Time"); }

bool ShowFolder::hasResumeSection() const {
    char buffer[1024] = {};
    return GetPrivateProfileSectionA("Resume", buffer, sizeof buffer, iniPath.c_str()) > 0;
}

std::string ShowFolder::copyHere(const std::string& source, const std::string& name) const {
    std::string target = folder + name;
    CopyFileA(source.c_str(), target.c_str(), FALSE);
    return target;
}

RunningProgram::RunningProgram() : info() {}

RunningProgram::~RunningProgram() {
    if (!info.hProcess) return;
    if (running()) {
        TerminateProcess(info.hProcess, 1);
        WaitForSingleObject(info.hProcess, kDeadline);
    }
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
}

bool RunningProgram::start(const std::string& program, const std::string& arguments) {
    std::string commandLine = "\"" + program + "\" " + arguments;
    std::string folder = program.substr(0, program.find_last_of('\\') + 1);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    return CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                          folder.c_str(), &startup, &info) != FALSE;
}

bool RunningProgram::running() const {
    return info.hProcess && WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT;
}

bool RunningProgram::waitForExit(DWORD timeout) {
    return pump::until([this] { return !running(); }, timeout);
}

DWORD RunningProgram::exitCode() const {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(info.hProcess, &code);
    return code;
}

const char* screenName(Screen screen) {
    switch (screen) {
        case Screen::Black: return "black";
        case Screen::Red: return "red";
        case Screen::Lime: return "lime";
        case Screen::Blue: return "blue";
        case Screen::Bars: return "bars";
        default: return "other";
    }
}

std::string describe(const std::vector<Screen>& screens) {
    std::string text;
    for (Screen screen : screens) {
        if (!text.empty()) text += ", ";
        text += screenName(screen);
    }
    return "[" + text + "]";
}

namespace {

// Channels well above or below the middle, so that a codec's rounding does
// not matter.
Screen classify(COLORREF color) {
    if (color == CLR_INVALID) return Screen::Other;
    bool r = GetRValue(color) > 0xC0, g = GetGValue(color) > 0xC0, b = GetBValue(color) > 0xC0;
    bool rLow = GetRValue(color) < 0x40, gLow = GetGValue(color) < 0x40, bLow = GetBValue(color) < 0x40;
    if (rLow && gLow && bLow) return Screen::Black;
    if (r && gLow && bLow) return Screen::Red;
    if (rLow && g && bLow) return Screen::Lime;
    if (rLow && gLow && b) return Screen::Blue;
    return Screen::Other;
}

// Each channel clearly high or low: a number for the colour; else -1.
int colourClass(COLORREF color) {
    int result = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        int channel = (color >> shift) & 0xFF;
        if (channel >= 0x40 && channel <= 0xC0) return -1;
        if (channel > 0xC0) result |= 1 << (shift / 8);
    }
    return result;
}

}  // namespace

Screen screenNow() {
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = GetDC(nullptr);
    // The strip at the bottom of long.avi's test picture holds every bar colour;
    // after a jump into the clip the rest of its picture may still be black.
    bool colours[8] = {};
    int distinct = 0;
    for (int i = 0; i < 16; ++i) {
        int c = colourClass(GetPixel(screen, width * (2 * i + 1) / 32, height * 15 / 16));
        if (c > 0 && !colours[c]) {
            colours[c] = true;
            ++distinct;
        }
    }
    Screen solid = classify(GetPixel(screen, width / 4, height * 3 / 10));
    for (POINT p : {POINT{width * 3 / 4, height * 3 / 10}, POINT{width / 2, height / 2},
                    POINT{width / 4, height * 9 / 10}}) {
        if (classify(GetPixel(screen, p.x, p.y)) != solid) solid = Screen::Other;
    }
    ReleaseDC(nullptr, screen);
    return distinct >= 4 ? Screen::Bars : solid;
}

namespace {

std::vector<Screen> watch(const RunningProgram& program, size_t count, Screen last, DWORD deadline) {
    std::vector<Screen> seen;
    pump::until([&] {
        if (!program.running()) return true;
        Screen now = screenNow();
        bool isClip = now != Screen::Black && now != Screen::Other;
        if (isClip && (seen.empty() || seen.back() != now)) seen.push_back(now);
        return seen.size() >= count || (!seen.empty() && seen.back() == last);
    }, deadline);
    return seen;
}

}  // namespace

std::vector<Screen> watchClips(const RunningProgram& program, size_t count, DWORD deadline) {
    return watch(program, count, Screen::Other, deadline);
}

std::vector<Screen> watchClipsUntil(const RunningProgram& program, Screen last, DWORD deadline) {
    return watch(program, static_cast<size_t>(-1), last, deadline);
}

void pressKey() {
    INPUT inputs[2] = {};
    inputs[0].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = VK_SHIFT;
    inputs[1] = inputs[0];
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
}

}  // namespace showdriver
