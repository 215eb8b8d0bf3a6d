#include "KiruneDlg.h"
#include "AboutDlg.h"
#include <direct.h>
#include <gdiplus.h>

using namespace Gdiplus;

// GDI+ is started when the main dialog is built and shut down when it closes.
GdiplusStartupInput g_gdiplusStartupInput(nullptr, FALSE, FALSE);
ULONG_PTR g_gdiplusToken = 0;

namespace {

HICON LoadIconOfSize(HINSTANCE res, UINT id, int metricX, int metricY)
{
    return static_cast<HICON>(::LoadImageW(res, MAKEINTRESOURCEW(id), IMAGE_ICON, ::GetSystemMetrics(metricX),
                                           ::GetSystemMetrics(metricY), LR_DEFAULTCOLOR));
}

} // namespace

BEGIN_MESSAGE_MAP(CKiruneDlg, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_WM_CLOSE()
    ON_BN_CLICKED(IDC_PRINT_ONE, OnPrintOne)
    ON_BN_CLICKED(IDC_SCROLL_DOWN, OnScrollDown)
    ON_BN_CLICKED(IDC_PRINT_ALL, OnPrintAll)
    ON_BN_CLICKED(IDC_IMPORT, OnImport)
    ON_BN_CLICKED(IDC_SCROLL_UP, OnScrollUp)
    ON_BN_CLICKED(IDC_EXIT, OnExit)
    ON_MESSAGE(WM_FILELIST_ADD, OnFileListAdd)
    ON_MESSAGE(WM_FILELIST_CLEAR, OnFileListClear)
    ON_MESSAGE(WM_THUMB_CLICKED, OnThumbClicked)
END_MESSAGE_MAP()

CKiruneDlg::CKiruneDlg(CWnd* pParent)
    : CDialog(IDD_KIRUNE_DIALOG, pParent)
{
    HINSTANCE res = AfxGetResourceHandle();
    // Each at the size the system shows it, so that the title bar and the
    // task bar get the icon's own small images instead of the large one
    // shrunk.
    m_hIcon = LoadIconOfSize(res, IDR_MAINFRAME, SM_CXICON, SM_CYICON);
    m_hIconSmall = LoadIconOfSize(res, IDR_MAINFRAME, SM_CXSMICON, SM_CYSMICON);
    m_hIconUp = ::LoadIconA(res, MAKEINTRESOURCEA(IDI_SCROLL_UP));
    m_hIconDown = ::LoadIconA(res, MAKEINTRESOURCEA(IDI_SCROLL_DOWN));
    GdiplusStartup(&g_gdiplusToken, &g_gdiplusStartupInput, nullptr);
    m_topIndex = 0;
    m_selPhoto = -1;
    m_selCell = -1;
}

CKiruneDlg::~CKiruneDlg()
{
    m_photoList.RemoveAll();
    // The window that showed them has ended; LoadImage's icons are ours.
    if (m_hIcon)
        ::DestroyIcon(m_hIcon);
    if (m_hIconSmall)
        ::DestroyIcon(m_hIconSmall);
}

void CKiruneDlg::DoDataExchange(CDataExchange* pDX)
{
    for (int i = 0; i < kCellCount; i++)
        DDX_Control(pDX, IDC_CELL_FIRST + i, m_cells[i]);
}

BOOL CKiruneDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    if (CMenu* pSysMenu = GetSystemMenu(FALSE)) {
        const std::wstring about = AfxLoadStringW(IDS_ABOUTBOX);
        if (!about.empty()) {
            pSysMenu->AppendMenu(MF_SEPARATOR);
            pSysMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, about.c_str());
        }
    }

    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIconSmall, FALSE);
    GetDlgItem(IDC_SCROLL_UP)->SendMessage(BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(m_hIconUp));
    GetDlgItem(IDC_SCROLL_DOWN)->SendMessage(BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(m_hIconDown));

    // The hidden file list and folder tree: the tree selects the working
    // folder, which fills the list before the window is first shown.
    m_fileList.SubclassDlgItem(IDC_FILE_LIST, this);
    if (m_folderTree.m_hWnd == nullptr && m_folderTree.SubclassDlgItem(IDC_FOLDER_TREE, this)) {
        m_folderTree.Initialize(TRUE);
        // A working folder longer than the buffer makes _getcwd fail and
        // leaves the buffer unwritten: then nothing is selected.
        char cwd[256] = "";
        if (_getcwd(cwd, sizeof cwd))
            m_folderTree.SelectPath(cwd);
    }

    m_selPhoto = -1;
    m_selCell = -1;
    return TRUE;
}

void CKiruneDlg::OnSysCommand(UINT nID, LPARAM)
{
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg dlgAbout;
        dlgAbout.DoModal();
    } else {
        Default();
    }
}

void CKiruneDlg::OnPaint()
{
    if (!IsIconic()) {
        Default();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    int cxIcon = ::GetSystemMetrics(SM_CXICON);
    int cyIcon = ::GetSystemMetrics(SM_CYICON);
    CRect rect;
    GetClientRect(&rect);
    int x = (rect.Width() - cxIcon + 1) / 2;
    int y = (rect.Height() - cyIcon + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

HCURSOR CKiruneDlg::OnQueryDragIcon()
{
    return static_cast<HCURSOR>(m_hIcon);
}

void CKiruneDlg::OnClose()
{
    GdiplusShutdown(g_gdiplusToken);
    CDialog::OnOK();
}

void CKiruneDlg::OnExit()
{
    GdiplusShutdown(g_gdiplusToken);
    CDialog::OnOK();
}

LRESULT CKiruneDlg::OnFileListAdd(WPARAM wParam, LPARAM)
{
    // Any program may send or post WM_USER + 1 to any window, and the number
    // is also the dialog manager's DM_SETDEFID: wParam is a path only when
    // it is the one the tree is announcing, sent from this thread. Anything
    // else goes to the dialog manager, as in any dialog.
    LPCSTR path = m_folderTree.AnnouncedPath();
    if (path == nullptr || wParam != reinterpret_cast<WPARAM>(path) || ::InSendMessage())
        return Default();
    m_fileList.AddFile(path);
    return 1;
}

LRESULT CKiruneDlg::OnFileListClear(WPARAM, LPARAM)
{
    m_fileList.ClearFiles();
    return 1;
}
