// demo_helper: what tools/demo needs from inside Windows to run the screen
// saver as a user and the system would, and to tell the script when to take
// a picture.
//
//   demo_helper preview PROGRAM DONE_FILE
//       Opens a window like the preview area of the display settings, runs
//       "PROGRAM /p HANDLE" in it, prints "preview W H" (the size of the
//       preview's window) once it is there, closes the window as the display
//       settings do and prints "program-ended CODE" when the preview has
//       ended. Wine does not draw a child window of another process, so for
//       the picture the helper then runs the program's own preview code
//       (the host's runSaver, linked in) inside a second such window: it
//       prints "ready X Y W H" (that window's screen rectangle) once the
//       preview has painted, closes the window when DONE_FILE exists and
//       prints "ended CODE".
//   demo_helper dialog PROGRAM DONE_FILE
//       Runs "PROGRAM /c", waits for the settings dialog, prints its caption
//       and the texts of its controls in UTF-8, then "ready X Y W H". When
//       DONE_FILE exists it presses Escape, as a user cancels, and prints
//       "ended CODE".
//   demo_helper wait-show SECONDS
//       Waits for the full-screen show's window and its video view; prints
//       "ready W H".
//   demo_helper press-key
//       Presses and releases the space bar through the system's input queue,
//       as a user would to end the show, and waits until the show's window
//       has gone; prints "ended".
//
// Every wait waits for what it needs with a generous deadline while pumping
// messages, and a missed deadline ends the helper with exit code 1 and a
// message.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/MessagePump.h"
#include "support/PreviewHost.h"
#include "support/RunningProgram.h"
#include "support/TestFiles.h"
#include "support/UserInput.h"

namespace {

const DWORD appearDeadline = 60000;
const DWORD endDeadline = 30000;
const DWORD doneDeadline = 600000;
const char saverClass[] = "WindowsScreenSaverClass";
const char viewClass[] = "CinevaneView";

int failWith(const char* what) {
    std::printf("error %s\n", what);
    std::fflush(stdout);
    return 1;
}

void say(const char* text) {
    std::printf("%s\n", text);
    std::fflush(stdout);
}

void sayRect(const char* word, HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    std::printf("%s %ld %ld %ld %ld\n", word, rect.left, rect.top,
                rect.right - rect.left, rect.bottom - rect.top);
    std::fflush(stdout);
}

// Window texts are in the ANSI code page; the script reads UTF-8.
std::string toUtf8(const char* ansi) {
    wchar_t wide[512];
    char utf8[1536];
    int n = MultiByteToWideChar(CP_ACP, 0, ansi, -1, wide, 512);
    if (n == 0) return std::string();
    if (WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8, sizeof utf8, nullptr, nullptr) == 0)
        return std::string();
    return utf8;
}

// Waits for the program to end and prints WORD and its exit code; one that
// does not end is ended by force.
int reportEnd(RunningProgram& program, const char* word) {
    if (!program.waitForExit(endDeadline)) {
        program.kill();
        return failWith("the program did not end");
    }
    std::printf("%s %ld\n", word, static_cast<long>(program.exitCode()));
    std::fflush(stdout);
    return 0;
}

// A framed window whose client area is the size of the preview area of the
// display settings, scaled up so that the picture can be seen.
HWND createPreviewHost() {
    return previewhost::create(60, 60, 304, 228, "cinevane preview");
}

// The program itself in the preview's place: its window appears inside the
// parent and the program ends when the parent goes.
int runProgramPreview(const char* program) {
    HWND host = createPreviewHost();
    if (host == nullptr) return failWith("no preview window");
    RunningProgram process;
    if (!process.start(program, "/p " + std::to_string(reinterpret_cast<UINT_PTR>(host))))
        return failWith("cannot start the program");
    HWND preview = nullptr;
    if (!pump::until([&] {
            preview = FindWindowExA(host, nullptr, saverClass, nullptr);
            return preview != nullptr && IsWindowVisible(preview);
        }, appearDeadline))
        return failWith("no preview window appeared in the parent");
    RECT client;
    GetClientRect(preview, &client);
    std::printf("preview %ld %ld\n", client.right, client.bottom);
    DestroyWindow(host);
    return reportEnd(process, "program-ended");
}

