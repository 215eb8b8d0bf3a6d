// The hidden folder tree and file list of the real program: started in a
// folder of known files, its file list holds one row per file, in sorted
// order, and neither control is ever shown; another program's WM_USER + 1
// is never read as a path.
#include "KiruneProcess.h"
#include <gtest/gtest.h>
#include <commctrl.h>
#include <string>
#include <vector>

namespace {

const int kFolderTree = 1019, kFileList = 1020, kPrintAll = 1002;

// A folder of files for the program's working folder, removed at the end.
class WorkFolder {
public:
    WorkFolder()
    {
        char temp[MAX_PATH] = "";
        ::GetTempPathA(sizeof temp, temp);
        m_path = std::string(temp) + "kirune-e2e-browse-" + std::to_string(::GetCurrentProcessId());
        ::CreateDirectoryA(m_path.c_str(), nullptr);
    }
    ~WorkFolder()
    {
        for (const std::string& file : m_files)
            ::DeleteFileA(file.c_str());
        for (auto it = m_folders.rbegin(); it != m_folders.rend(); ++it)
            ::RemoveDirectoryA(it->c_str());
        ::RemoveDirectoryA(m_path.c_str());
    }
    bool AddFile(const std::string& name)
    {
        std::string path = m_path + "\\" + name;
        HANDLE h = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            return false;
        ::CloseHandle(h);
        m_files.push_back(path);
        return true;
    }
    bool AddFolder(const std::string& name)
    {
        std::string path = m_path + "\\" + name;
        m_folders.push_back(path);
        return ::CreateDirectoryA(path.c_str(), nullptr) != FALSE;
    }
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
    std::vector<std::string> m_files, m_folders;
};

// The name in each row of another process's list view, read through a
// buffer in that process.
std::vector<std::string> RowNames(HWND list, DWORD pid)
{
    std::vector<std::string> names;
    HANDLE process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process)
        return names;
    const SIZE_T textSize = 512;
    char* remote = static_cast<char*>(::VirtualAllocEx(process, nullptr, sizeof(LVITEMA) + textSize,
                                                       MEM_COMMIT, PAGE_READWRITE));
    int count = static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; remote && row < count; row++) {
        LVITEMA item{};
        item.iSubItem = 0;
        item.pszText = remote + sizeof(LVITEMA);
        item.cchTextMax = textSize;
        char text[textSize] = "";
        ::WriteProcessMemory(process, remote, &item, sizeof item, nullptr);
        ::SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(remote));
        ::ReadProcessMemory(process, remote + sizeof(LVITEMA), text, textSize - 1, nullptr);
        names.push_back(text);
    }
    if (remote)
        ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    ::CloseHandle(process);
    return names;
}

// Writes a path into another process at the given address, so that a window
// procedure there that took any wParam for a path would find one.
bool PlantPath(DWORD pid, UINT_PTR address, const std::string& path)
{
    HANDLE process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
    void* at = reinterpret_cast<void*>(address);
    bool written = process && ::VirtualAllocEx(process, at, path.size() + 1, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE)
                   && ::WriteProcessMemory(process, at, path.c_str(), path.size() + 1, nullptr);
    if (process)
        ::CloseHandle(process);
    return written;
}

TEST(Browse, FileListHoldsTheFilesOfTheWorkingFolder)
{
    WorkFolder folder;
    for (const char* name : { "b.JPG", "A.jpg", "_x.txt", "readme", "表.jpg", "ソ.png" })
        ASSERT_TRUE(folder.AddFile(name)) << name;
    ASSERT_TRUE(folder.AddFolder("sub"));
    ASSERT_TRUE(folder.AddFile("sub\\inner.jpg"));

    KiruneProcess kirune;
    ASSERT_TRUE(kirune.Start(folder.Path()));
    HWND main = kirune.MainWindow();
    ASSERT_NE(nullptr, main);

    HWND tree = ::GetDlgItem(main, kFolderTree);
    HWND list = ::GetDlgItem(main, kFileList);
    ASSERT_NE(nullptr, tree);
    ASSERT_NE(nullptr, list);
    const std::vector<std::string> names = { "A.jpg", "b.JPG", "readme", "_x.txt", "ソ.png", "表.jpg" };
    EXPECT_EQ(6, ::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    EXPECT_EQ(names, RowNames(list, kirune.Id()));
    EXPECT_NE(0, ::SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0)) << "the working folder is selected";
    EXPECT_FALSE(::IsWindowVisible(tree));
    EXPECT_FALSE(::IsWindowVisible(list));

    // WM_USER + 1 from another program, sent and then posted, with a wParam at
    // which the program holds a path: neither is read as one. The posted
    // DM_SETDEFID behind them shows, once it has taken, that both were handled.
    const UINT_PTR kForeign = 0x12345678;
    ASSERT_TRUE(PlantPath(kirune.Id(), kForeign, folder.Path() + "\\planted.jpg"));
    ::SendMessageA(main, WM_USER + 1, kForeign, 0);
    ::PostMessageA(main, WM_USER + 1, kForeign, 0);
    ::PostMessageA(main, DM_SETDEFID, kPrintAll, 0);
    EXPECT_TRUE(WaitUntil([&] { return ::SendMessageA(main, DM_GETDEFID, 0, 0) == MAKELRESULT(kPrintAll, DC_HASDEFID); }));
    EXPECT_FALSE(kirune.WaitExit(0)) << "the program ended";
    EXPECT_EQ(names, RowNames(list, kirune.Id()));

    ::PostMessageA(::GetDlgItem(main, 1021), BM_CLICK, 0, 0);
    EXPECT_TRUE(kirune.WaitExit(10000));
}

} // namespace
