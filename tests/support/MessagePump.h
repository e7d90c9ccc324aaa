#pragma once
#include <windows.h>

#include <functional>

// Waiting in tests: this thread's messages are dispatched until the awaited
// thing has happened or a deadline has passed. Nothing sleeps a fixed time.
namespace pump {

// Generous: CI runs on a busy two-core machine under Wine. A deadline only
// catches a hang; no test measures time with it.
const DWORD DEADLINE = 30000;

// Dispatches what is queued now. Keys such as Tab, Enter and Escape go
// through the dialog manager of the dialog they are for, as in a dialog's
// own modal loop.
void dispatchPending();

// True when done() became true before timeoutMs passed.
bool until(const std::function<bool()>& done, DWORD timeoutMs = DEADLINE);

// Dispatches everything already queued, including what posted messages post
// in turn, by round-tripping a marker message through the thread's queue.
void drain(HWND window);

// Waits until the input sent so far has reached this thread's windows.
void settleInput();

}  // namespace pump
