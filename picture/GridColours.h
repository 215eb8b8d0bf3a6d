// The colours of the grid of thumbnail cells.
#pragma once
#include <windows.h>

// A cell without the selection: its band, the blank picture of a cell
// without a photo (res/blank.bmp, which res/make_images.py draws in the
// grey of this line), and the rest of a centred picture's control.
const COLORREF kCellGrey = RGB(192, 192, 192);
// The band of the selected cell.
const COLORREF kSelectedMagenta = RGB(255, 0, 255);
