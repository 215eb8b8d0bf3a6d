#include "afxdlgs.h"
#include <cderr.h>

namespace {
HWND OwnerOf(CWnd* pParentWnd)
{
    if (pParentWnd)
        return pParentWnd->m_hWnd;
    CWnd* main = AfxGetMainWnd();
    return main && ::IsWindow(main->m_hWnd) ? main->m_hWnd : nullptr;
}
} // namespace

// ---------------------------------------------------------------- CFileDialog

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCWSTR lpszDefExt, LPCWSTR lpszFileName, DWORD dwFlags,
                         LPCWSTR lpszFilter, CWnd* pParentWnd)
    : m_bOpenFileDialog(bOpenFileDialog), m_pParentWnd(pParentWnd)
{
    m_ofn.lStructSize = sizeof m_ofn;
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = MAX_PATH;
    m_ofn.lpstrDefExt = lpszDefExt;
    m_ofn.Flags = dwFlags | OFN_EXPLORER | OFN_ENABLESIZING;
    if (lpszFileName)
        ::lstrcpynW(m_szFileName, lpszFileName, MAX_PATH);
    if (lpszFilter) {
        // "Text|*.txt|All|*.*||" becomes the double-NUL list the dialog wants.
        m_strFilter = lpszFilter;
        m_ofn.lpstrFilter = m_strFilter;
        for (WCHAR* p = const_cast<WCHAR*>(static_cast<LPCWSTR>(m_strFilter)); *p; p++)
            if (*p == L'|')
                *p = L'\0';
    }
}

namespace {
// TRUE when the names end with an empty string inside the buffer. Some
// dialogs, given more names than fit, fill the buffer with a cut list and
// report success; such a list has no end, and reading on would run past it.
BOOL NamesFit(const OPENFILENAMEW& ofn)
{
    for (DWORD i = 0; i + 1 < ofn.nMaxFile; i++)
        if (ofn.lpstrFile[i] == L'\0' && ofn.lpstrFile[i + 1] == L'\0')
            return TRUE;
    return FALSE;
}

// A path from a drive (X:) or a server (\\server\share).
BOOL IsFullPath(const WCHAR* name)
{
    const BOOL letter = (name[0] >= L'A' && name[0] <= L'Z') || (name[0] >= L'a' && name[0] <= L'z');
    return (letter && name[1] == L':') || (name[0] == L'\\' && name[1] == L'\\');
}
} // namespace

INT_PTR CFileDialog::DoModal()
{
    m_ofn.hwndOwner = OwnerOf(m_pParentWnd);
    BOOL ok = m_bOpenFileDialog ? ::GetOpenFileNameW(&m_ofn) : ::GetSaveFileNameW(&m_ofn);
    m_dwExtendedError = ok ? 0 : ::CommDlgExtendedError();
    if (ok && (m_ofn.Flags & OFN_ALLOWMULTISELECT) && !NamesFit(m_ofn)) {
        ok = FALSE;   // as if the dialog had said the buffer is too small
        m_dwExtendedError = FNERR_BUFFERTOOSMALL;
    }
    return ok ? IDOK : IDCANCEL;
}

POSITION CFileDialog::GetStartPosition() const
{
    return m_ofn.lpstrFile && m_ofn.lpstrFile[0] ? static_cast<POSITION>(m_ofn.lpstrFile) : nullptr;
}

CStringW CFileDialog::GetNextPathName(POSITION& pos) const
{
    const WCHAR* start = m_ofn.lpstrFile;
    const WCHAR* item = static_cast<const WCHAR*>(pos);
    const WCHAR* next = item + ::lstrlenW(item) + 1;

    // One name only: the buffer holds a full path and a single NUL.
    if (item == start && *next == L'\0') {
        pos = nullptr;
        return CStringW(item);
    }
    if (item == start) {
        item = next;   // skip the folder
        next = item + ::lstrlenW(item) + 1;
    }
    pos = *next ? const_cast<WCHAR*>(next) : nullptr;

    // A name typed with a folder of its own ("D:\DCIM\a.jpg" among others
    // in quotes) comes back whole.
    if (IsFullPath(item))
        return CStringW(item);
    // The folder ends with a backslash only at a drive's root.
    CStringW path(start);
    if (path.IsEmpty() || path.GetAt(path.GetLength() - 1) != L'\\')
        path += L'\\';
    path += item;
    return path;
}

// ---------------------------------------------------------------- CPrintDialog

CPrintDialog::CPrintDialog(BOOL bPrintSetupOnly, DWORD dwFlags, CWnd* pParentWnd)
    : m_pParentWnd(pParentWnd)
{
    m_pd.lStructSize = sizeof m_pd;
    m_pd.Flags = dwFlags;
    if (bPrintSetupOnly)
        m_pd.Flags |= PD_PRINTSETUP;
    else
        m_pd.Flags |= PD_RETURNDC;
    m_pd.nCopies = 1;
}

CPrintDialog::~CPrintDialog()
{
    // The dialog's printer settings are ours; the DC belongs to the caller.
    if (m_pd.hDevMode)
        ::GlobalFree(m_pd.hDevMode);
    if (m_pd.hDevNames)
        ::GlobalFree(m_pd.hDevNames);
}

HDC CPrintDialog::CreatePrinterDC()
{
    const DEVNAMES* names = m_pd.hDevNames ? static_cast<const DEVNAMES*>(::GlobalLock(m_pd.hDevNames)) : nullptr;
    if (!names)
        return nullptr;
    const DEVMODEW* mode = m_pd.hDevMode ? static_cast<const DEVMODEW*>(::GlobalLock(m_pd.hDevMode)) : nullptr;
    // The offsets count characters from the start of the record.
    const WCHAR* base = reinterpret_cast<const WCHAR*>(names);
    m_pd.hDC = ::CreateDCW(base + names->wDriverOffset, base + names->wDeviceOffset, nullptr, mode);
    if (mode)
        ::GlobalUnlock(m_pd.hDevMode);
    ::GlobalUnlock(m_pd.hDevNames);
    return m_pd.hDC;
}

INT_PTR CPrintDialog::DoModal()
{
    m_pd.hwndOwner = OwnerOf(m_pParentWnd);
    return ::PrintDlgW(&m_pd) ? IDOK : IDCANCEL;
}
