#include "FolderTree.h"
#include "KiruneMessages.h"
#include "afxfind.h"
#include "PathArray.h"
#include "PathCompare.h"
#include "SystemIcons.h"
#include <string>

namespace {
const char kAllEntries[] = "*.*";
// Room for the root paths of all 26 drives, 4 bytes each, and the final NUL.
const DWORD kDriveStringsSize = 128;
const UINT kPathImageMask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;

// The search pattern for every entry of a folder.
std::string AllEntriesOf(LPCSTR folderPath)
{
    std::string pattern = folderPath;
    AppendBackslash(pattern);
    return pattern + kAllEntries;
}

// The placeholder child stands for unread subfolders, so that the item shows
// an expand button; expanding the item replaces it by the real children.
void InsertPlaceholder(CTreeCtrl& tree, HTREEITEM hParent, UINT nMask)
{
    tree.InsertItem(nMask, "", 0, 0, 0, 0, 0, hParent, TVI_LAST);
}

// A network drive whose server is away, a disc spinning up or a card
// reader can keep each look at it waiting for many seconds: only a fixed
// local disk is looked at before the user asks for it.
BOOL IsLocalDisk(LPCSTR root)
{
    const UINT type = ::GetDriveTypeA(root);
    return type == DRIVE_FIXED || type == DRIVE_RAMDISK;
}

void DeleteChildren(CTreeCtrl& tree, HTREEITEM hItem)
{
    while (HTREEITEM hChild = tree.GetChildItem(hItem))
        tree.DeleteItem(hChild);
}
} // namespace

BEGIN_MESSAGE_MAP(CFolderTree, CTreeCtrl)
    ON_NOTIFY_REFLECT(TVN_ITEMEXPANDED, OnItemExpanded)
    ON_NOTIFY_REFLECT(NM_CLICK, OnClick)
    ON_NOTIFY_REFLECT(TVN_SELCHANGED, OnSelChanged)
END_MESSAGE_MAP()

CFolderTree::CFolderTree()
    : m_showFiles(FALSE)
{
}

CFolderTree::~CFolderTree()
{
    m_imageList.Detach();
}

BOOL CFolderTree::Initialize(BOOL showFiles)
{
    if (GetStyle() & TVS_EDITLABELS)
        ModifyStyle(TVS_EDITLABELS, 0);
    DeleteAllItems();
    if (!AttachSystemImageList())
        return FALSE;
    m_showFiles = showFiles;
    return ListDrives();
}

BOOL CFolderTree::AttachSystemImageList()
{
    if (GetImageList(TVSIL_NORMAL))
        m_imageList.Detach();
    HIMAGELIST hSystem = SystemSmallImageList();
    if (hSystem == nullptr) {
        m_lastError = "Cannot retrieve the Handle of SystemImageList!";
        return FALSE;
    }
    m_imageList.Attach(hSystem);
    SetImageList(m_imageList, TVSIL_NORMAL);
    return TRUE;
}

BOOL CFolderTree::ListDrives()
{
    DeleteAllItems();
    char drives[kDriveStringsSize];
    DWORD length = ::GetLogicalDriveStringsA(sizeof drives, drives);
    // A length beyond the buffer means it was left unwritten.
    if (length == 0 || length >= sizeof drives) {
        m_lastError = "Error Getting Logical DriveStrings!";
        return FALSE;
    }
    for (LPCSTR root = drives; *root; root += lstrlenA(root) + 1) {
        // Any other drive gets its placeholder unread, as Explorer's do.
        const BOOL local = IsLocalDisk(root);
        HTREEITEM hItem = InsertPathItem(TVI_ROOT, root, local);
        if (hItem && (!local || HasSubfolders(root)))
            InsertPlaceholder(*this, hItem, kPathImageMask);
    }
    return TRUE;
}

HTREEITEM CFolderTree::InsertPathItem(HTREEITEM hParent, LPCSTR path, BOOL ask)
{
    std::string folder = path;
    AppendBackslash(folder);
    const UINT unopened = ask ? 0 : SHGFI_USEFILEATTRIBUTES;
    int image = 0, selectedImage = 0;
    if (!GetSmallIconIndex(folder.c_str(), unopened, image) ||
        !GetSmallIconIndex(folder.c_str(), SHGFI_OPENICON | unopened, selectedImage)) {
        m_lastError = "Error Gettting SystemFileInfo!";
        return nullptr;
    }
    // A drive shows its root path without the backslash (C:), a folder its name.
    folder.pop_back();
    LPCSTR text = hParent == TVI_ROOT ? folder.c_str() : LastPathComponent(path);
    return InsertItem(kPathImageMask, text, image, selectedImage, 0, 0, 0, hParent, TVI_LAST);
}

LPCSTR CFolderTree::LastPathComponent(LPCSTR path)
{
    static std::string component;   // shared by all calls, as the callers expect
    component = TextAfterLastBackslash(path);
    return component.c_str();
}

BOOL CFolderTree::HasSubfolders(LPCSTR path)
{
    CFileFind finder;
    BOOL more = finder.FindFile(AllEntriesOf(path).c_str());
    while (more) {
        more = finder.FindNextFile();
        if (finder.MatchesMask(FILE_ATTRIBUTE_DIRECTORY) && !finder.IsDots())
            return TRUE;   // the first one answers: no need to read further
    }
    return FALSE;
}

