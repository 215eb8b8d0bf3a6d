// The hidden folder tree: drives at the top level, folders read one level at
// a time, selection along a path whatever its case, and the announcements of
// the selected folder's files to the parent window.
#include "ApiSpy.h"
#include "BrowseFixture.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <cstring>

namespace {

const char kGettingIconFailed[] = "Error Gettting SystemFileInfo!";

std::vector<std::string> ChildTexts(CTreeCtrl& tree, HTREEITEM hParent)
{
    std::vector<std::string> texts;
    for (HTREEITEM h = tree.GetChildItem(hParent); h; h = tree.GetNextSiblingItem(h))
        texts.push_back(tree.GetItemText(h).str());
    return texts;
}

HTREEITEM ChildWithText(CTreeCtrl& tree, HTREEITEM hParent, const std::string& text)
{
    for (HTREEITEM h = tree.GetChildItem(hParent); h; h = tree.GetNextSiblingItem(h))
        if (tree.GetItemText(h).str() == text)
            return h;
    return nullptr;
}

// Whether the item has exactly one child, the placeholder with empty text.
bool HasOnlyPlaceholder(CTreeCtrl& tree, HTREEITEM hItem)
{
    return ChildTexts(tree, hItem) == std::vector<std::string>{ "" };
}

bool IsExpanded(CTreeCtrl& tree, HTREEITEM hItem)
{
    return (tree.GetItemState(hItem, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}

std::vector<std::string> DriveRoots()
{
    char buffer[128] = "";
    ::GetLogicalDriveStringsA(sizeof buffer, buffer);
    std::vector<std::string> roots;
    for (const char* p = buffer; *p; p += lstrlenA(p) + 1)
        roots.push_back(p);
    return roots;
}

// Folders and files of the tests:
//   A  b  _u            sort order of names
//   Hidden\inner        a hidden folder with a subfolder
//   Photos\2005         four files, no subfolder
//   Photos\Empty        nothing at all
//   表\ソ               names ending in the byte 0x5C; hidden and system files
//   top.txt
class FolderTree : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* folder : { "b", "_u", "A", "Photos", "Photos\\2005", "Photos\\Empty", "表", "表\\ソ" })
            ASSERT_TRUE(temp.MakeFolder(folder)) << folder;
        ASSERT_TRUE(temp.MakeFolder("Hidden", FILE_ATTRIBUTE_HIDDEN));
        ASSERT_TRUE(temp.MakeFolder("Hidden\\inner"));
        for (const char* file : { "Photos\\2005\\b.JPG", "Photos\\2005\\A.jpg", "Photos\\2005\\_x.txt",
                                  "Photos\\2005\\readme", "表\\ソ\\ツ.txt", "top.txt" })
            ASSERT_TRUE(temp.MakeFile(file)) << file;
        ASSERT_TRUE(temp.MakeFile("表\\ソ\\表.txt", FILE_ATTRIBUTE_SYSTEM));
        ASSERT_TRUE(temp.MakeFile("表\\ソ\\ソ.txt", FILE_ATTRIBUTE_HIDDEN));
        ASSERT_TRUE(::GetFileAttributesA((temp / "Hidden").c_str()) & FILE_ATTRIBUTE_HIDDEN);
        ASSERT_TRUE(::GetFileAttributesA((temp / "表\\ソ\\ソ.txt").c_str()) & FILE_ATTRIBUTE_HIDDEN);

        ASSERT_TRUE(recorder.Create());
        ASSERT_TRUE(tree.CreateEx(0, WC_TREEVIEWA, "", WS_CHILD | WS_BORDER | WS_TABSTOP | TVS_HASBUTTONS | TVS_LINESATROOT,
                                  CRect(0, 0, 200, 280), &recorder, IDC_FOLDER_TREE));
    }

    // Initializes the tree and forgets what that announced.
    void Initialize()
    {
        ASSERT_TRUE(tree.Initialize(TRUE)) << tree.m_lastError;
        recorder.m_log.clear();
    }

