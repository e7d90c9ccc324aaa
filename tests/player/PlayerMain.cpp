#include <gtest/gtest.h>

#include <cstring>
#include <string>

// The player cases. Started with --without-media-foundation (by one of them,
// as a copy beside a test build of mfplat.dll) it runs only the cases of a
// Windows without Media Foundation, which the ordinary run leaves out.
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    bool copy = false;
    for (int i = 1; i < argc; ++i) copy = copy || strcmp(argv[i], "--without-media-foundation") == 0;
    std::string filter = GTEST_FLAG_GET(filter);
    if (copy) {
        filter = "WithoutMediaFoundation.*";
    } else {
        filter += filter.find('-') == std::string::npos ? "-WithoutMediaFoundation.*" : ":WithoutMediaFoundation.*";
    }
    GTEST_FLAG_SET(filter, filter);
    return RUN_ALL_TESTS();
}