void CFolderTree::FillFolder(HTREEITEM hParent, LPCSTR folderPath)
{
    // Read and sort the whole folder before the control is touched. Files
    // stay out of the tree whatever m_showFiles says: the file list shows them.
    CPathArray folders;
    CFileFind finder;
    BOOL more = finder.FindFile(AllEntriesOf(folderPath).c_str());
    while (more) {
        more = finder.FindNextFile();
        if (finder.MatchesMask(FILE_ATTRIBUTE_DIRECTORY) && !finder.IsDots())
            folders.Add(finder.GetFilePath());
    }
    finder.Close();
    folders.SortNoCase();

    SendMessage(WM_SETREDRAW, FALSE);
    {
        CWaitCursor wait;
        for (int i = 0; i < folders.GetSize(); i++) {
            CString path = folders[i];
            HTREEITEM hItem = InsertPathItem(hParent, path);
            if (hItem && HasSubfolders(path))
                InsertPlaceholder(*this, hItem, kPathImageMask);
        }
    }
    SendMessage(WM_SETREDRAW, TRUE);
}

void CFolderTree::ReloadChildren(HTREEITEM hItem)
{
    DeleteChildren(*this, hItem);
    FillFolder(hItem, GetFullPath(hItem));
}

CString CFolderTree::GetFullPath(HTREEITEM hItem)
{
    std::string path;
    for (HTREEITEM h = hItem; h; h = GetParentItem(h))
        path = GetItemText(h).str() + "\\" + path;
    TrimBackslashes(path);
    return CString(path.c_str());
}

HTREEITEM CFolderTree::FindChildByText(HTREEITEM hParent, LPCSTR segment)
{
    for (HTREEITEM hChild = GetChildItem(hParent); hChild; hChild = GetNextSiblingItem(hChild))
        if (UpperCasePath(GetItemText(hChild)) == segment)
            return hChild;
    return nullptr;
}

BOOL CFolderTree::IsPathAvailable(LPCSTR path)
{
    std::string folder = UpperCasePath(path);
    TrimBackslashes(folder);
    for (HTREEITEM hDrive = GetChildItem(TVI_ROOT); hDrive; hDrive = GetNextSiblingItem(hDrive)) {
        std::string drive = UpperCasePath(GetItemText(hDrive));
        if (folder.compare(0, drive.size(), drive) == 0) {
            // The device name nul is found in a folder exactly when the folder exists.
            CFileFind finder;
            return finder.FindFile((folder + "\\nul").c_str());
        }
    }
    return FALSE;
}

BOOL CFolderTree::SelectPath(LPCSTR path)
{
    if (!IsPathAvailable(path))
        return FALSE;
    std::string walk = UpperCasePath(path);
    AppendBackslash(walk);

    HTREEITEM hCurrent = TVI_ROOT;
    BOOL found = TRUE;
    const char* segment = walk.c_str();
    for (const char* p = walk.c_str(); *p; p = NextChar(p)) {
        if (*p != '\\')
            continue;
        SendMessage(WM_SETREDRAW, FALSE);
        HTREEITEM hItem = FindChildByText(hCurrent, std::string(segment, p).c_str());
        if (hItem == nullptr) {
            found = FALSE;
            break;
        }
        // The control reports an expansion only until the item has been
        // expanded once; a collapse with reset clears that, so the folder
        // is read afresh from disk.
        if (GetItemState(hItem, TVIS_EXPANDEDONCE) & TVIS_EXPANDEDONCE) {
            Expand(hItem, TVE_EXPAND);
            // Scroll the item to the top first: Wine's tree view crashes when
            // the reset deletes the first visible item.
            Select(hItem, TVGN_FIRSTVISIBLE);
            Expand(hItem, TVE_COLLAPSE | TVE_COLLAPSERESET);
            InsertPlaceholder(*this, hItem, TVIF_TEXT);
        }
        Expand(hItem, TVE_EXPAND);
        hCurrent = hItem;
        segment = p + 1;
    }
    if (found)
        SelectItem(hCurrent);
    SendMessage(WM_SETREDRAW, TRUE);
    return found;
}

void CFolderTree::AnnounceFiles(HTREEITEM hItem)
{
    // No item selected means no folder: its path would be empty, and a
    // search of "\*.*" would read the root of the current drive instead.
    CPathArray files;
    CFileFind finder;
    BOOL more = hItem && finder.FindFile(AllEntriesOf(GetFullPath(hItem)).c_str());
    while (more) {
        more = finder.FindNextFile();
        if (!finder.MatchesMask(FILE_ATTRIBUTE_DIRECTORY))
            files.Add(finder.GetFilePath());
    }
    finder.Close();
    files.SortNoCase();

    // Sent, not posted: the path text lives only until each send returns.
    HWND hParent = ::GetParent(m_hWnd);
    ::SendMessageA(hParent, WM_FILELIST_CLEAR, 0, 0);
    for (int i = 0; i < files.GetSize(); i++) {
        m_announcedPath = files.ElementAt(i);
        ::SendMessageA(hParent, WM_FILELIST_ADD, reinterpret_cast<WPARAM>(m_announcedPath), 0);
    }
    m_announcedPath = nullptr;
}

void CFolderTree::OnItemExpanded(NMHDR* pNMHDR, LRESULT* pResult)
{
    NMTREEVIEWA* pNMTreeView = reinterpret_cast<NMTREEVIEWA*>(pNMHDR);
    HTREEITEM hItem = pNMTreeView->itemNew.hItem;
    if (pNMTreeView->itemNew.state & TVIS_EXPANDED) {
        ReloadChildren(hItem);
    } else {
        // A collapsed item keeps nothing but its placeholder.
        DeleteChildren(*this, hItem);
        InsertPlaceholder(*this, hItem, TVIF_TEXT);
    }
    *pResult = 0;
}

void CFolderTree::OnClick(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
}

void CFolderTree::OnSelChanged(NMHDR* pNMHDR, LRESULT* pResult)
{
    AnnounceFiles(reinterpret_cast<NMTREEVIEWA*>(pNMHDR)->itemNew.hItem);
    *pResult = 0;
}
