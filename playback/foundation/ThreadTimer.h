#pragma once
#include <windows.h>

// A timer of the thread that starts it, with no window: the thread's message
// loop dispatches it, so that the client's onTimer() runs on that thread.
class ThreadTimer {
public:
    class Client {
    public:
        virtual void onTimer() = 0;

    protected:
        ~Client() = default;
    };

    explicit ThreadTimer(Client& client);
    ~ThreadTimer();  // stops it

    void start(UINT milliseconds);
    void stop();
    bool running() const { return id != 0; }

private:
    ThreadTimer(const ThreadTimer&) = delete;
    ThreadTimer& operator=(const ThreadTimer&) = delete;
    static void CALLBACK timerProc(HWND window, UINT message, UINT_PTR timer, DWORD time);

    Client& client;
    UINT_PTR id;
    ThreadTimer* next;  // the next running timer of the process
};
