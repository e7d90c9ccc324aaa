#pragma once
#include <windows.h>

// Waits until event is set or milliseconds have passed. Meanwhile the
// messages that other threads send to this thread's windows are handled (a
// video renderer sends some to its window while it starts or stops, and
// would wait for ever on a thread that only sleeps); posted messages stay
// queued for the caller's own loop. True when the event was set in time;
// without an event it only waits out the time.
bool waitHandlingSentMessages(HANDLE event, DWORD milliseconds);
