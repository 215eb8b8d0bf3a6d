// CFileFind: the entries of a folder that match a pattern, one at a time.
#pragma once
#include "afxstr.h"

class CFileFind {
public:
    CFileFind() = default;
    CFileFind(const CFileFind&) = delete;
    CFileFind& operator=(const CFileFind&) = delete;
    ~CFileFind() { Close(); }

    // Starts a search; TRUE when at least one entry matches. FindNextFile
    // then steps to the first entry.
    BOOL FindFile(LPCSTR lpszPattern);
    // Steps to the next entry; TRUE while more entries follow it, so the
    // entry reached is valid even when it returns FALSE.
    BOOL FindNextFile();
    void Close();

    // The entry reached.
    CString GetFileName() const { return CString(m_found.cFileName); }
    // The pattern's folder (up to its last backslash) and the entry's name.
    CString GetFilePath() const { return m_root + m_found.cFileName; }
    BOOL MatchesMask(DWORD dwMask) const { return (m_found.dwFileAttributes & dwMask) != 0; }
    BOOL IsDirectory() const { return MatchesMask(FILE_ATTRIBUTE_DIRECTORY); }
    // The entries "." and "..": the folder itself and its parent.
    BOOL IsDots() const;

private:
    HANDLE m_hFind = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAA m_found{};   // the entry reached
    WIN32_FIND_DATAA m_next{};    // the entry the next step reaches
    BOOL m_hasNext = FALSE;
    CString m_root;
};
