#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "playback/foundation/MediaFoundation.h"
#include "support/ImportRedirect.h"

namespace {

decltype(&LoadLibraryExA) systemLoad = nullptr;

// The program loads Media Foundation from the system folder only; the copy
// that stands for Windows Vista takes the test build beside it instead.
HMODULE WINAPI loadBesideProgram(const char* path, HANDLE file, DWORD flags) {
    const char* name = strrchr(path, '\\');
    char beside[MAX_PATH];
    if (name && lstrcmpiA(name, "\\mfplat.dll") == 0 &&
        GetModuleFileNameA(nullptr, beside, MAX_PATH) < MAX_PATH - 12) {
        strcpy(strrchr(beside, '\\'), name);
        path = beside;
    }
    return systemLoad(path, file, flags);
}

}  // namespace

// The player cases. Started again by one of them with an option, it runs
// only the cases of the machine that option names, which the ordinary run
// leaves out: --without-media-foundation (a copy beside a test build of
// mfplat.dll) and --with-sound-device (a sound device that plays nothing).
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    static const char* const machines[][2] = {{"--without-media-foundation", "WithoutMediaFoundation.*"},
                                              {"--with-sound-device", "WithSoundDevice.*"}};
    std::string filter = GTEST_FLAG_GET(filter);
    std::string others;
    bool chosen = false;
    for (const auto& machine : machines) {
        for (int i = 1; i < argc; ++i) {
            if (strcmp(argv[i], machine[0]) == 0) {
                filter = machine[1];
                chosen = true;
                if (&machine == &machines[0])
                    systemLoad = imports::redirect("kernel32.dll", "LoadLibraryExA", &loadBesideProgram);
            }
        }
        others += std::string(others.empty() ? "" : ":") + machine[1];
    }
    if (!chosen) filter += (filter.find('-') == std::string::npos ? "-" : ":") + others;
    GTEST_FLAG_SET(filter, filter);
    const int result = RUN_ALL_TESTS();
    // As the program does: once Media Foundation was loaded, the process ends
    // without unloading it (under Wine 10 its sound side can free a block
    // twice while it unloads, and the process then dies after every case passed).
    std::fflush(nullptr);
    if (MediaFoundation::librariesLoaded()) TerminateProcess(GetCurrentProcess(), static_cast<UINT>(result));
    return result;
}
