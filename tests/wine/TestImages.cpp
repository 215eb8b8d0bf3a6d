#include "TestImages.h"
#include <gdiplus.h>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <vector>

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

std::wstring Wide(const std::string& ansi)
{
    int n = ::MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, nullptr, 0);
    std::wstring w(static_cast<size_t>(n > 0 ? n : 1), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, &w[0], n);
    w.resize(w.size() - 1);
    return w;
}

namespace {

bool EncoderFor(const char* mimeType, CLSID* clsid)
{
    UINT count = 0, size = 0;
    GdipGetImageEncodersSize(&count, &size);
    std::vector<BYTE> buffer(size);
    ImageCodecInfo* codecs = reinterpret_cast<ImageCodecInfo*>(buffer.data());
    GdipGetImageEncoders(count, size, codecs);
    const std::wstring wanted = Wide(mimeType);
    for (UINT i = 0; i < count; i++) {
        if (lstrcmpiW(codecs[i].MimeType, wanted.c_str()) == 0) {
            *clsid = codecs[i].Clsid;
            return true;
        }
    }
    return false;
}

// Wide, so that names no ANSI code page spells go too.
void RemoveTree(const std::wstring& path)
{
    WIN32_FIND_DATAW data;
    HANDLE h = ::FindFirstFileW((path + L"\\*").c_str(), &data);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring child = path + L"\\" + name;
            ::SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
                ::DeleteFileW(child.c_str());
        } while (::FindNextFileW(h, &data));
        ::FindClose(h);
    }
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::RemoveDirectoryW(path.c_str());
}
} // namespace

TempFolder::TempFolder()
{
    static int serial = 0;
    char temp[MAX_PATH] = "";
    ::GetTempPathA(sizeof temp, temp);
    char spelled[MAX_PATH] = "";
    ::GetLongPathNameA(temp, spelled, sizeof spelled);
    m_path = std::string(spelled) + "kirune-test-" + std::to_string(::GetCurrentProcessId()) + "-" +
             std::to_string(++serial);
    RemoveTree(Wide(m_path));
    ::CreateDirectoryA(m_path.c_str(), nullptr);
}

TempFolder::~TempFolder()
{
    RemoveTree(Wide(m_path));
}

std::wstring TempFolder::File(const std::wstring& relative) const
{
    return Wide(m_path) + L"\\" + relative;
}

bool TempFolder::MakeFolder(const std::string& relative, DWORD attributes) const
{
    std::string path = File(relative);
    return ::CreateDirectoryA(path.c_str(), nullptr) &&
           (attributes == 0 || ::SetFileAttributesA(path.c_str(), attributes));
}

bool TempFolder::MakeFile(const std::string& relative, DWORD attributes) const
{
    HANDLE h = ::CreateFileA(File(relative).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             attributes ? attributes : FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    ::CloseHandle(h);
    return true;
}

std::string WindowsPath(const std::string& path)
{
    if (path.empty() || path[0] != '/')
        return path;
    std::string out = "Z:" + path;
    for (char& c : out)
        if (c == '/')
            c = '\\';
    return out;
}

PixelFn Quadrants(int sx, int sy)
{
    return [=](int x, int y) -> DWORD {
        return y < sy ? (x < sx ? 0xFFFF0000 : 0xFF00FF00) : (x < sx ? 0xFF0000FF : 0xFFFFFF00);
    };
}

bool SaveImage(const std::string& path, int width, int height, const char* mimeType, const PixelFn& pixel)
{
    return SaveImage(Wide(path), width, height, mimeType, pixel);
}

bool SaveImage(const std::wstring& path, int width, int height, const char* mimeType, const PixelFn& pixel)
{
    CLSID clsid;
    if (!EncoderFor(mimeType, &clsid))
        return false;
    GpBitmap* bitmap = nullptr;
    if (GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, nullptr, &bitmap) != Ok)
        return false;
    BitmapData data;
    Rect all(0, 0, width, height);
    GdipBitmapLockBits(bitmap, &all, ImageLockModeWrite, PixelFormat32bppARGB, &data);
    for (int y = 0; y < height; y++) {
        DWORD* row = reinterpret_cast<DWORD*>(static_cast<BYTE*>(data.Scan0) + y * data.Stride);
        for (int x = 0; x < width; x++)
            row[x] = pixel(x, y);
    }
    GdipBitmapUnlockBits(bitmap, &data);
    GpStatus status = GdipSaveImageToFile(bitmap, path.c_str(), &clsid, nullptr);
    GdipDisposeImage(bitmap);
    return status == Ok;
}

