// Photo paths are ANSI (code page 932) strings; GDI+ takes them as UTF-16.
#pragma once
#include <windows.h>
#include <vector>

// The path with its terminating zero in UTF-16; an empty string when the
// path cannot be converted.
inline std::vector<WCHAR> WidePath(LPCSTR path)
{
    int n = ::MultiByteToWideChar(CP_ACP, 0, path, -1, nullptr, 0);
    std::vector<WCHAR> wide(n > 0 ? n : 1, L'\0');
    if (n > 0)
        ::MultiByteToWideChar(CP_ACP, 0, path, -1, wide.data(), n);
    return wide;
}
