#include "playback/foundation/ThreadTimer.h"

#include "base/Exception.h"

namespace {
// The running timers of the process, newest first; the system knows them
// only by id.
ThreadTimer* firstRunning = nullptr;
}  // namespace

ThreadTimer::ThreadTimer(Client& client) : client(client), id(0), next(nullptr) {}

ThreadTimer::~ThreadTimer() {
    stop();
}

void ThreadTimer::start(UINT milliseconds) {
    stop();
    id = SetTimer(nullptr, 0, milliseconds, timerProc);
    if (!id) throwWin32Error(GetLastError());
    next = firstRunning;
    firstRunning = this;
}

void ThreadTimer::stop() {
    if (!id) return;
    KillTimer(nullptr, id);
    id = 0;
    for (ThreadTimer** link = &firstRunning; *link; link = &(*link)->next) {
        if (*link == this) {
            *link = next;
            break;
        }
    }
    next = nullptr;
}

void CALLBACK ThreadTimer::timerProc(HWND, UINT, UINT_PTR timer, DWORD) {
    try {
        for (ThreadTimer* running = firstRunning; running; running = running->next) {
            if (running->id == timer) {
                running->client.onTimer();
                return;
            }
        }
    } catch (Exception* e) {
        dispose(e);
    }
}
