// The left mouse button as a window gets it: messages posted with points of
// the window's client area, handled once the window's thread pumps them.
#pragma once
#include <windows.h>

// Pressed and released at a point.
inline void PostClickAt(HWND window, int x, int y)
{
    ::PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    ::PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

// Pressed at one point, moved with the button down to another, released there.
inline void PostDrag(HWND window, int fromX, int fromY, int toX, int toY)
{
    ::PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(fromX, fromY));
    ::PostMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(toX, toY));
    ::PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(toX, toY));
}
