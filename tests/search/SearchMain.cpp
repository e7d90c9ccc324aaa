#include "support/InProcessShow.h"

// The program runs the search cases; started with --in-process (by those
// cases, as a copy beside a prepared INI file) it runs the one in-process
// case that its filter names.
int main(int argc, char** argv) {
    return inprocess::runTests(argc, argv, "SearchInProcess");
}
