// The main window's hidden folder tree and file list: at start-up the tree
// selects the working folder and the list holds one row per file in it.
#include "BrowseFixture.h"
#include "ModalScript.h"
#include <gtest/gtest.h>

namespace {

std::vector<std::string> Names(HWND list)
{
    std::vector<std::string> names;
    int count = static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; row++) {
        char text[512] = "";
        LVITEMA item{};
        item.pszText = text;
        item.cchTextMax = sizeof text;
        ::SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
        names.push_back(text);
    }
    return names;
}

class BrowseWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::GetCurrentDirectoryA(sizeof saved, saved);
    }
    void TearDown() override
    {
        ::SetCurrentDirectoryA(saved);
    }

    // Runs the main window in a working folder until the script has run.
    void RunIn(const std::string& folder)
    {
        ASSERT_TRUE(::SetCurrentDirectoryA(folder.c_str())) << folder;
        script.Then([this] { ::PostMessageA(dlg.m_hWnd, WM_CLOSE, 0, 0); });
        script.Start();
        AfxGetApp()->m_pMainWnd = &dlg;
        dlg.DoModal();
        AfxGetApp()->m_pMainWnd = nullptr;
        ::SetCurrentDirectoryA(saved);
        EXPECT_TRUE(script.Finished()) << script.Failure();
        EXPECT_EQ("", script.Failure());
    }

    char saved[MAX_PATH] = "";
    TempFolder temp;
    CKiruneDlg dlg;
    ModalScript script;
};

TEST_F(BrowseWindow, ListsTheFilesOfTheWorkingFolder)
{
    for (const char* file : { "b.JPG", "A.jpg", "_x.txt", "readme", "表.jpg" })
        ASSERT_TRUE(temp.MakeFile(file)) << file;
    ASSERT_TRUE(temp.MakeFolder("sub"));
    ASSERT_TRUE(temp.MakeFile("sub\\not-listed.jpg"));

    script.Then([this] {
        EXPECT_EQ(::GetDlgItem(dlg.m_hWnd, IDC_FOLDER_TREE), dlg.m_folderTree.m_hWnd);
        EXPECT_EQ(::GetDlgItem(dlg.m_hWnd, IDC_FILE_LIST), dlg.m_fileList.m_hWnd);
        EXPECT_FALSE(::IsWindowVisible(dlg.m_folderTree.m_hWnd));
        EXPECT_FALSE(::IsWindowVisible(dlg.m_fileList.m_hWnd));
        EXPECT_EQ((std::vector<std::string>{ "A.jpg", "b.JPG", "readme", "_x.txt", "表.jpg" }),
                  Names(dlg.m_fileList.m_hWnd));
        HTREEITEM selected = dlg.m_folderTree.GetSelectedItem();
        ASSERT_NE(nullptr, selected);
        EXPECT_EQ(temp.Path(), dlg.m_folderTree.GetFullPath(selected).str());
    });
    RunIn(temp.Path());
}

TEST_F(BrowseWindow, AWorkingFolderOfADriveRootSelectsTheDrive)
{
    script.Then([this] {
        HTREEITEM selected = dlg.m_folderTree.GetSelectedItem();
        ASSERT_NE(nullptr, selected);
        EXPECT_EQ("C:", dlg.m_folderTree.GetItemText(selected).str());
        EXPECT_EQ(nullptr, dlg.m_folderTree.GetParentItem(selected));
    });
    RunIn("C:\\");
}

TEST_F(BrowseWindow, SelectsNothingWhenTheWorkingFolderIsLongerThanTheBuffer)
{
    // 2 x 80 characters of two bytes each: under the platform's limit in
    // characters, over 256 in bytes.
    std::string name;
    for (int i = 0; i < 80; i++)
        name += "表";
    std::string deep = name + "\\" + name;
    ASSERT_TRUE(temp.MakeFolder(name));
    ASSERT_TRUE(temp.MakeFolder(deep));
    ASSERT_TRUE(temp.MakeFile(deep + "\\photo.jpg"));
    ASSERT_GT((temp / deep).size(), 256u);

    script.Then([this] {
        EXPECT_EQ(0, dlg.m_fileList.GetItemCount());
        EXPECT_EQ(nullptr, dlg.m_folderTree.GetSelectedItem());
        EXPECT_NE(nullptr, dlg.m_folderTree.GetChildItem(TVI_ROOT));   // the drives are there
        EXPECT_TRUE(::IsWindowVisible(dlg.m_hWnd));
    });
    RunIn(temp / deep);
}

} // namespace
