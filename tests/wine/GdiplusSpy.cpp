#include "GdiplusSpy.h"
#include <windows.h>
#include <gdiplus.h>

namespace {
int g_shutdownCalls = 0;
}

extern "C" VOID WINAPI __real_GdiplusShutdown(ULONG_PTR token);

extern "C" VOID WINAPI __wrap_GdiplusShutdown(ULONG_PTR token)
{
    ++g_shutdownCalls;
    __real_GdiplusShutdown(token);
}

int GdiplusShutdownCalls() { return g_shutdownCalls; }
