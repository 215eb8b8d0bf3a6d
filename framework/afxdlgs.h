// The common file-open and printer dialogs.
#pragma once
#include "afxwin.h"
#include <commdlg.h>

typedef void* POSITION;

// The file-open and save dialogs, wide: the names come back in UTF-16 as
// the file system spells them, whatever the ANSI code page.
class CFileDialog {
public:
    // The flags given replace the usual defaults; the Explorer style is added.
    CFileDialog(BOOL bOpenFileDialog, LPCWSTR lpszDefExt = nullptr, LPCWSTR lpszFileName = nullptr,
                DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCWSTR lpszFilter = nullptr,
                CWnd* pParentWnd = nullptr);
    virtual ~CFileDialog() = default;

    // IDOK, or IDCANCEL when cancelled, when the dialog failed or when the
    // names do not fit the buffer (GetExtendedError tells which).
    virtual INT_PTR DoModal();
    // After IDCANCEL: 0 when the user cancelled, else the dialog's extended
    // error; FNERR_BUFFERTOOSMALL when the names did not fit the buffer.
    DWORD GetExtendedError() const { return m_dwExtendedError; }

    // Walks the names chosen: a single name is a full path; several come as
    // a folder followed by names, each joined to the folder.
    POSITION GetStartPosition() const;
    CStringW GetNextPathName(POSITION& pos) const;

    OPENFILENAMEW m_ofn{};

private:
    BOOL m_bOpenFileDialog;
    CWnd* m_pParentWnd;
    DWORD m_dwExtendedError = 0;
    WCHAR m_szFileName[MAX_PATH] = L"";
    CStringW m_strFilter;
};

// The printer dialog, wide: printer names are the user's own text and may
// hold characters outside the ANSI code page.
class CPrintDialog {
public:
    // PD_RETURNDC is added for the full dialog: a confirmed dialog gives a printer DC.
    CPrintDialog(BOOL bPrintSetupOnly, DWORD dwFlags = PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS
                 | PD_HIDEPRINTTOFILE | PD_NOSELECTION, CWnd* pParentWnd = nullptr);
    virtual ~CPrintDialog();

    virtual INT_PTR DoModal();
    // The printer DC of a confirmed dialog; the caller deletes it.
    HDC GetPrinterDC() const { return m_pd.hDC; }
    // Another DC with the printer and settings the dialog was confirmed
    // with, which becomes the one GetPrinterDC gives; the caller deletes it.
    HDC CreatePrinterDC();

    PRINTDLGW m_pd{};

private:
    CWnd* m_pParentWnd;
};