// The preview that runs in this process: says "ready" once it has painted
// (on this thread, so at once), and closes its parent when the picture has
// been taken.
int runPicturePreview(const char* doneFile) {
    HWND host = createPreviewHost();
    if (host == nullptr) return failWith("no preview window");
    bool ready = false;
    const int code = previewhost::run(
        host,
        [&] {
            HWND preview = FindWindowExA(host, nullptr, saverClass, nullptr);
            if (!ready && preview != nullptr && IsWindowVisible(preview)) {
                UpdateWindow(preview);
                ready = true;
                sayRect("ready", host);
            }
            return ready && testfiles::exists(doneFile);
        },
        doneDeadline);
    if (!ready) return failWith("the preview did not appear");
    std::printf("ended %d\n", code);
    std::fflush(stdout);
    return 0;
}

int runPreview(const char* program, const char* doneFile) {
    int result = runProgramPreview(program);
    if (result != 0) return result;
    return runPicturePreview(doneFile);
}

BOOL CALLBACK sayControlText(HWND control, LPARAM) {
    char text[256];
    char className[64];
    GetClassNameA(control, className, sizeof className);
    GetWindowTextA(control, text, sizeof text);
    if (text[0] != '\0')
        std::printf("control %s %s\n", className, toUtf8(text).c_str());
    return TRUE;
}

int runDialog(const char* program, const char* doneFile) {
    RunningProgram process;
    if (!process.start(program, "/c")) return failWith("cannot start the program");
    HWND dialog = process.waitForDialog(appearDeadline);
    // Fully painted before its picture is taken.
    if (!dialog || !RunningProgram::settle(dialog)) return failWith("the settings dialog did not appear");
    char caption[256];
    GetWindowTextA(dialog, caption, sizeof caption);
    std::printf("caption %s\n", toUtf8(caption).c_str());
    EnumChildWindows(dialog, sayControlText, 0);
    sayRect("ready", dialog);
    if (!pump::until([&] { return testfiles::exists(doneFile); }, doneDeadline)) return failWith("nobody said done");
    // The key goes to the foreground window, as a user's would.
    SetForegroundWindow(dialog);
    if (!pump::until([&] { return GetForegroundWindow() == dialog; }))
        return failWith("the settings dialog did not come to the front");
    userinput::pressKey(VK_ESCAPE);
    return reportEnd(process, "ended");
}

HWND findShow() {
    return FindWindowA(saverClass, "Screen Saver");
}

int waitShow(DWORD seconds) {
    HWND show = nullptr;
    if (!pump::until([&] {
            show = findShow();
            return show != nullptr && IsWindowVisible(show) &&
                   FindWindowExA(show, nullptr, viewClass, nullptr) != nullptr;
        }, seconds * 1000))
        return failWith("the show did not start");
    RECT rect;
    GetClientRect(show, &rect);
    std::printf("ready %ld %ld\n", rect.right, rect.bottom);
    std::fflush(stdout);
    return 0;
}

int pressKeyToEnd() {
    HWND show = findShow();
    if (show == nullptr) return failWith("no show is running");
    userinput::pressKey(VK_SPACE);
    if (!pump::until([] { return findShow() == nullptr; }, endDeadline))
        return failWith("the show did not end on a key press");
    say("ended");
    return 0;
}

int usage() {
    std::fputs("usage: demo_helper preview PROGRAM DONE_FILE | dialog PROGRAM DONE_FILE |"
               " wait-show SECONDS | press-key\n", stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage();
    std::string command = argv[1];
    if (command == "preview" && argc == 4) return runPreview(argv[2], argv[3]);
    if (command == "dialog" && argc == 4) return runDialog(argv[2], argv[3]);
    if (command == "wait-show" && argc == 3) return waitShow(std::strtoul(argv[2], nullptr, 10));
    if (command == "press-key" && argc == 2) return pressKeyToEnd();
    return usage();
}
