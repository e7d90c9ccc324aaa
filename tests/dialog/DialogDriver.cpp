#include "DialogDriver.h"

#include "support/MessagePump.h"
#include "support/UserInput.h"

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

void click(HWND window) {
    userinput::click(window);
    pump::settleInput();
}

void clickAt(HWND window, POINT point) {
    userinput::clickAt(window, point);
    pump::settleInput();
}

void pressKey(WORD virtualKey) {
    userinput::pressKey(virtualKey);
    pump::settleInput();
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
