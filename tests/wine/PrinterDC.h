// A printer DC at a chosen resolution, made without the printer dialog.
#pragma once
#include <windows.h>

// The printer's default settings but the resolution asked for (Wine keeps
// 300 dpi as every printer's default whatever CUPS says); NULL on failure.
HDC PrinterDC(const char* name, int dpi);
