#include "ShowDriver.h"

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
    DWORD start = GetTickCount();
    while (running()) {
        if (GetTickCount() - start >= timeout) return false;
        MsgWaitForMultipleObjects(1, &info.hProcess, FALSE, 50, QS_ALLINPUT);
        pump(0);
    }
    return true;
}

DWORD RunningProgram::exitCode() const {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(info.hProcess, &code);
    return code;
}

void pump(DWORD milliseconds) {
    DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (milliseconds) MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (GetTickCount() - start < milliseconds);
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

bool isYellow(COLORREF color) {
    return GetRValue(color) > 0xC0 && GetGValue(color) > 0xC0 && GetBValue(color) < 0x40;
}

}  // namespace

Screen screenNow() {
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = GetDC(nullptr);
    // long.avi's colour bars put blue at 43 % and yellow at 56 % of the width.
    COLORREF left = GetPixel(screen, width * 43 / 100, height * 3 / 10);
    COLORREF middle = GetPixel(screen, width * 56 / 100, height * 3 / 10);
    COLORREF low = GetPixel(screen, width * 25 / 100, height * 6 / 10);
    COLORREF right = GetPixel(screen, width * 80 / 100, height * 9 / 10);
    ReleaseDC(nullptr, screen);
    if (classify(left) == Screen::Blue && isYellow(middle)) return Screen::Bars;
    Screen first = classify(left);
    if (first == classify(middle) && first == classify(low) && first == classify(right)) return first;
    return Screen::Other;
}

std::vector<Screen> watchClips(const RunningProgram& program, size_t count, DWORD deadline) {
    std::vector<Screen> seen;
    DWORD start = GetTickCount();
    while (seen.size() < count && GetTickCount() - start < deadline && program.running()) {
        Screen now = screenNow();
        bool isClip = now != Screen::Black && now != Screen::Other;
        if (isClip && (seen.empty() || seen.back() != now)) seen.push_back(now);
        if (seen.size() < count) pump(10);
    }
    return seen;
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
