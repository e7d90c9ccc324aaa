// Times Settings::load on the INI files that cost the most to read: a play
// list that claims 2,147,483,647 entries, and a file of several megabytes.
// The tests check what these loads read; this says how long they take.
// usage: settings_bench   (writes its files beside the program)
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "base/Exception.h"
#include "settings/Settings.h"

namespace {

const int rounds = 5;

double now() {
    static LARGE_INTEGER frequency = {};
    if (!frequency.QuadPart) QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER count;
    QueryPerformanceCounter(&count);
    return static_cast<double>(count.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

bool writeBeside(const char* name, const std::string& bytes) {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    lstrcpyA(std::strrchr(path, '\\') + 1, name);
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    CloseHandle(file);
    return ok;
}

// The fastest of a few loads of the file, in milliseconds, and the entries read.
double fastestLoad(const char* name, int& entries) {
    double fastest = 1e12;
    for (int r = 0; r < rounds; ++r) {
        Settings settings;
        settings.bind(name);
        const double start = now();
        settings.load();
        const double took = now() - start;
        entries = settings.entries.count();
        if (took < fastest) fastest = took;
    }
    return fastest;
}

}  // namespace

int main() {
    const std::string hugeCount =
        "[PlayList]\r\nCount=2147483647\r\nPath0=C:\\a.avi\r\nPath2147483646=C:\\last.avi\r\n";
    std::string megabytes = "[PlayList]\r\nCount=2147483647\r\nPath0=C:\\first.avi\r\n";
    for (int i = 0; i < 40000; ++i) megabytes += "Junk" + std::to_string(i) + "=" + std::string(40, 'j') + "\r\n";
    megabytes += "Path1=" + std::string(1024 * 1024, 'w') + "\r\nPath2=C:\\third.avi\r\n";
    const struct {
        const char* name;
        const char* what;
        const std::string& bytes;
    } files[] = {
        {"settings-bench-count.ini", "Count 2147483647, two keys", hugeCount},
        {"settings-bench-large.ini", "several megabytes", megabytes},
    };
    std::printf("%-28s %10s %8s %10s\n", "file", "bytes", "entries", "load ms");
    for (const auto& f : files) {
        if (!writeBeside(f.name, f.bytes)) {
            std::printf("cannot write %s (error %lu)\n", f.name, GetLastError());
            return 1;
        }
        try {
            int entries = 0;
            const double ms = fastestLoad(f.name, entries);
            std::printf("%-28s %10u %8d %10.1f\n", f.what, static_cast<unsigned>(f.bytes.size()), entries, ms);
            std::fflush(stdout);
        } catch (Exception* e) {
            std::printf("failed with code %lu\n", e->code);
            dispose(e);
            return 1;
        }
    }
    return 0;
}
