// Not a test: makes the README's picture of the main window (a page of
// photos, one selected) when scripts/screenshot asks for it.
#include "KiruneProcess.h"
#include "TestImages.h"
#include <gdiplus.h>
#include <gtest/gtest.h>
#include <cmath>
#include <cstdio>
#include <vector>

std::string g_shotPath;   // --shot=

namespace {

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

// A landscape or portrait scene: sky, sun, hills, a lake.
DWORD Scene(int i, int x, int y, int w, int h)
{
    double u = static_cast<double>(x) / w, v = static_cast<double>(y) / h;
    double hill = 0.55 + 0.12 * std::sin(u * 6.0 + i) + 0.05 * std::sin(u * 17.0 + i * 2);
    double sunX = 0.25 + 0.5 * ((i * 37) % 10) / 10.0, sunY = 0.2;
    int r, g, b;
    if ((u - sunX) * (u - sunX) * w * w + (v - sunY) * (v - sunY) * h * h < (0.07 * w) * (0.07 * w)) {
        r = 255, g = 220 - i * 5, b = 90;
    } else if (v < hill) {
        r = static_cast<int>(90 + 100 * v + i * 8) % 256;
        g = static_cast<int>(150 + 80 * v);
        b = 235;
    } else if (v > 0.82) {
        r = 40, g = 90 + (i * 11) % 60, b = 170;
    } else {
        r = 40 + (i * 23) % 80;
        g = static_cast<int>(130 - 60 * (v - hill) + (i * 13) % 50);
        b = 50;
    }
    return 0xFF000000 | (r & 0xFF) << 16 | (g & 0xFF) << 8 | (b & 0xFF);
}

bool SaveScreenRect(const RECT& r, const std::string& path)
{
    int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = ::GetDC(nullptr);
    HDC mem = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = ::SelectObject(mem, bitmap);
    ::BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    ::SelectObject(mem, old);
    ::DeleteDC(mem);
    ::ReleaseDC(nullptr, screen);

    GpBitmap* image = nullptr;
    GdipCreateBitmapFromHBITMAP(bitmap, nullptr, &image);
    UINT count = 0, size = 0;
    GdipGetImageEncodersSize(&count, &size);
    std::vector<BYTE> buffer(size);
    ImageCodecInfo* codecs = reinterpret_cast<ImageCodecInfo*>(buffer.data());
    GdipGetImageEncoders(count, size, codecs);
    GpStatus status = GenericError;
    std::wstring wide(path.begin(), path.end());
    for (UINT i = 0; i < count; i++)
        if (lstrcmpiW(codecs[i].MimeType, L"image/png") == 0)
            status = GdipSaveImageToFile(image, wide.c_str(), &codecs[i].Clsid, nullptr);
    GdipDisposeImage(image);
    ::DeleteObject(bitmap);
    return status == Ok;
}

TEST(ReadmeShot, DISABLED_PageWithOneSelectedPhoto)
{
    ASSERT_FALSE(g_shotPath.empty()) << "--shot=PATH";
    TempFolder folder;
    std::string quoted;
    for (int i = 0; i < 14; i++) {
        char name[32];
        std::snprintf(name, sizeof name, "IMG_%04d.JPG", 1201 + i);
        bool upright = i % 4 == 2;
        int w = upright ? 300 : 400, h = upright ? 400 : 300;
        ASSERT_TRUE(SaveImage(folder.File(name), w, h, "image/jpeg",
                              [i, w, h](int x, int y) { return Scene(i, x, y, w, h); }));
        quoted += std::string("\"") + name + "\" ";
    }

    KiruneProcess kirune;
    ASSERT_TRUE(kirune.Start());
    HWND main = kirune.MainWindow();
    ASSERT_NE(nullptr, main);
    ClickButton(main, 1004);
    ASSERT_TRUE(ChooseFiles(kirune.Id(), folder.Path(), quoted));
    HWND cell = ::GetDlgItem(main, 1011);
    ClickAt(::GetDlgItem(cell, 0xFFFF), 30, 30);
    // The click is handled after the import has loaded the photos: wait for its band.
    const POINT band = ClientToScreenPoint(cell, 3, 3);
    ASSERT_TRUE(WaitUntil([band] { return ScreenPixel(band.x, band.y) == RGB(255, 0, 255); }));

    RECT r;
    ::GetWindowRect(main, &r);
    EXPECT_TRUE(SaveScreenRect(r, g_shotPath));
    ClickButton(main, 1021);
    EXPECT_TRUE(kirune.WaitExit(10000));
}

} // namespace
