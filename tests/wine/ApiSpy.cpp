#include "ApiSpy.h"
#include "ImportSlot.h"
#include <gdiplus.h>
#include <shellapi.h>
#include <cderr.h>
#include <cstdarg>
#include <cstdio>
#include <vector>

using namespace Gdiplus;

bool ApiSpy::s_failCreateGraphics = false;
float ApiSpy::s_dpi = -1;
int ApiSpy::s_startDocResult = 0;
DWORD ApiSpy::s_startDocError = 0;
int ApiSpy::s_startDocsToPass = 0;
std::string ApiSpy::s_failPrintCall;
int ApiSpy::s_failDraws = 0;
bool ApiSpy::s_namesTooLong = false;
bool ApiSpy::s_otherDrives = false;

namespace {
void InstallSpies();

bool g_recording = false;
std::vector<SpyCall> g_calls;

void Record(const char* name, const std::string& args, void* handle, void* made = nullptr)
{
    if (g_recording)
        g_calls.push_back({ name, args, handle, made });
}

std::string Format(const char* fmt, ...)
{
    char text[512];
    va_list ap;
    va_start(ap, fmt);
    std::vsnprintf(text, sizeof text, fmt, ap);
    va_end(ap);
    return text;
}

// "null", or the pointer in hex: the same text on 32 and 64 bits for null.
std::string Pointer(const void* p)
{
    return p ? Format("%p", p) : "null";
}

std::string Ansi(const WCHAR* wide)
{
    if (!wide)
        return "(null)";
    char text[1024] = "";
    ::WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    return text;
}
} // namespace

void ApiSpy::Start()
{
    InstallSpies();
    g_calls.clear();
    s_failCreateGraphics = false;
    s_dpi = -1;
    s_startDocResult = 0;
    s_startDocError = 0;
    s_startDocsToPass = 0;
    s_failPrintCall.clear();
    s_failDraws = 0;
    s_namesTooLong = false;
    s_otherDrives = false;
    g_recording = true;
}

void ApiSpy::Stop()
{
    g_recording = false;
}

const std::vector<SpyCall>& ApiSpy::Calls() { return g_calls; }

std::vector<std::string> ApiSpy::Names()
{
    std::vector<std::string> names;
    for (const SpyCall& c : g_calls)
        names.push_back(c.name);
    return names;
}

std::vector<std::string> ApiSpy::Names(const std::vector<std::string>& kinds)
{
    std::vector<std::string> names;
    for (const SpyCall& c : g_calls)
        for (const std::string& kind : kinds)
            if (c.name == kind)
                names.push_back(c.name);
    return names;
}

std::vector<std::string> ApiSpy::Args(const std::string& name)
{
    std::vector<std::string> args;
    for (const SpyCall& c : g_calls)
        if (c.name == name)
            args.push_back(c.args);
    return args;
}

const SpyCall* ApiSpy::Find(const std::string& name)
{
    for (const SpyCall& c : g_calls)
        if (c.name == name)
            return &c;
    return nullptr;
}

int ApiSpy::Count(const std::string& name)
{
    int n = 0;
    for (const SpyCall& c : g_calls)
        n += c.name == name;
    return n;
}

std::vector<std::string> ApiSpy::Unreleased()
{
    std::vector<std::string> left;
    for (size_t i = 0; i < g_calls.size(); i++) {
        const SpyCall& made = g_calls[i];
        const char* release = made.name == "GdipCreateFromHDC" ? "GdipDeleteGraphics"
                            : made.name == "GdipLoadImageFromFile" || made.name == "GdipCloneBitmapAreaI"
                                ? "GdipDisposeImage" : nullptr;
        if (!release || !made.made)
            continue;
        bool released = false;
        for (size_t j = i + 1; j < g_calls.size() && !released; j++)
            released = g_calls[j].name == release && g_calls[j].handle == made.made;
        if (!released)
            left.push_back(made.name + " " + made.args);
    }
    return left;
}

// ------------------------------------------------------------- spies

// Each spied function is reached through its slot in this program's import
// table (the GDI+ functions too, through their thunks): the spy takes the
// slot's place, and calls the real function through the pointer it held.

