#include <gtest/gtest.h>

#include <cstring>

#include "InProcessShow.h"

// The program runs the show cases; started with --in-process (by those cases,
// as a copy beside a prepared INI file) it runs the one in-process case that
// its filter names.
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i)
        if (strcmp(argv[i], "--in-process") == 0) inprocess::enabled = true;
    if (!inprocess::enabled) {
        std::string filter = GTEST_FLAG_GET(filter);
        GTEST_FLAG_SET(filter, filter + (filter.find('-') == std::string::npos ? "-" : ":") + "ShowInProcess*");
    }
    return RUN_ALL_TESTS();
}