bool SaveGif(const std::string& path, int width, int height, const PixelFn& pixel)
{
    const DWORD palette[8] = { 0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0, 0, 0 };
    auto index = [&](DWORD argb) {
        int best = 0, bestDistance = 1 << 30;
        for (int i = 0; i < 5; i++) {
            int d = 0;
            for (int shift = 0; shift < 24; shift += 8)
                d += abs(static_cast<int>((argb >> shift) & 0xFF) - static_cast<int>((palette[i] >> shift) & 0xFF));
            if (d < bestDistance)
                best = i, bestDistance = d;
        }
        return best;
    };
    std::string gif = "GIF89a";
    auto word = [&](int v) { gif += static_cast<char>(v & 0xFF); gif += static_cast<char>(v >> 8); };
    word(width);
    word(height);
    gif += static_cast<char>(0xF2);   // global table of 8 colours
    gif += '\0';
    gif += '\0';
    for (DWORD c : palette) {
        gif += static_cast<char>(c >> 16);
        gif += static_cast<char>((c >> 8) & 0xFF);
        gif += static_cast<char>(c & 0xFF);
    }
    gif += ',';
    word(0);
    word(0);
    word(width);
    word(height);
    gif += '\0';
    // LZW with 3-bit minimum codes kept at 4 bits: a clear code before every
    // second pixel keeps the table from growing past the code width.
    const int kMinCode = 3, kClear = 8, kEnd = 9, kBits = 4;
    gif += static_cast<char>(kMinCode);
    std::string data;
    unsigned accumulator = 0;
    int filled = 0;
    auto emit = [&](int code) {
        accumulator |= static_cast<unsigned>(code) << filled;
        filled += kBits;
        while (filled >= 8) {
            data += static_cast<char>(accumulator & 0xFF);
            accumulator >>= 8;
            filled -= 8;
        }
    };
    int n = 0;
    for (int y = 0; y < height; y++) {
        for (int x = 0; x < width; x++, n++) {
            if (n % 2 == 0)
                emit(kClear);
            emit(index(pixel(x, y)));
        }
    }
    emit(kEnd);
    if (filled > 0)
        data += static_cast<char>(accumulator & 0xFF);
    for (size_t i = 0; i < data.size(); i += 255) {
        std::string block = data.substr(i, 255);
        gif += static_cast<char>(block.size());
        gif += block;
    }
    gif += '\0';
    gif += ';';
    return SaveBytes(path, gif);
}

bool SaveSolid(const std::string& path, int width, int height, const char* mimeType, DWORD argb)
{
    return SaveImage(path, width, height, mimeType, [argb](int, int) { return argb; });
}

bool SaveBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

bool SaveJpegWithOrientation(const std::string& path, int width, int height, const PixelFn& pixel, WORD orientation)
{
    if (!SaveImage(path, width, height, "image/jpeg", pixel))
        return false;
    std::string jpeg = ReadBytes(path);
    if (jpeg.size() < 2 || static_cast<unsigned char>(jpeg[0]) != 0xFF || static_cast<unsigned char>(jpeg[1]) != 0xD8)
        return false;
    // An APP1 segment right after the start of image: "Exif", a little-endian
    // TIFF header and one directory entry, Orientation (0x0112), SHORT.
    const unsigned char tiff[] = {
        'I', 'I', 0x2A, 0x00, 0x08, 0x00, 0x00, 0x00,
        0x01, 0x00,
        0x12, 0x01, 0x03, 0x00, 0x01, 0x00, 0x00, 0x00,
        static_cast<unsigned char>(orientation & 0xFF), static_cast<unsigned char>(orientation >> 8), 0x00, 0x00,
        0x00, 0x00, 0x00, 0x00,
    };
    std::string payload = std::string("Exif\0\0", 6) + std::string(reinterpret_cast<const char*>(tiff), sizeof tiff);
    size_t length = payload.size() + 2;
    std::string segment = "\xFF\xE1";
    segment += static_cast<char>(length >> 8);
    segment += static_cast<char>(length & 0xFF);
    segment += payload;
    return SaveBytes(path, jpeg.substr(0, 2) + segment + jpeg.substr(2));
}

COLORREF BitmapPixel(HBITMAP bitmap, int x, int y)
{
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    COLORREF c = ::GetPixel(dc, x, y);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return c;
}

SIZE BitmapSize(HBITMAP bitmap)
{
    BITMAP bm = {};
    if (!bitmap || !::GetObjectA(bitmap, sizeof bm, &bm))
        return SIZE{ -1, -1 };
    return SIZE{ bm.bmWidth, bm.bmHeight };
}

bool NearColour(COLORREF a, COLORREF b, int tolerance)
{
    return abs(GetRValue(a) - GetRValue(b)) <= tolerance && abs(GetGValue(a) - GetGValue(b)) <= tolerance
        && abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

COLORREF ScreenPixel(int x, int y)
{
    HDC screen = ::GetDC(nullptr);
    COLORREF c = ::GetPixel(screen, x, y);
    ::ReleaseDC(nullptr, screen);
    return c;
}

POINT ClientToScreenPoint(HWND hwnd, int x, int y)
{
    POINT p = { x, y };
    ::ClientToScreen(hwnd, &p);
    return p;
}