    TempFolder temp;
    AnnouncementRecorder recorder;
    CFolderTree tree;
};

TEST_F(FolderTree, ListsTheDrivesAtTheTopLevel)
{
    Initialize();
    EXPECT_TRUE(tree.m_showFiles);
    EXPECT_EQ("", tree.m_lastError.str());
    EXPECT_EQ(ShellSmallImageList(), tree.GetImageList(TVSIL_NORMAL));

    std::vector<std::string> expected;
    for (const std::string& root : DriveRoots())
        expected.push_back(root.substr(0, root.size() - 1));   // C:\ shows as C:
    EXPECT_EQ(expected, ChildTexts(tree, TVI_ROOT));
    EXPECT_NE(nullptr, ChildWithText(tree, TVI_ROOT, "C:"));
    EXPECT_NE(nullptr, ChildWithText(tree, TVI_ROOT, "Z:"));

    // Unread drives: a placeholder exactly where there are subfolders.
    for (HTREEITEM h = tree.GetChildItem(TVI_ROOT); h; h = tree.GetNextSiblingItem(h)) {
        std::string text = tree.GetItemText(h).str();
        EXPECT_EQ(tree.GetFullPath(h).str(), text);
        if (HasSubfolderOnDisk(text))
            EXPECT_TRUE(HasOnlyPlaceholder(tree, h)) << text;
        else
            EXPECT_EQ(nullptr, tree.GetChildItem(h)) << text;
    }
    EXPECT_TRUE(recorder.m_log.empty());
}

// A drive that is not a fixed disk may keep every look at it waiting: it
// is listed with a placeholder, its icons those of its type, unread. The
// fixed disks are read as before.
TEST_F(FolderTree, DrivesThatMayNotAnswerAreListedUnread)
{
    ApiSpy::Start();
    ApiSpy::s_otherDrives = true;
    Initialize();
    ApiSpy::Stop();
    std::vector<std::string> expected, looks, all;
    for (const char* drive : { "Q:", "R:", "S:", "U:" }) {
        HTREEITEM h = ChildWithText(tree, TVI_ROOT, drive);
        ASSERT_NE(nullptr, h) << drive;
        EXPECT_TRUE(HasOnlyPlaceholder(tree, h)) << drive;
        expected.insert(expected.end(), 2, "SHGetFileInfoA " + std::string(drive) + "\\ unopened");
    }
    for (const SpyCall& c : ApiSpy::Calls()) {
        all.push_back(c.name + " " + c.args);
        if (c.args.size() > 1 && std::strchr("QRSU", c.args[0]) && c.args[1] == ':')
            looks.push_back(all.back());
    }
    EXPECT_EQ(expected, looks);
    for (const char* look : { "SHGetFileInfoA C:\\", "FindFirstFileA C:\\*.*" })
        EXPECT_NE(all.end(), std::find(all.begin(), all.end(), look)) << look;
}

TEST_F(FolderTree, SelectPathIgnoresCaseAndAnnouncesTheSortedFiles)
{
    Initialize();
    std::string folder = temp / "Photos\\2005";
    ASSERT_TRUE(tree.SelectPath(LowerCase(folder).c_str()));

    HTREEITEM selected = tree.GetSelectedItem();
    ASSERT_NE(nullptr, selected);
    EXPECT_EQ(folder, tree.GetFullPath(selected).str());   // spelled as on disk
    EXPECT_EQ("2005", tree.GetItemText(selected).str());
    EXPECT_EQ("Photos", tree.GetItemText(tree.GetParentItem(selected)).str());
    EXPECT_EQ(Announcement({ folder + "\\A.jpg", folder + "\\b.JPG", folder + "\\readme", folder + "\\_x.txt" }),
              recorder.m_log);
}

