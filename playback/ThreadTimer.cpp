#include "playback/ThreadTimer.h"

#include <vector>

#include "base/Exception.h"

namespace {
// The running timers of the process; the system knows them only by id.
std::vector<ThreadTimer*>& runningTimers() {
    static std::vector<ThreadTimer*> timers;
    return timers;
}
}  // namespace

ThreadTimer::ThreadTimer(Client& client) : client(client), id(0) {}

ThreadTimer::~ThreadTimer() {
    stop();
}

void ThreadTimer::start(UINT milliseconds) {
    stop();
    id = SetTimer(nullptr, 0, milliseconds, timerProc);
    if (!id) throwWin32Error(GetLastError());
    try {
        runningTimers().push_back(this);
    } catch (...) {
        stop();
        throwOutOfMemory();
    }
}

void ThreadTimer::stop() {
    if (!id) return;
    KillTimer(nullptr, id);
    id = 0;
    std::vector<ThreadTimer*>& timers = runningTimers();
    for (size_t i = 0; i < timers.size(); ++i) {
        if (timers[i] == this) {
            timers.erase(timers.begin() + i);
            break;
        }
    }
}

void CALLBACK ThreadTimer::timerProc(HWND, UINT, UINT_PTR timer, DWORD) {
    try {
        for (ThreadTimer* running : runningTimers()) {
            if (running->id == timer) {
                running->client.onTimer();
                return;
            }
        }
    } catch (Exception* e) {
        dispose(e);
    }
}
