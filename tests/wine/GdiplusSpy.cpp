#include "GdiplusSpy.h"
#include <windows.h>
#include <gdiplus.h>

using namespace Gdiplus;

namespace {
int g_shutdownCalls = 0;
std::vector<std::string> g_events;
std::vector<std::string> g_decoded;
std::vector<void*> g_screenBitmaps;
}

extern "C" VOID WINAPI __real_GdiplusShutdown(ULONG_PTR token);
extern "C" Status WINAPI __real_GdiplusStartup(ULONG_PTR* token, const GdiplusStartupInput* input,
                                               GdiplusStartupOutput* output);
extern "C" GpStatus WINAPI __real_GdipCreateBitmapFromFile(GDIPCONST WCHAR* path, GpBitmap** bitmap);

extern "C" GpStatus WINAPI __real_GdipCreateHBITMAPFromBitmap(GpBitmap* bitmap, HBITMAP* hbm, ARGB background);

extern "C" GpStatus WINAPI __wrap_GdipCreateHBITMAPFromBitmap(GpBitmap* bitmap, HBITMAP* hbm, ARGB background)
{
    GpStatus status = __real_GdipCreateHBITMAPFromBitmap(bitmap, hbm, background);
    if (hbm && *hbm)
        g_screenBitmaps.push_back(*hbm);
    return status;
}

extern "C" Status WINAPI __wrap_GdiplusStartup(ULONG_PTR* token, const GdiplusStartupInput* input,
                                               GdiplusStartupOutput* output)
{
    g_events.push_back("startup");
    return __real_GdiplusStartup(token, input, output);
}

extern "C" VOID WINAPI __wrap_GdiplusShutdown(ULONG_PTR token)
{
    g_events.push_back("shutdown");
    ++g_shutdownCalls;
    __real_GdiplusShutdown(token);
}

extern "C" GpStatus WINAPI __wrap_GdipCreateBitmapFromFile(GDIPCONST WCHAR* path, GpBitmap** bitmap)
{
    char narrow[1024] = "";
    ::WideCharToMultiByte(CP_ACP, 0, path, -1, narrow, sizeof narrow, nullptr, nullptr);
    g_decoded.push_back(narrow);
    g_events.push_back("decode");
    return __real_GdipCreateBitmapFromFile(path, bitmap);
}

int GdiplusShutdownCalls() { return g_shutdownCalls; }
const std::vector<std::string>& GdiplusEvents() { return g_events; }
const std::vector<std::string>& DecodedFiles() { return g_decoded; }
void ResetDecodedFiles() { g_decoded.clear(); }
const std::vector<void*>& CreatedScreenBitmaps() { return g_screenBitmaps; }
void ResetCreatedScreenBitmaps() { g_screenBitmaps.clear(); }