#define SPIED(ret, name, argBytes, ...) \
    extern "C" void* imp_##name __asm__(IMPORT_SLOT(name, argBytes)); \
    typedef ret (WINAPI* name##_fn)(__VA_ARGS__); \
    name##_fn real_##name = nullptr;

SPIED(Status, GdiplusStartup, 12, ULONG_PTR*, const GdiplusStartupInput*, GdiplusStartupOutput*)
SPIED(VOID, GdiplusShutdown, 4, ULONG_PTR)
SPIED(GpStatus, GdipCreateBitmapFromFile, 8, const WCHAR*, GpBitmap**)
SPIED(GpStatus, GdipCreateHBITMAPFromBitmap, 12, GpBitmap*, HBITMAP*, ARGB)
SPIED(GpStatus, GdipCreateFromHDC, 8, HDC, GpGraphics**)
SPIED(GpStatus, GdipDeleteGraphics, 4, GpGraphics*)
SPIED(GpStatus, GdipSetPageUnit, 8, GpGraphics*, GpUnit)
SPIED(GpStatus, GdipGetDpiX, 8, GpGraphics*, REAL*)
SPIED(GpStatus, GdipGetDpiY, 8, GpGraphics*, REAL*)
SPIED(GpStatus, GdipLoadImageFromFile, 8, const WCHAR*, GpImage**)
SPIED(GpStatus, GdipDisposeImage, 4, GpImage*)
SPIED(GpStatus, GdipGetImageWidth, 8, GpImage*, UINT*)
SPIED(GpStatus, GdipGetImageHeight, 8, GpImage*, UINT*)
SPIED(GpStatus, GdipImageRotateFlip, 8, GpImage*, RotateFlipType)
SPIED(GpStatus, GdipCloneBitmapAreaI, 28, INT, INT, INT, INT, PixelFormat, GpBitmap*, GpBitmap**)
SPIED(GpStatus, GdipDrawImageRectRectI, 56, GpGraphics*, GpImage*,
      INT, INT, INT, INT, INT, INT, INT, INT, GpUnit, const GpImageAttributes*, DrawImageAbort, VOID*)
SPIED(int, StartDocW, 8, HDC, const DOCINFOW*)
SPIED(int, EndDoc, 4, HDC)
SPIED(int, AbortDoc, 4, HDC)
SPIED(int, StartPage, 4, HDC)
SPIED(int, EndPage, 4, HDC)
SPIED(BOOL, DeleteDC, 4, HDC)
SPIED(BOOL, PrintDlgW, 4, LPPRINTDLGW)
SPIED(BOOL, GetOpenFileNameW, 4, LPOPENFILENAMEW)
SPIED(DWORD, CommDlgExtendedError, 0)
SPIED(BOOL, DrawIcon, 16, HDC, int, int, HICON)
SPIED(void, Sleep, 4, DWORD)
SPIED(DWORD, GetLogicalDriveStringsA, 8, DWORD, LPSTR)
SPIED(UINT, GetDriveTypeA, 4, LPCSTR)
SPIED(HANDLE, FindFirstFileA, 8, LPCSTR, LPWIN32_FIND_DATAA)
SPIED(DWORD_PTR, SHGetFileInfoA, 20, LPCSTR, DWORD, SHFILEINFOA*, UINT, UINT)

namespace {

Status WINAPI SpyGdiplusStartup(ULONG_PTR* token, const GdiplusStartupInput* input, GdiplusStartupOutput* output)
{
    Record("GdiplusStartup", "", nullptr);
    return real_GdiplusStartup(token, input, output);
}

VOID WINAPI SpyGdiplusShutdown(ULONG_PTR token)
{
    Record("GdiplusShutdown", "", nullptr);
    real_GdiplusShutdown(token);
}

// A file decoded for the screen, and the screen bitmap made of it.
GpStatus WINAPI SpyCreateBitmapFromFile(const WCHAR* path, GpBitmap** bitmap)
{
    GpStatus status = real_GdipCreateBitmapFromFile(path, bitmap);
    Record("GdipCreateBitmapFromFile", Ansi(path), nullptr, status == Ok ? *bitmap : nullptr);
    return status;
}

GpStatus WINAPI SpyCreateHBITMAPFromBitmap(GpBitmap* bitmap, HBITMAP* hbm, ARGB background)
{
    GpStatus status = real_GdipCreateHBITMAPFromBitmap(bitmap, hbm, background);
    Record("GdipCreateHBITMAPFromBitmap", "", bitmap, hbm ? *hbm : nullptr);
    return status;
}

GpStatus WINAPI SpyCreateFromHDC(HDC hdc, GpGraphics** graphics)
{
    GpStatus status = InvalidParameter;
    if (ApiSpy::s_failCreateGraphics && g_recording)
        *graphics = nullptr;   // as on a device GDI+ cannot draw on
    else
        status = real_GdipCreateFromHDC(hdc, graphics);
    Record("GdipCreateFromHDC", "", hdc, *graphics);
    return status;
}

GpStatus WINAPI SpyDeleteGraphics(GpGraphics* graphics)
{
    Record("GdipDeleteGraphics", "", graphics);
    return real_GdipDeleteGraphics(graphics);
}

GpStatus WINAPI SpySetPageUnit(GpGraphics* graphics, GpUnit unit)
{
    Record("GdipSetPageUnit", Format("%d", unit), graphics);
    return real_GdipSetPageUnit(graphics, unit);
}

GpStatus WINAPI SpyGetDpiX(GpGraphics* graphics, REAL* dpi)
{
    GpStatus status = real_GdipGetDpiX(graphics, dpi);
    if (g_recording && ApiSpy::s_dpi >= 0 && status == Ok)
        *dpi = ApiSpy::s_dpi;
    Record("GdipGetDpiX", "", graphics);
    return status;
}

GpStatus WINAPI SpyGetDpiY(GpGraphics* graphics, REAL* dpi)
{
    GpStatus status = real_GdipGetDpiY(graphics, dpi);
    if (g_recording && ApiSpy::s_dpi >= 0 && status == Ok)
        *dpi = ApiSpy::s_dpi;
    Record("GdipGetDpiY", "", graphics);
    return status;
}

GpStatus WINAPI SpyLoadImageFromFile(const WCHAR* path, GpImage** image)
{
    GpStatus status = real_GdipLoadImageFromFile(path, image);
    Record("GdipLoadImageFromFile", Ansi(path), nullptr, status == Ok ? *image : nullptr);
    return status;
}

GpStatus WINAPI SpyDisposeImage(GpImage* image)
{
    Record("GdipDisposeImage", "", image);
    return real_GdipDisposeImage(image);
}

GpStatus WINAPI SpyGetImageWidth(GpImage* image, UINT* width)
{
    Record("GdipGetImageWidth", Format("%u", *width), image);   // what the variable held before
    return real_GdipGetImageWidth(image, width);
}

GpStatus WINAPI SpyGetImageHeight(GpImage* image, UINT* height)
{
    Record("GdipGetImageHeight", Format("%u", *height), image);
    return real_GdipGetImageHeight(image, height);
}

GpStatus WINAPI SpyImageRotateFlip(GpImage* image, RotateFlipType type)
{
    Record("GdipImageRotateFlip", Format("%d", type), image);
    return real_GdipImageRotateFlip(image, type);
}

GpStatus WINAPI SpyCloneBitmapAreaI(INT x, INT y, INT w, INT h, PixelFormat format, GpBitmap* source,
                                    GpBitmap** copy)
{
    GpStatus status = real_GdipCloneBitmapAreaI(x, y, w, h, format, source, copy);
    Record("GdipCloneBitmapAreaI", Format("%d %d %d %d format 0x%X", x, y, w, h, format), source,
           status == Ok ? *copy : nullptr);
    return status;
}

GpStatus WINAPI SpyDrawImageRectRectI(GpGraphics* graphics, GpImage* image,
    INT dx, INT dy, INT dw, INT dh, INT sx, INT sy, INT sw, INT sh, GpUnit unit,
    const GpImageAttributes* attributes, DrawImageAbort abort, VOID* data)
{
    Record("GdipDrawImageRectRectI",
           Format("%d %d %d %d from %d %d %d %d unit %d attributes %s abort %s data %s",
                  dx, dy, dw, dh, sx, sy, sw, sh, unit, Pointer(attributes).c_str(),
                  Pointer(reinterpret_cast<void*>(abort)).c_str(), Pointer(data).c_str()),
           graphics, image);
    if (ApiSpy::s_failDraws > 0 && g_recording) {
        --ApiSpy::s_failDraws;
        return OutOfMemory;
    }
    return real_GdipDrawImageRectRectI(graphics, image, dx, dy, dw, dh, sx, sy, sw, sh, unit,
                                       attributes, abort, data);
}

int WINAPI SpyStartDoc(HDC hdc, const DOCINFOW* di)
{
    Record("StartDoc",
           Format("size %d name %s output %s datatype %s type %lu", di->cbSize == sizeof(DOCINFOW),
                  Ansi(di->lpszDocName).c_str(), Ansi(di->lpszOutput).c_str(), Ansi(di->lpszDatatype).c_str(),
                  di->fwType),
           hdc);
    if (ApiSpy::s_startDocResult && g_recording && ApiSpy::s_startDocsToPass-- <= 0) {
        ::SetLastError(ApiSpy::s_startDocError);
        return ApiSpy::s_startDocResult;
    }
    return real_StartDocW(hdc, di);
}

// A document StartDoc was made to let start has no print system behind it.
bool NoPrintSystem() { return g_recording && ApiSpy::s_startDocResult > 0; }

// True once for the call named to fail.
bool FailsNow(const char* name)
{
    if (!g_recording || ApiSpy::s_failPrintCall != name)
        return false;
    ApiSpy::s_failPrintCall.clear();
    return true;
}

int WINAPI SpyAbortDoc(HDC hdc)
{
    Record("AbortDoc", "", hdc);
    return real_AbortDoc(hdc);
}

// A page or document end that fails has its job ended by GDI, unseen by
// the program.
int PrintCall(const char* name, HDC hdc, StartPage_fn real)
{
    Record(name, "", hdc);
    if (!FailsNow(name))
        return NoPrintSystem() ? 1 : real(hdc);
    real_AbortDoc(hdc);
    return SP_ERROR;
}

int WINAPI SpyStartPage(HDC hdc) { return PrintCall("StartPage", hdc, real_StartPage); }
int WINAPI SpyEndPage(HDC hdc) { return PrintCall("EndPage", hdc, real_EndPage); }
int WINAPI SpyEndDoc(HDC hdc) { return PrintCall("EndDoc", hdc, real_EndDoc); }

BOOL WINAPI SpyDeleteDC(HDC hdc)
{
    Record("DeleteDC", "", hdc);
    return real_DeleteDC(hdc);
}

BOOL WINAPI SpyPrintDlg(LPPRINTDLGW pd)
{
    Record("PrintDlg", Format("flags 0x%lX", pd->Flags), pd->hwndOwner);
    BOOL ok = real_PrintDlgW(pd);
    if (g_recording && ok)
        g_calls.back().made = pd->hDC;
    return ok;
}

// Names too long: the dialog fails without showing itself.
BOOL WINAPI SpyGetOpenFileName(LPOPENFILENAMEW ofn)
{
    Record("GetOpenFileNameW", Format("buffer %lu", ofn->nMaxFile), ofn->hwndOwner);
    return !(ApiSpy::s_namesTooLong && g_recording) && real_GetOpenFileNameW(ofn);
}

DWORD WINAPI SpyCommDlgExtendedError()
{
    return ApiSpy::s_namesTooLong && g_recording ? FNERR_BUFFERTOOSMALL : real_CommDlgExtendedError();
}

BOOL WINAPI SpyDrawIcon(HDC hdc, int x, int y, HICON icon)
{
    Record("DrawIcon", Format("%d %d", x, y), hdc, icon);
    return real_DrawIcon(hdc, x, y, icon);
}

void WINAPI SpySleep(DWORD ms)
{
    Record("Sleep", Format("%lu", ms), nullptr);
    real_Sleep(ms);
}

const struct {
    char root[4];
    UINT type;
} kOtherDrives[] = { { "Q:\\", DRIVE_CDROM }, { "R:\\", DRIVE_REMOTE }, { "S:\\", DRIVE_REMOVABLE },
                     { "U:\\", DRIVE_UNKNOWN } };

DWORD WINAPI SpyGetLogicalDriveStrings(DWORD size, LPSTR roots)
{
    DWORD length = real_GetLogicalDriveStringsA(size, roots);
    for (const auto& drive : kOtherDrives)
        if (ApiSpy::s_otherDrives && g_recording && length && length + sizeof drive.root < size) {
            ::lstrcpyA(roots + length, drive.root);   // each root ends in a NUL, the list in one more
            length += sizeof drive.root;
            roots[length] = '\0';
        }
    return length;
}

UINT WINAPI SpyGetDriveType(LPCSTR root)
{
    for (const auto& drive : kOtherDrives)
        if (ApiSpy::s_otherDrives && g_recording && root && ::lstrcmpiA(root, drive.root) == 0)
            return drive.type;
    return real_GetDriveTypeA(root);
}

HANDLE WINAPI SpyFindFirstFile(LPCSTR pattern, LPWIN32_FIND_DATAA found)
{
    Record("FindFirstFileA", pattern ? pattern : "(null)", nullptr);
    return real_FindFirstFileA(pattern, found);
}

DWORD_PTR WINAPI SpySHGetFileInfo(LPCSTR path, DWORD attributes, SHFILEINFOA* info, UINT size, UINT flags)
{
    Record("SHGetFileInfoA", std::string(path ? path : "(null)") + (flags & SHGFI_USEFILEATTRIBUTES ? " unopened" : ""),
           nullptr);
    return real_SHGetFileInfoA(path, attributes, info, size, flags);
}

template <typename Fn>
void Install(void*& slot, Fn& real, Fn spy)
{
    real = PatchImportSlot(slot, spy);
}

void InstallSpies()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    Install(imp_GdiplusStartup, real_GdiplusStartup, &SpyGdiplusStartup);
    Install(imp_GdiplusShutdown, real_GdiplusShutdown, &SpyGdiplusShutdown);
    Install(imp_GdipCreateBitmapFromFile, real_GdipCreateBitmapFromFile, &SpyCreateBitmapFromFile);
    Install(imp_GdipCreateHBITMAPFromBitmap, real_GdipCreateHBITMAPFromBitmap, &SpyCreateHBITMAPFromBitmap);
    Install(imp_GdipCreateFromHDC, real_GdipCreateFromHDC, &SpyCreateFromHDC);
    Install(imp_GdipDeleteGraphics, real_GdipDeleteGraphics, &SpyDeleteGraphics);
    Install(imp_GdipSetPageUnit, real_GdipSetPageUnit, &SpySetPageUnit);
    Install(imp_GdipGetDpiX, real_GdipGetDpiX, &SpyGetDpiX);
    Install(imp_GdipGetDpiY, real_GdipGetDpiY, &SpyGetDpiY);
    Install(imp_GdipLoadImageFromFile, real_GdipLoadImageFromFile, &SpyLoadImageFromFile);
    Install(imp_GdipDisposeImage, real_GdipDisposeImage, &SpyDisposeImage);
    Install(imp_GdipGetImageWidth, real_GdipGetImageWidth, &SpyGetImageWidth);
    Install(imp_GdipGetImageHeight, real_GdipGetImageHeight, &SpyGetImageHeight);
    Install(imp_GdipImageRotateFlip, real_GdipImageRotateFlip, &SpyImageRotateFlip);
    Install(imp_GdipCloneBitmapAreaI, real_GdipCloneBitmapAreaI, &SpyCloneBitmapAreaI);
    Install(imp_GdipDrawImageRectRectI, real_GdipDrawImageRectRectI, &SpyDrawImageRectRectI);
    Install(imp_StartDocW, real_StartDocW, &SpyStartDoc);
    Install(imp_EndDoc, real_EndDoc, &SpyEndDoc);
    Install(imp_AbortDoc, real_AbortDoc, &SpyAbortDoc);
    Install(imp_StartPage, real_StartPage, &SpyStartPage);
    Install(imp_EndPage, real_EndPage, &SpyEndPage);
    Install(imp_DeleteDC, real_DeleteDC, &SpyDeleteDC);
    Install(imp_PrintDlgW, real_PrintDlgW, &SpyPrintDlg);
    Install(imp_GetOpenFileNameW, real_GetOpenFileNameW, &SpyGetOpenFileName);
    Install(imp_CommDlgExtendedError, real_CommDlgExtendedError, &SpyCommDlgExtendedError);
    Install(imp_DrawIcon, real_DrawIcon, &SpyDrawIcon);
    Install(imp_Sleep, real_Sleep, &SpySleep);
    Install(imp_GetLogicalDriveStringsA, real_GetLogicalDriveStringsA, &SpyGetLogicalDriveStrings);
    Install(imp_GetDriveTypeA, real_GetDriveTypeA, &SpyGetDriveType);
    Install(imp_FindFirstFileA, real_FindFirstFileA, &SpyFindFirstFile);
    Install(imp_SHGetFileInfoA, real_SHGetFileInfoA, &SpySHGetFileInfo);
}

} // namespace
