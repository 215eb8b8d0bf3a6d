// CFolderTree: a tree of the computer's drives and folders, read one level
// at a time as items expand, that announces the files of the selected folder
// to its parent window (WM_FILELIST_CLEAR, then one WM_FILELIST_ADD per file).
#pragma once
#include "afxcmn.h"

class CFolderTree : public CTreeCtrl {
public:
    CFolderTree();
    ~CFolderTree() override;

    BOOL m_showFiles;
    CString m_lastError;       // the most recent failure, for a developer's eyes only
    CImageList m_imageList;    // the shell's system image list; never ours to destroy

    // Empties the tree and lists the drives; FALSE with m_lastError set when
    // the system image list or the drives can't be had.
    BOOL Initialize(BOOL showFiles);
    // Expands the tree along a folder path (any case, with or without a
    // trailing backslash) and selects the folder's item; TRUE when selected.
    BOOL SelectPath(LPCSTR path);

    BOOL AttachSystemImageList();
    BOOL ListDrives();
    // Inserts the item of a drive's root path (text C:) or of a folder (its
    // name) with the path's icons; NULL when the icons can't be had. Unless
    // `ask`, the path is not opened: the icons come from what it is alone.
    HTREEITEM InsertPathItem(HTREEITEM hParent, LPCSTR path, BOOL ask = TRUE);
    // The text after the last backslash, one trailing backslash ignored;
    // valid until the next call.
    LPCSTR LastPathComponent(LPCSTR path);
    BOOL HasSubfolders(LPCSTR path);
    void FillFolder(HTREEITEM hParent, LPCSTR folderPath);
    void ReloadChildren(HTREEITEM hItem);
    CString GetFullPath(HTREEITEM hItem);
    HTREEITEM FindChildByText(HTREEITEM hParent, LPCSTR segment);
    BOOL IsPathAvailable(LPCSTR path);
    void AnnounceFiles(HTREEITEM hItem);
    // The path whose WM_FILELIST_ADD is being sent, for as long as the send
    // lasts; NULL at any other time. Any program may send WM_USER + 1 to the
    // parent: only a wParam equal to this is one of the tree's paths.
    LPCSTR AnnouncedPath() const { return m_announcedPath; }

protected:
    void OnItemExpanded(NMHDR* pNMHDR, LRESULT* pResult);
    void OnClick(NMHDR* pNMHDR, LRESULT* pResult);
    void OnSelChanged(NMHDR* pNMHDR, LRESULT* pResult);

    DECLARE_MESSAGE_MAP()

private:
    LPCSTR m_announcedPath = nullptr;
};
