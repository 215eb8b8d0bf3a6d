// Image files made by the tests themselves, through the GDI+ encoders.
#pragma once
#include <windows.h>
#include "afxtypes.h"
#include <functional>
#include <ostream>
#include <string>

// Lets the tests' failure messages show rectangles.
inline void PrintTo(const CRect& r, std::ostream* os)
{
    *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

// Pixel colour as 0xAARRGGBB.
typedef std::function<DWORD(int x, int y)> PixelFn;

// An opaque colour as the images take it (0xAARRGGBB) and as GDI reads it back.
inline DWORD Argb(COLORREF c) { return 0xFF000000 | GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c); }
inline COLORREF Rgb(DWORD argb) { return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF); }

// A fresh folder under the temporary folder, removed with all its contents
// at the end. Paths are in code page 932, relative ones below the folder.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder's full path as the file system spells it, without a trailing backslash.
    const std::string& Path() const { return m_path; }
    std::string File(const std::string& relative) const { return m_path + "\\" + relative; }
    // A name no ANSI code page may spell: the path in UTF-16.
    std::wstring File(const std::wstring& relative) const;
    std::string operator/(const std::string& relative) const { return File(relative); }
    bool MakeFolder(const std::string& relative, DWORD attributes = 0) const;
    bool MakeFile(const std::string& relative, DWORD attributes = 0) const;

private:
    std::string m_path;
};

// A photo in four quadrants split at (sx, sy): red top-left, lime top-right,
// blue bottom-left, yellow bottom-right.
PixelFn Quadrants(int sx, int sy);
// A Unix path as a path on the Z: drive Wine maps the root to; other paths as they are.
std::string WindowsPath(const std::string& path);
// Text of the ANSI code page in UTF-16, as the program keeps photo paths.
std::wstring Wide(const std::string& ansi);

// Writes an image file; the format is a MIME type ("image/png", "image/jpeg",
// "image/bmp", "image/gif", "image/tiff"). FALSE when GDI+ could not.
bool SaveImage(const std::string& path, int width, int height, const char* mimeType, const PixelFn& pixel);
bool SaveImage(const std::wstring& path, int width, int height, const char* mimeType, const PixelFn& pixel);
// A GIF written byte by byte (the platform's GIF encoder is not to be
// trusted): each pixel takes the nearest of black, red, green, blue, white.
bool SaveGif(const std::string& path, int width, int height, const PixelFn& pixel);
// A plain image of one colour.
bool SaveSolid(const std::string& path, int width, int height, const char* mimeType, DWORD argb);
// Writes bytes as they are (damaged files, empty files).
bool SaveBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);
// A JPEG whose EXIF orientation tag says "turn 90 degrees clockwise to view".
bool SaveJpegWithOrientation(const std::string& path, int width, int height, const PixelFn& pixel, WORD orientation);

// The colour of a pixel of a bitmap handle, or CLR_INVALID.
COLORREF BitmapPixel(HBITMAP bitmap, int x, int y);
SIZE BitmapSize(HBITMAP bitmap);
// Channels within a tolerance (lossy formats, halftone stretching).
bool NearColour(COLORREF actual, COLORREF expected, int tolerance = 24);
// The colour of a pixel on the screen (Xvfb).
COLORREF ScreenPixel(int x, int y);
// A point of a window's client area on the screen.
POINT ClientToScreenPoint(HWND hwnd, int x, int y);
