#pragma once
#include <windows.h>

// Waits until event is set or milliseconds have passed. Meanwhile the
// messages that other threads send to this thread's windows are handled (a
// video renderer sends some to its window while it starts or stops, and
// would wait for ever on a thread that only sleeps); posted messages stay
// queued for the caller's own loop. True when the event was set in time;
// without an event it only waits out the time.
//
// The user's input cuts the wait short (false): a key or button pressed, or
// the pointer moved further than a show lets it, ends the show, which must
// not wait for Media Foundation to answer first. userCutWait() tells so.
bool waitHandlingSentMessages(HANDLE event, DWORD milliseconds);
// Whether a key or button press waits in this thread's queue, or the pointer
// has moved further than a show lets it since the last wait began.
bool userCutWait();
