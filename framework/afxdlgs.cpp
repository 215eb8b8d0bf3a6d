#include "afxdlgs.h"
#include <cstring>

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

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt, LPCSTR lpszFileName, DWORD dwFlags,
                         LPCSTR lpszFilter, CWnd* pParentWnd)
    : m_bOpenFileDialog(bOpenFileDialog), m_pParentWnd(pParentWnd)
{
    m_ofn.lStructSize = sizeof m_ofn;
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = MAX_PATH;
    m_ofn.lpstrDefExt = lpszDefExt;
    m_ofn.Flags = dwFlags | OFN_EXPLORER | OFN_ENABLESIZING;
    if (lpszFileName)
        ::lstrcpynA(m_szFileName, lpszFileName, MAX_PATH);
    if (lpszFilter) {
        // "Text|*.txt|All|*.*||" becomes the double-NUL list the dialog wants.
        m_strFilter = lpszFilter;
        m_ofn.lpstrFilter = m_strFilter;
        for (char* p = const_cast<char*>(static_cast<LPCSTR>(m_strFilter)); *p; p = ::CharNextA(p))
            if (*p == '|')
                *p = '\0';
    }
}

namespace {
// TRUE when the names end with an empty string inside the buffer. Some
// dialogs, given more names than fit, fill the buffer with a cut list and
// report success; such a list has no end, and reading on would run past it.
BOOL NamesFit(const OPENFILENAMEA& ofn)
{
    for (DWORD i = 0; i + 1 < ofn.nMaxFile; i++)
        if (ofn.lpstrFile[i] == '\0' && ofn.lpstrFile[i + 1] == '\0')
            return TRUE;
    return FALSE;
}
} // namespace

INT_PTR CFileDialog::DoModal()
{
    m_ofn.hwndOwner = OwnerOf(m_pParentWnd);
    BOOL ok = m_bOpenFileDialog ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
    if (ok && (m_ofn.Flags & OFN_ALLOWMULTISELECT) && !NamesFit(m_ofn))
        ok = FALSE;   // as if the dialog had said the buffer is too small
    return ok ? IDOK : IDCANCEL;
}

POSITION CFileDialog::GetStartPosition() const
{
    return m_ofn.lpstrFile && m_ofn.lpstrFile[0] ? static_cast<POSITION>(m_ofn.lpstrFile) : nullptr;
}

CString CFileDialog::GetNextPathName(POSITION& pos) const
{
    const char* start = m_ofn.lpstrFile;
    const char* item = static_cast<const char*>(pos);
    const char* next = item + std::strlen(item) + 1;

    // One name only: the buffer holds a full path and a single NUL.
    if (item == start && *next == '\0') {
        pos = nullptr;
        return CString(item);
    }
    if (item == start) {
        item = next;   // skip the folder
        next = item + std::strlen(item) + 1;
    }
    pos = *next ? const_cast<char*>(next) : nullptr;

    CString path(start);
    // The folder ends with a backslash only at a drive's root.
    const char* last = nullptr;
    for (const char* p = start; *p; p = ::CharNextA(p))
        last = p;
    if (!(last && *last == '\\'))
        path += '\\';
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

INT_PTR CPrintDialog::DoModal()
{
    m_pd.hwndOwner = OwnerOf(m_pParentWnd);
    return ::PrintDlgA(&m_pd) ? IDOK : IDCANCEL;
}
