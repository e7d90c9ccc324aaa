#pragma once
#include <windows.h>

// Real input as a user gives it, through SendInput: it reaches whichever
// window has the focus or lies under the pointer, in this process or another.
namespace userinput {

// Presses and releases a key, with Alt held down when asked.
void pressKey(WORD key, bool withAlt = false);

// Presses and releases a mouse button where the pointer is, for example
// clickButton(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP).
void clickButton(DWORD downFlag, DWORD upFlag, DWORD data = 0);

// Moves the pointer onto a point of a window's client area (the centre when
// none is given) and clicks the left button there.
void clickAt(HWND window, POINT clientPoint);
void click(HWND window);

// Puts the pointer at a screen position.
void placeCursor(int x, int y);
// Moves it by a few pixels as a mouse does: relative and, with the system's
// default settings, unaccelerated for small steps.
void moveMouse(int dx, int dy);

// Where placeCursor and the moves since should have put the pointer.
POINT cursorTarget();
// Under Wine the position that GetCursorPos reports may lag behind the moves
// for a while. Waits until the display itself reports the pointer where
// placeCursor and moveMouse put it; false when that did not happen before the
// deadline.
bool cursorSettled();

}  // namespace userinput
