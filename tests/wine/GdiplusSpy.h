// Watches the program's GDI+ calls: the linker routes GdiplusShutdown and
// GdipCreateBitmapFromFile here, and they go on to GDI+.
#pragma once
#include <string>
#include <vector>

int GdiplusShutdownCalls();
// The files decoded for the screen since the last reset, in order (ANSI).
const std::vector<std::string>& DecodedFiles();
void ResetDecodedFiles();
// The screen bitmaps GDI+ made for the program since the last reset.
const std::vector<void*>& CreatedScreenBitmaps();
void ResetCreatedScreenBitmaps();
