// The main window: photo list, twelve thumbnail cells, print commands and the
// hidden folder tree and file list.
#pragma once
#include "../framework/afxwin.h"
#include "../res/resource.h"
#include "../browse/FolderTree.h"
#include "../browse/FileListCtrl.h"

// Private messages between the main window and its controls.
#define WM_FILELIST_ADD     (WM_USER + 1)   // wParam: full path of one file
#define WM_FILELIST_CLEAR   (WM_USER + 2)
#define WM_THUMB_CLICKED    (WM_USER + 3)   // wParam: the cell's control id

const int kCellCount = 12;
const int kCellColumns = 3;

class CKiruneDlg : public CDialog {
public:
    explicit CKiruneDlg(CWnd* pParent = nullptr);
    ~CKiruneDlg() override;

    CStatic m_cells[kCellCount];
    CStringArray m_photoList;
    int m_topIndex;
    int m_selPhoto;
    int m_selCell;
    CFolderTree m_folderTree;
    CFileListCtrl m_fileList;
    HICON m_hIcon;
    HICON m_hIconUp;
    HICON m_hIconDown;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override {}       // Enter leaves the window open
    void OnCancel() override {}   // and so does Esc

    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnClose();
    void OnExit();
    LRESULT OnFileListAdd(WPARAM wParam, LPARAM lParam);
    LRESULT OnFileListClear(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};
