// Watches the program's GDI+ calls: the linker routes GdiplusStartup,
// GdiplusShutdown, GdipCreateBitmapFromFile and GdipCreateHBITMAPFromBitmap
// here, and they go on to GDI+.
#pragma once
#include <string>
#include <vector>

int GdiplusShutdownCalls();
// "startup", "decode" (a file decoded for the screen) and "shutdown", in the
// order they happened since the test program started.
const std::vector<std::string>& GdiplusEvents();
// The files decoded for the screen since the last reset, in order (ANSI).
const std::vector<std::string>& DecodedFiles();
void ResetDecodedFiles();
// The screen bitmaps GDI+ made for the program since the last reset.
const std::vector<void*>& CreatedScreenBitmaps();
void ResetCreatedScreenBitmaps();
