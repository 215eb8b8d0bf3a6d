// The main window: photo list, twelve thumbnail cells, print commands and the
// hidden folder tree and file list. The window itself is defined in
// app/KiruneDlg.cpp; its photo list and its print commands, handlers and
// all, in app/PhotoList.cpp and print/PrintJobs.cpp, as marked below.
#pragma once
#include "afxwin.h"
#include "resource.h"
#include "KiruneMessages.h"
#include "ThumbCell.h"
#include "FolderTree.h"
#include "FileListCtrl.h"

const int kCellCount = 12;     // three columns by four rows
const int kCellColumns = 3;   // a scroll moves the page by one row

class CKiruneDlg : public CDialog {
public:
    explicit CKiruneDlg(CWnd* pParent = nullptr);
    ~CKiruneDlg() override;

    CThumbCell m_cells[kCellCount];
    CStringWArray m_photoList;
    int m_topIndex;
    int m_selPhoto;
    int m_selCell;
    CFolderTree m_folderTree;
    CFileListCtrl m_fileList;
    HICON m_hIcon;        // the large icon, also drawn when minimised
    HICON m_hIconSmall;
    HICON m_hIconUp;
    HICON m_hIconDown;
    CStringW m_importFolder;   // where the last import picked its photos

    // What became of the photo given to a print job. A photo not printed
    // started no document; an aborted one started a document that failed
    // (dropped before its page was fed, or its page or end refused), and
    // the printer DC may then take no other document. Cancelled: the user
    // cancelled the file name the printer asked for, which ends the command.
    // Refused: the print system took no document (its server gone, the
    // spooler stopped, access denied), which ends the command too; the
    // reason is in m_printError.
    enum PrintResult { kPrinted, kNotPrinted, kAborted, kCancelled, kRefused };
    DWORD m_printError = 0;   // the last error of the document last refused

    // Print jobs (print/PrintJobs.cpp): one document "Print" of one page on
    // the printer DC, which stays open for the command's next job.
    PrintResult PrintPhoto(HDC hdc, const CStringW& path);
    PrintResult PrintPhotoRange(HDC hdc, const CStringW& path, const RECT& range);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override {}       // Enter leaves the window open
    void OnCancel() override {}   // and so does Esc

    // The window's own messages (app/KiruneDlg.cpp).
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnClose();
    void OnExit();
    LRESULT OnFileListAdd(WPARAM wParam, LPARAM lParam);
    LRESULT OnFileListClear(WPARAM wParam, LPARAM lParam);

    // The print commands (print/PrintJobs.cpp).
    void OnPrintAll();
    void OnPrintOne();

    // Photo list, import and paging (app/PhotoList.cpp).
    void OnImport();
    void RefreshPage(int first, int count);
    void OnScrollUp();
    void OnScrollDown();
    LRESULT OnThumbClicked(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};
