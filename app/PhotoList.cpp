// The photo list of the main window: import, the page of twelve cells, and
// scrolling by one row of three.
#include "KiruneDlg.h"
#include "afxdlgs.h"
#include <cderr.h>
#include <memory>
#include <new>
#include <string>

namespace {
// The names of one multiple selection: two mebibytes, ten times what any
// selection of the ANSI dialog could hold, room for some 50,000 camera names.
const DWORD kNameBufferChars = 1024 * 1024;
const DWORD kScrollUpPauseMs = 500;

// Puts the process's current folder back when it goes out of scope. The
// open dialog moves it to the folder the photos were picked from, and
// Windows keeps a process's current folder open: a card or stick imported
// from would stay "in use" until the program ended.
class CKeepCurrentDirectory {
public:
    CKeepCurrentDirectory()
    {
        DWORD n = ::GetCurrentDirectoryW(0, nullptr);
        m_folder.resize(n);
        n = n ? ::GetCurrentDirectoryW(n, &m_folder[0]) : 0;
        m_folder.resize(n < m_folder.size() ? n : 0);
    }
    ~CKeepCurrentDirectory()
    {
        if (!m_folder.empty())
            ::SetCurrentDirectoryW(m_folder.c_str());
    }
    CKeepCurrentDirectory(const CKeepCurrentDirectory&) = delete;
    CKeepCurrentDirectory& operator=(const CKeepCurrentDirectory&) = delete;

private:
    std::wstring m_folder;
};

// The folder of a full path, without its last backslash but at a drive's root.
CStringW FolderOf(const CStringW& path)
{
    const std::wstring& s = path.str();
    size_t slash = s.find_last_of(L'\\');
    if (slash == std::wstring::npos)
        return CStringW();
    return CStringW(s.c_str(), static_cast<int>(slash == 2 && s[1] == L':' ? slash + 1 : slash));
}
} // namespace

void CKiruneDlg::OnImport()
{
    std::unique_ptr<WCHAR[]> names(new (std::nothrow) WCHAR[kNameBufferChars]());
    if (!names)
        return;

    CKeepCurrentDirectory keepCurrentDirectory;
    CFileDialog dlg(TRUE, nullptr, nullptr, OFN_ALLOWMULTISELECT, nullptr, nullptr);
    dlg.m_ofn.lpstrFile = names.get();
    dlg.m_ofn.nMaxFile = kNameBufferChars;
    // Where the last import picked; Windows XP would open in the current folder.
    if (!m_importFolder.IsEmpty())
        dlg.m_ofn.lpstrInitialDir = m_importFolder;
    if (dlg.DoModal() != IDOK) {
        // Cancelled: nothing to say. More names than the buffer holds:
        // nothing is imported, and the user is told why.
        if (dlg.GetExtendedError() == FNERR_BUFFERTOOSMALL)
            MessageBox(AfxLoadStringW(IDS_TOO_MANY_FILES).c_str(), nullptr, MB_OK | MB_ICONWARNING);
        return;
    }

    CWaitCursor wait;
    int first = m_photoList.GetSize();
    int count = 0;
    for (POSITION pos = dlg.GetStartPosition(); pos != nullptr; ++count)
        m_photoList.Add(dlg.GetNextPathName(pos));
    if (count > 0)
        m_importFolder = FolderOf(m_photoList[first]);
    RefreshPage(first, count);
}

// Reloads all twelve cells when the entries first .. first + count touch the page.
void CKiruneDlg::RefreshPage(int first, int count)
{
    int top = m_topIndex;
    int size = m_photoList.GetSize();
    if (first < top && first + count < top)
        return;
    if (first > top + kCellCount - 1 && first + count > top + kCellCount - 1)
        return;
    for (int i = 0; i < kCellCount; i++) {
        if (top + i < size)
            m_cells[i].LoadPicture(m_photoList[top + i]);
        else
            m_cells[i].LoadPicture(nullptr);
    }
}

// One row up: the bottom row leaves, nine pictures move down without being
// decoded again, and the three photos above the page come in.
void CKiruneDlg::OnScrollUp()
{
    if (m_topIndex < kCellColumns)
        return;
    int size = m_photoList.GetSize();
    m_selCell = -1;

    for (int j = kCellCount - kCellColumns; j < kCellCount; j++)
        m_cells[j].DeleteBitmap();
    for (int j = kCellCount - 1; j >= kCellColumns; j--) {
        m_cells[j].SetBitmap(m_cells[j - kCellColumns].DetachBitmap());
        m_cells[j].SetPath(m_cells[j - kCellColumns].GetPath());
    }
    for (int i = 0; i < kCellColumns; i++)
        m_cells[i].LoadPicture(nullptr);

    ::Sleep(kScrollUpPauseMs);
    m_topIndex -= kCellColumns;

    for (int i = 0; i < kCellColumns; i++) {
        if (m_topIndex + i < size) {
            m_cells[i].LoadPicture(m_photoList[m_topIndex + i]);
        } else {
            m_cells[i].LoadPicture(nullptr);
            m_cells[i].SetPath(nullptr);
        }
    }
}

// One row down, when a photo lies beyond the page: the top row leaves, nine
// pictures move up, and the next three photos come in.
void CKiruneDlg::OnScrollDown()
{
    int size = m_photoList.GetSize();
    if (size <= m_topIndex + kCellCount)
        return;
    m_selCell = -1;

    for (int j = 0; j < kCellColumns; j++)
        m_cells[j].DeleteBitmap();
    for (int j = 0; j < kCellCount - kCellColumns; j++) {
        m_cells[j].SetBitmap(m_cells[j + kCellColumns].DetachBitmap());
        m_cells[j].SetPath(m_cells[j + kCellColumns].GetPath());
    }
    for (int j = kCellCount - kCellColumns; j < kCellCount; j++)
        m_cells[j].LoadPicture(nullptr);

    for (int i = 0; i < kCellColumns; i++) {
        int index = m_topIndex + kCellCount + i;
        CThumbCell& cell = m_cells[kCellCount - kCellColumns + i];
        if (index < size) {
            cell.LoadPicture(m_photoList[index]);
        } else {
            cell.LoadPicture(nullptr);
            cell.SetPath(nullptr);
        }
    }
    m_topIndex += kCellColumns;
}

// Every click on a cell's picture, blank cells included. Anyone can post
// this message: an id that names no cell leaves the selection alone.
LRESULT CKiruneDlg::OnThumbClicked(WPARAM wParam, LPARAM)
{
    if (wParam < IDC_CELL_FIRST || wParam > IDC_CELL_LAST)
        return 0;
    m_selCell = static_cast<int>(wParam) - IDC_CELL_FIRST;
    m_selPhoto = m_topIndex + m_selCell;
    return 1;
}
