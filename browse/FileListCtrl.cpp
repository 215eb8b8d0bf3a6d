#include "FileListCtrl.h"
#include "PathCompare.h"
#include "SystemIcons.h"
#include "resource.h"
#include <string>

namespace {
// Name, size, type, date modified (titles in the string table); only the
// name is ever filled.
const int kColumnCount = 4;
const UINT kColumnTitles[kColumnCount] = { IDS_COLUMN_NAME, IDS_COLUMN_SIZE, IDS_COLUMN_TYPE, IDS_COLUMN_MODIFIED };
// Each column is as wide as its title with this margin on either side.
const wchar_t kTitleMargin[] = L"  ";
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
        const std::wstring title = AfxLoadStringW(kColumnTitles[i]);
        const std::wstring padded = kTitleMargin + title + kTitleMargin;
        InsertColumn(i, title.c_str(), LVCFMT_LEFT, GetStringWidth(padded.c_str()), i);
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