TEST_F(FolderTree, SelectPathWalksNamesEndingInTheBackslashByte)
{
    Initialize();
    std::string folder = temp / "表\\ソ";
    ASSERT_TRUE(tree.SelectPath((folder + "\\").c_str()));

    HTREEITEM selected = tree.GetSelectedItem();
    ASSERT_NE(nullptr, selected);
    EXPECT_EQ("ソ", tree.GetItemText(selected).str());
    EXPECT_EQ("表", tree.GetItemText(tree.GetParentItem(selected)).str());
    EXPECT_EQ(folder, tree.GetFullPath(selected).str());
    // Hidden and system files count; ソ (0x835C) < ツ (0x8363) < 表 (0x955C).
    EXPECT_EQ(Announcement({ folder + "\\ソ.txt", folder + "\\ツ.txt", folder + "\\表.txt" }), recorder.m_log);
}

TEST_F(FolderTree, EmptyFolderAnnouncesOnlyTheClear)
{
    Initialize();
    ASSERT_TRUE(tree.SelectPath((temp / "Photos\\Empty").c_str()));
    EXPECT_EQ(Announcement({}), recorder.m_log);
}

TEST_F(FolderTree, ReadsFoldersSortedWithPlaceholdersOnlyWhereSubfoldersAre)
{
    Initialize();
    ASSERT_TRUE(tree.SelectPath(temp.Path().c_str()));
    HTREEITEM root = tree.GetSelectedItem();
    ASSERT_NE(nullptr, root);
    EXPECT_EQ(Announcement({ temp / "top.txt" }), recorder.m_log);

    // Hidden folders appear, dot entries never; letters compare as upper case.
    EXPECT_EQ((std::vector<std::string>{ "A", "b", "Hidden", "Photos", "_u", "表" }), ChildTexts(tree, root));
    for (const char* unread : { "Hidden", "Photos", "表" })
        EXPECT_TRUE(HasOnlyPlaceholder(tree, ChildWithText(tree, root, unread))) << unread;
    for (const char* leaf : { "A", "b", "_u" })
        EXPECT_EQ(nullptr, tree.GetChildItem(ChildWithText(tree, root, leaf))) << leaf;
}

TEST_F(FolderTree, MissingLastFolderSelectsAndExpandsNothing)
{
    Initialize();
    EXPECT_FALSE(tree.SelectPath((temp / "Photos\\Missing").c_str()));
    EXPECT_EQ(nullptr, tree.GetSelectedItem());
    EXPECT_FALSE(IsExpanded(tree, ChildWithText(tree, TVI_ROOT, temp.Path().substr(0, 2))));
    EXPECT_TRUE(recorder.m_log.empty());
}

TEST_F(FolderTree, PathUnderNoDriveSelectsAndExpandsNothing)
{
    Initialize();
    std::string unusedDrive;
    DWORD drives = ::GetLogicalDrives();
    for (int letter = 25; letter >= 0 && unusedDrive.empty(); letter--)
        if (!(drives & (1u << letter)))
            unusedDrive = std::string(1, static_cast<char>('A' + letter)) + ":\\photos";
    ASSERT_FALSE(unusedDrive.empty());

    for (const std::string& path : { std::string("\\\\server\\share\\photos"), unusedDrive, std::string("") }) {
        EXPECT_FALSE(tree.SelectPath(path.c_str())) << path;
        EXPECT_FALSE(tree.IsPathAvailable(path.c_str())) << path;
    }
    EXPECT_EQ(nullptr, tree.GetSelectedItem());
    for (HTREEITEM h = tree.GetChildItem(TVI_ROOT); h; h = tree.GetNextSiblingItem(h))
        EXPECT_FALSE(IsExpanded(tree, h)) << tree.GetItemText(h).str();
    EXPECT_TRUE(recorder.m_log.empty());
}

