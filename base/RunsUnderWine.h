#pragma once

// Whether the program runs under Wine rather than Windows: some of Wine's
// faults call for a workaround that would cost something on Windows, and
// such a workaround applies only here. Looked up once.
bool runsUnderWine();
