#include "afxfind.h"

BOOL CFileFind::FindFile(LPCSTR lpszPattern)
{
    Close();
    m_hFind = ::FindFirstFileA(lpszPattern, &m_next);
    if (m_hFind == INVALID_HANDLE_VALUE)
        return FALSE;
    m_hasNext = TRUE;
    // The folder part ends at the last separator; a trail byte of a
    // double-byte character may equal the backslash, so walk characters.
    LPCSTR end = lpszPattern;
    for (LPCSTR p = lpszPattern; *p; p = ::CharNextA(p))
        if (*p == '\\' || *p == '/' || (*p == ':' && p == lpszPattern + 1))
            end = p + 1;
    m_root = CString(lpszPattern, static_cast<int>(end - lpszPattern));
    return TRUE;
}

BOOL CFileFind::FindNextFile()
{
    if (!m_hasNext)
        return FALSE;
    m_found = m_next;
    m_hasNext = ::FindNextFileA(m_hFind, &m_next);
    return m_hasNext;
}

void CFileFind::Close()
{
    if (m_hFind != INVALID_HANDLE_VALUE)
        ::FindClose(m_hFind);
    m_hFind = INVALID_HANDLE_VALUE;
    m_hasNext = FALSE;
}

BOOL CFileFind::IsDots() const
{
    const char* name = m_found.cFileName;
    return IsDirectory() && name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}
