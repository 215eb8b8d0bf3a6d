// The shell's system image list of small icons, shared by the folder tree
// and the file list, and the index of a path's icon in it.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

// The list, or NULL when the shell can't give it. The list belongs to the
// shell; the shell hands it out for any path, and C:\ always exists.
inline HIMAGELIST SystemSmallImageList()
{
    SHFILEINFOA info{};
    return reinterpret_cast<HIMAGELIST>(
        ::SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
}

// The index of a path's small icon (extraFlags 0) or small open icon
// (SHGFI_OPENICON) in that list; FALSE, index untouched, when the shell has
// none. The icon handle itself is released at once. With
// SHGFI_USEFILEATTRIBUTES the path is not opened: the icon is a folder's,
// or a drive's of the drive's type.
inline BOOL GetSmallIconIndex(LPCSTR path, UINT extraFlags, int& index)
{
    SHFILEINFOA info{};
    if (!::SHGetFileInfoA(path, FILE_ATTRIBUTE_DIRECTORY, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON | extraFlags))
        return FALSE;
    if (info.hIcon)
        ::DestroyIcon(info.hIcon);
    index = info.iIcon;
    return TRUE;
}
