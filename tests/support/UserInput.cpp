#include "support/UserInput.h"

#include "support/MessagePump.h"

namespace userinput {

namespace {

// Where the last placement and moves should have put the pointer.
POINT expectedCursor = {0, 0};
// Wine answers GetCursorPos from its own record of the moves until this long
// after the last input, and only then from the display server, which may lag
// behind them (or not follow at all while another program holds the
// pointer). The program under test may look after that, so only the
// display's answer tells where it will see the pointer.
const LONG OWN_RECORD_MILLISECONDS = 100;

bool answeredByTheDisplay() {
    LASTINPUTINFO last = {sizeof last, 0};
    return GetLastInputInfo(&last) && static_cast<LONG>(GetTickCount() - last.dwTime) > OWN_RECORD_MILLISECONDS;
}

void send(INPUT* inputs, UINT count) {
    SendInput(count, inputs, sizeof(INPUT));
}

}  // namespace

void pressKey(WORD key, bool withAlt) {
    INPUT inputs[4] = {};
    UINT count = 0;
    auto add = [&](WORD vk, DWORD flags) {
        inputs[count].type = INPUT_KEYBOARD;
        inputs[count].ki.wVk = vk;
        inputs[count].ki.dwFlags = flags;
        ++count;
    };
    if (withAlt) add(VK_MENU, 0);
    add(key, 0);
    add(key, KEYEVENTF_KEYUP);
    if (withAlt) add(VK_MENU, KEYEVENTF_KEYUP);
    send(inputs, count);
}

void clickButton(DWORD downFlag, DWORD upFlag, DWORD data) {
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = downFlag;
    inputs[1].mi.dwFlags = upFlag;
    inputs[0].mi.mouseData = inputs[1].mi.mouseData = data;
    send(inputs, 2);
}

void clickAt(HWND window, POINT point) {
    ClientToScreen(window, &point);
    const int width = GetSystemMetrics(SM_CXSCREEN) - 1;
    const int height = GetSystemMetrics(SM_CYSCREEN) - 1;
    INPUT inputs[3] = {};
    for (INPUT& input : inputs) {
        input.type = INPUT_MOUSE;
        input.mi.dx = MulDiv(point.x, 65535, width);
        input.mi.dy = MulDiv(point.y, 65535, height);
    }
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
    send(inputs, 3);
    expectedCursor = point;
}

void click(HWND window) {
    RECT box;
    GetClientRect(window, &box);
    clickAt(window, POINT{(box.left + box.right) / 2, (box.top + box.bottom) / 2});
}

void placeCursor(int x, int y) {
    SetCursorPos(x, y);
    expectedCursor = {x, y};
}

void moveMouse(int dx, int dy) {
    expectedCursor.x += dx;
    expectedCursor.y += dy;
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = dx;
    input.mi.dy = dy;
    input.mi.dwFlags = MOUSEEVENTF_MOVE;
    send(&input, 1);
}

POINT cursorTarget() {
    return expectedCursor;
}

bool cursorSettled() {
    return pump::until([] {
        POINT cursor;
        return answeredByTheDisplay() && GetCursorPos(&cursor) && cursor.x == expectedCursor.x &&
               cursor.y == expectedCursor.y;
    });
}

}  // namespace userinput
