// The common file-open and printer dialogs.
#pragma once
#include "afxwin.h"
#include <commdlg.h>

typedef void* POSITION;

class CFileDialog {
public:
    // The flags given replace the usual defaults; the Explorer style is added.
    CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt = nullptr, LPCSTR lpszFileName = nullptr,
                DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCSTR lpszFilter = nullptr,
                CWnd* pParentWnd = nullptr);
    virtual ~CFileDialog() = default;

    // IDOK, or IDCANCEL when cancelled or when the names do not fit the buffer.
    virtual INT_PTR DoModal();

    // Walks the names chosen: a single name is a full path; several come as
    // a folder followed by names, each joined to the folder.
    POSITION GetStartPosition() const;
    CString GetNextPathName(POSITION& pos) const;

    OPENFILENAMEA m_ofn{};

private:
    BOOL m_bOpenFileDialog;
    CWnd* m_pParentWnd;
    char m_szFileName[MAX_PATH] = "";
    CString m_strFilter;
};

class CPrintDialog {
public:
    // PD_RETURNDC is added for the full dialog: a confirmed dialog gives a printer DC.
    CPrintDialog(BOOL bPrintSetupOnly, DWORD dwFlags = PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS
                 | PD_HIDEPRINTTOFILE | PD_NOSELECTION, CWnd* pParentWnd = nullptr);
    virtual ~CPrintDialog();

    virtual INT_PTR DoModal();
    // The printer DC of a confirmed dialog; the caller deletes it.
    HDC GetPrinterDC() const { return m_pd.hDC; }

    PRINTDLGA m_pd{};

private:
    CWnd* m_pParentWnd;
};