TEST_F(FolderTree, CollapsingAndExpandingReadsTheFolderAgain)
{
    Initialize();
    ASSERT_TRUE(tree.SelectPath((temp / "Photos").c_str()));
    HTREEITEM photos = tree.GetSelectedItem();
    ASSERT_NE(nullptr, photos);
    EXPECT_EQ((std::vector<std::string>{ "2005", "Empty" }), ChildTexts(tree, photos));
    ASSERT_TRUE(temp.MakeFolder("Photos\\Later"));

    // As a user would, with the keyboard on the selected item.
    tree.SendMessage(WM_KEYDOWN, VK_SUBTRACT, 0);
    EXPECT_FALSE(IsExpanded(tree, photos));
    EXPECT_TRUE(HasOnlyPlaceholder(tree, photos));
    tree.SendMessage(WM_KEYDOWN, VK_ADD, 0);
    EXPECT_TRUE(IsExpanded(tree, photos));
    EXPECT_EQ((std::vector<std::string>{ "2005", "Empty", "Later" }), ChildTexts(tree, photos));
}

TEST_F(FolderTree, SelectingAgainReadsEveryFolderOnThePathAfresh)
{
    Initialize();
    std::string folder = temp / "Photos\\2005";
    ASSERT_TRUE(tree.SelectPath(folder.c_str()));
    ASSERT_TRUE(temp.MakeFolder("Photos\\Later"));
    ASSERT_TRUE(temp.MakeFile("Photos\\2005\\new.txt"));
    recorder.m_log.clear();

    ASSERT_TRUE(tree.SelectPath(folder.c_str()));
    HTREEITEM selected = tree.GetSelectedItem();
    ASSERT_NE(nullptr, selected);
    EXPECT_EQ(folder, tree.GetFullPath(selected).str());
    EXPECT_EQ((std::vector<std::string>{ "2005", "Empty", "Later" }), ChildTexts(tree, tree.GetParentItem(selected)));
    // The last announcement is the folder's files as they are now.
    ASSERT_FALSE(recorder.m_log.empty());
    std::vector<std::string> last(std::find(recorder.m_log.rbegin(), recorder.m_log.rend(), "CLEAR").base() - 1,
                                  recorder.m_log.end());
    EXPECT_EQ(Announcement({ folder + "\\A.jpg", folder + "\\b.JPG", folder + "\\new.txt", folder + "\\readme",
                             folder + "\\_x.txt" }), last);
}

struct SubfolderCase {
    const char* relative;
    bool has;
};

class FolderTreeSubfolders : public FolderTree, public ::testing::WithParamInterface<SubfolderCase> {};

TEST_P(FolderTreeSubfolders, AnswersFromTheFolderItself)
{
    EXPECT_EQ(GetParam().has, tree.HasSubfolders((temp / GetParam().relative).c_str())) << GetParam().relative;
}

INSTANTIATE_TEST_SUITE_P(FolderTree, FolderTreeSubfolders, ::testing::Values(
    SubfolderCase{ "Photos", true },
    SubfolderCase{ "Photos\\", true },
    SubfolderCase{ "Photos\\2005", false },     // files only
    SubfolderCase{ "Photos\\Empty", false },
    SubfolderCase{ "Hidden", true },
    SubfolderCase{ "表", true },
    // not the pattern ...\表\ソ*.*, which would find the folder ソ itself
    SubfolderCase{ "表\\ソ", false },
    SubfolderCase{ "Missing", false }));

TEST_F(FolderTree, ItemWhoseIconsCannotBeHadIsNotInserted)
{
    Initialize();
    UINT before = tree.GetCount();
    EXPECT_EQ(nullptr, tree.InsertPathItem(TVI_ROOT, (temp / "Missing").c_str()));
    EXPECT_EQ(kGettingIconFailed, tree.m_lastError.str());
    EXPECT_EQ(before, tree.GetCount());

    HTREEITEM drive = tree.GetChildItem(TVI_ROOT);
    HTREEITEM item = tree.InsertPathItem(drive, (temp / "表").c_str());
    ASSERT_NE(nullptr, item);
    EXPECT_EQ("表", tree.GetItemText(item).str());
}

} // namespace
