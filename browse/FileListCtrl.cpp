#include "FileListCtrl.h"
#include "PathCompare.h"
#include "SystemIcons.h"
#include <string>

namespace {
const int kColumnCount = 4;
const int kTitleSize = 50;
// Name, size, type, date modified; only the name is ever filled.
const char kColumnTitles[kColumnCount][kTitleSize] = { "名前", "ｻｲｽﾞ", "種類", "更新日" };
// Each column is as wide as its title with this margin on either side.
const char kTitleMargin[] = "  ";
} // namespace

BEGIN_MESSAGE_MAP(CFileListCtrl, CListCtrl)
END_MESSAGE_MAP()

CFileListCtrl::~CFileListCtrl()
{
    m_imageList.Detach();
}

void CFileListCtrl::PreSubclassWindow()
{
    AttachSystemImageList();   // without it the rows just show no icons
    for (int i = 0; i < kColumnCount; i++) {
        CString padded = CString(kTitleMargin) + kColumnTitles[i] + kTitleMargin;
        InsertColumn(i, kColumnTitles[i], LVCFMT_LEFT, GetStringWidth(padded), i);
    }
    CListCtrl::PreSubclassWindow();
}

BOOL CFileListCtrl::AttachSystemImageList()
{
    if (GetImageList(LVSIL_SMALL))
        m_imageList.Detach();
    HIMAGELIST hSystem = SystemSmallImageList();
    if (hSystem == nullptr)
        return FALSE;
    m_imageList.Attach(hSystem);
    // A list view destroys its image lists with itself unless they are
    // shared; the system image list belongs to the shell.
    ModifyStyle(0, LVS_SHAREIMAGELISTS);
    SetImageList(m_imageList, LVSIL_SMALL);
    return TRUE;
}

void CFileListCtrl::AddFile(LPCSTR path)
{
    std::string probe = path;
    AppendBackslash(probe);
    int image = 0;   // kept when the shell has no icon for the path
    GetSmallIconIndex(probe.c_str(), 0, image);

    std::string name = TextAfterLastBackslash(path);
    int row = InsertItem(LVIF_TEXT | LVIF_IMAGE, GetItemCount(), name.c_str(), 0, 0, image, 0);
    if (row < 0)
        return;
    for (int subItem = 1; subItem < kColumnCount; subItem++)
        SetItemText(row, subItem, "");
}

void CFileListCtrl::ClearFiles()
{
    DeleteAllItems();
}
