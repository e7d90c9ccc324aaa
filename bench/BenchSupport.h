#pragma once
#include <windows.h>

#include <string>
#include <vector>

// What the benchmark drivers share: a clock, the programs they start, the
// screen they watch, and the folders they prepare.
namespace bench {

// Milliseconds on the performance counter.
double now();

// Windows paths of the source and build trees.
std::string sourcePath(const std::string& relative);
std::string binaryPath(const std::string& relative);

// A program started by the driver.
struct Child {
    HANDLE process = nullptr;
    DWORD id = 0;
    double started = 0;  // just before CreateProcessA
};

Child start(const std::string& commandLine);

// The top-level window of the child with this class, or null when none
// appeared before the deadline (milliseconds on the clock).
HWND waitForWindow(const Child& child, const char* windowClass, double deadline);

// Closes the child's window and waits for the process; ends it by force
// after a generous wait. Returns the exit code, or -1 when it had to be ended.
int finish(Child& child, HWND window);

// Presses and releases a key as a user would.
void pressKey();

// Colours the benchmark clips are made of, told apart on the screen.
enum Colour {
    black, red, darkRed, lime, darkLime, blue, darkBlue, yellow, darkYellow,
    magenta, darkMagenta, cyan, darkCyan, white, other, colourCount
};
const char* colourName(Colour colour);

// Reads the screen's pixels from the display driver.
class ScreenProbe {
public:
    ScreenProbe();
    ~ScreenProbe();
    // The colour at the centre of the screen; a frame that is black
    // anywhere at the five probe points counts as black.
    Colour sample();

private:
    HDC screen;
    POINT points[5];
};

// One start of a program that shows the red clip first: when its window
// appeared and when the first red frame was seen, in milliseconds from just
// before CreateProcessA. The program keeps running; the caller ends it.
struct Start {
    Child child;
    HWND window = nullptr;
    double windowMs = 0;
    double frameMs = 0;  // 0: no red frame before the deadline
};
Start startAndWatch(const std::string& commandLine, const char* windowClass, ScreenProbe& probe);

// A copy of the saver in a folder of its own, with the INI file beside it.
std::string prepareSaver(const std::string& folder, const std::string& iniText);

// "median 123.4 ms (min 100.0, max 150.2, n 10)"
std::string describe(std::vector<double> values);
double median(std::vector<double> values);

}  // namespace bench
