// Counts the program's calls of GdiplusShutdown (the linker routes them here).
#pragma once

int GdiplusShutdownCalls();
