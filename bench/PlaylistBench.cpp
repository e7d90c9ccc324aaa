// Times the building of a play list from one folder of N empty video files
// against bare FindFirstFileA/FindNextFileA loops over the same folder.
// usage: playlist_bench [scratch-folder]   (default: beside the program)
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "base/Exception.h"
#include "base/StringArray.h"
#include "playback/playlist/PlaylistBuilder.h"

namespace {

const char* const extensions[] = {"wmv", "avi", "mpg", "mpeg"};
const int rounds = 5;
int currentCount = 0;

double now() {
    static LARGE_INTEGER frequency = {};
    if (!frequency.QuadPart) QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER count;
    QueryPerformanceCounter(&count);
    return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Makes folder\clip000000.avi ... once; a marker file says it is complete.
bool prepare(const char* folder, int n) {
    char marker[MAX_PATH];
    wsprintfA(marker, "%s\\complete", folder);
    if (GetFileAttributesA(marker) != INVALID_FILE_ATTRIBUTES) return true;
    CreateDirectoryA(folder, nullptr);
    std::printf("creating %d files in %s\n", n, folder);
    for (int i = 0; i < n; ++i) {
        char path[MAX_PATH];
        wsprintfA(path, "%s\\clip%06d.%s", folder, i, extensions[i % 4]);
        HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        CloseHandle(file);
    }
    HANDLE file = CreateFileA(marker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

// One search for each of the four extensions, doing nothing with the names
// (the builder itself makes two passes over the folder).
int bareLoop(const char* folder) {
    int found = 0;
    for (const char* extension : extensions) {
        char pattern[MAX_PATH];
        wsprintfA(pattern, "%s\\*.%s", folder, extension);
        WIN32_FIND_DATAA entry;
        HANDLE search = FindFirstFileA(pattern, &entry);
        if (search == INVALID_HANDLE_VALUE) continue;
        do {
            ++found;
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    return found;
}

int build(const char* folder) {
    StringArray entries;
    entries.add(folder);
    Playlist playlist;
    buildPlaylist(playlist, entries);
    return playlist.count();
}

// The parts of the build's work per file, without the searches.
int addsOnly(const char* folder) {
    CountedString path(folder);
    Playlist playlist;
    for (int i = 0; i < currentCount; ++i) playlist.add(path);
    return playlist.count();
}

// Adds of distinct paths, made as the build makes them, without searching.
int namedAdds(const char* folder) {
    CountedString base(folder);
    Playlist playlist;
    for (int i = 0; i < currentCount; ++i) playlist.add(base + "clip000000.avi");
    return playlist.count();
}

int namesOnly(const char* folder) {
    CountedString base(folder);
    int made = 0;
    for (int i = 0; i < currentCount; ++i) {
        CountedString path = base + "clip000000.avi";
        made += path.length() > 0;
    }
    return made;
}

template <typename F>
double best(F f, const char* folder, int expected) {
    double fastest = 1e9;
    for (int r = 0; r < rounds; ++r) {
        double start = now();
        int found = f(folder);
        double took = now() - start;
        if (found != expected) std::printf("  (found %d of %d)\n", found, expected);
        if (took < fastest) fastest = took;
    }
    return fastest;
}

}  // namespace

int main(int argc, char** argv) {
    char root[MAX_PATH];
    if (argc > 1) {
        lstrcpynA(root, argv[1], MAX_PATH);
    } else {
        GetModuleFileNameA(nullptr, root, MAX_PATH);
        *std::strrchr(root, '\\') = '\0';
        lstrcatA(root, "\\bench-files");
    }
    CreateDirectoryA(root, nullptr);
    std::printf("%8s %10s %10s %7s %10s %10s %10s\n", "files", "bare ms", "build ms", "ratio",
                "adds ms", "names ms", "named adds");
    double previous = 0;
    for (int n : {1000, 10000, 100000}) {
        char folder[MAX_PATH];
        wsprintfA(folder, "%s\\n%d", root, n);
        if (!prepare(folder, n)) {
            std::printf("cannot create the files in %s (error %lu)\n", folder, GetLastError());
            return 1;
        }
        try {
            currentCount = n;
            double bare = best(bareLoop, folder, n);
            double built = best(build, folder, n);
            double adds = best(addsOnly, folder, n);
            double names = best(namesOnly, folder, n);
            double named = best(namedAdds, folder, n);
            std::printf("%8d %10.1f %10.1f %7.2f %10.1f %10.1f %10.1f", n, bare * 1000, built * 1000,
                        built / bare, adds * 1000, names * 1000, named * 1000);
            if (previous > 0) std::printf("   build grew %.1fx over 10x files", built / previous);
            std::printf("\n");
            std::fflush(stdout);
            previous = built;
        } catch (Exception* e) {
            std::printf("failed with code %lu\n", e->code);
            dispose(e);
            return 1;
        }
    }
    return 0;
}
