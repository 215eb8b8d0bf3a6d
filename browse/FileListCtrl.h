// CFileListCtrl: a report list of the files of one folder, one row per file
// with its small icon and name, in the order they are added.
#pragma once
#include "afxcmn.h"

class CFileListCtrl : public CListCtrl {
public:
    CFileListCtrl() = default;
    ~CFileListCtrl() override;

    CImageList m_imageList;    // the shell's system image list; never ours to destroy

    // Appends the row of the file at a full path.
    void AddFile(LPCSTR path);
    // Deletes every row; the columns and the image list stay.
    void ClearFiles();
    BOOL AttachSystemImageList();

protected:
    // Sets up the image list and the four columns.
    void PreSubclassWindow() override;

    DECLARE_MESSAGE_MAP()
};
