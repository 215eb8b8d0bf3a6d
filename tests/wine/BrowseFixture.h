// Helpers of the folder browsing tests: a folder tree of the test's own on
// disk, and a parent window that records the files announced to it.
#pragma once
#include "FileListCtrl.h"
#include "FolderTree.h"
#include "KiruneDlg.h"
#include "TestImages.h"
#include <string>
#include <vector>

// Whether a folder holds a subfolder, read directly from disk.
bool HasSubfolderOnDisk(const std::string& folder);
// The shell's system image list of small icons.
HIMAGELIST ShellSmallImageList();
// The text in lower case, whole characters only.
std::string LowerCase(std::string text);

// A hidden top-level window that records, in order, what a folder tree
// announces to it: "CLEAR" and "ADD <path>".
class AnnouncementRecorder : public CWnd {
public:
    BOOL Create();
    std::vector<std::string> m_log;

protected:
    LRESULT OnFileListAdd(WPARAM wParam, LPARAM lParam);
    LRESULT OnFileListClear(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

// The expected log of one announcement of these full paths.
std::vector<std::string> Announcement(const std::vector<std::string>& paths);
