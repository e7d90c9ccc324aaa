#include "DialogDriver.h"

namespace driver {
namespace {

struct Armed {
    UINT_PTR timer;
    Action action;
    std::vector<HWND> known;
    DWORD armedAt;
    DWORD timeoutMs;
};

std::vector<Armed*> armedList;
bool anyLapsed = false;

BOOL CALLBACK collectDialog(HWND window, LPARAM list) {
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpA(name, "#32770") == 0 && IsWindowVisible(window)) {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    }
    return TRUE;
}

std::vector<HWND> openDialogs() {
    std::vector<HWND> dialogs;
    EnumThreadWindows(GetCurrentThreadId(), collectDialog, reinterpret_cast<LPARAM>(&dialogs));
    return dialogs;
}

void CALLBACK onTimer(HWND, UINT, UINT_PTR timer, DWORD) {
    for (size_t i = 0; i < armedList.size(); ++i) {
        Armed* armed = armedList[i];
        if (armed->timer != timer) continue;
        for (HWND dialog : openDialogs()) {
            bool known = false;
            for (HWND old : armed->known) known = known || old == dialog;
            if (known || !IsWindowEnabled(dialog)) continue;
            KillTimer(nullptr, timer);
            armedList.erase(armedList.begin() + i);
            armed->action(dialog);
            delete armed;
            return;
        }
        if (GetTickCount() - armed->armedAt > armed->timeoutMs) {
            KillTimer(nullptr, timer);
            armedList.erase(armedList.begin() + i);
            delete armed;
            anyLapsed = true;
        }
        return;
    }
}

// Dispatches one message as a dialog's modal loop does: keys such as Tab,
// Enter and Escape go through the dialog manager of the dialog they are for.
void dispatch(MSG& message) {
    HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    char name[16] = {};
    if (root) GetClassNameA(root, name, sizeof name);
    if (lstrcmpA(name, "#32770") == 0 && IsDialogMessageA(root, &message)) return;
    TranslateMessage(&message);
    DispatchMessageA(&message);
}

}  // namespace

void whenDialogAppears(Action action, DWORD timeoutMs) {
    Armed* armed = new Armed{0, std::move(action), openDialogs(), GetTickCount(), timeoutMs};
    armed->timer = SetTimer(nullptr, 0, 30, onTimer);
    armedList.push_back(armed);
}

bool lapsed() { return anyLapsed; }

void reset() {
    for (Armed* armed : armedList) {
        KillTimer(nullptr, armed->timer);
        delete armed;
    }
    armedList.clear();
    anyLapsed = false;
}

void pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) dispatch(message);
}

bool pumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        pump();
    }
    return true;
}

void click(HWND window) {
    RECT box;
    GetClientRect(window, &box);
    clickAt(window, POINT{(box.left + box.right) / 2, (box.top + box.bottom) / 2});
}

void clickAt(HWND window, POINT point) {
    ClientToScreen(window, &point);
    const int x = point.x;
    const int y = point.y;
    const int width = GetSystemMetrics(SM_CXSCREEN) - 1;
    const int height = GetSystemMetrics(SM_CYSCREEN) - 1;
    INPUT inputs[3] = {};
    for (INPUT& input : inputs) {
        input.type = INPUT_MOUSE;
        input.mi.dx = MulDiv(x, 65535, width);
        input.mi.dy = MulDiv(y, 65535, height);
    }
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
    SendInput(3, inputs, sizeof(INPUT));
    settleInput();
}

void pressKey(WORD virtualKey) {
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = inputs[1].ki.wVk = virtualKey;
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
    settleInput();
}

// Posted messages overtake input, timer messages come after it: once a
// timer set now has fired, the input sent before has been dispatched.
void settleInput() {
    for (int round = 0; round < 2; ++round) {
        const UINT_PTR timer = SetTimer(nullptr, 0, 1, nullptr);
        const DWORD start = GetTickCount();
        bool fired = false;
        while (!fired && GetTickCount() - start < 10000) {
            MSG message;
            if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
                MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
                continue;
            }
            if (message.hwnd == nullptr && message.message == WM_TIMER && message.wParam == timer) {
                fired = true;
                continue;
            }
            dispatch(message);
        }
        KillTimer(nullptr, timer);
    }
}

std::string utf8(const wchar_t* text) {
    char buffer[1024] = {};
    WideCharToMultiByte(CP_UTF8, 0, text, -1, buffer, sizeof buffer, nullptr, nullptr);
    return buffer;
}

std::string wideText(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return utf8(text);
}

}  // namespace driver
