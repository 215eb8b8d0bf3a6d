// The hidden file list: four columns as wide as their padded titles in the
// control's font, one row per added file in the order of the adds, and the
// shell's system image list left alive.
#include "BrowseFixture.h"
#include <gtest/gtest.h>

namespace {

struct Column {
    std::string title;
    int width;
    int format;
    int subItem;
};

std::vector<Column> Columns(HWND list)
{
    std::vector<Column> columns;
    for (int i = 0;; i++) {
        char title[64] = "";
        LVCOLUMNA column{};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.pszText = title;
        column.cchTextMax = sizeof title;
        if (!::SendMessageA(list, LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&column)))
            return columns;
        columns.push_back({ title, column.cx, column.fmt & LVCFMT_JUSTIFYMASK, column.iSubItem });
    }
}

std::string CellText(HWND list, int row, int subItem)
{
    char text[512] = "";
    LVITEMA item{};
    item.iSubItem = subItem;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    ::SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    return text;
}

std::vector<std::string> Names(HWND list)
{
    std::vector<std::string> names;
    int count = static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; row++)
        names.push_back(CellText(list, row, 0));
    return names;
}

// The width of a text drawn in the window's font.
int TextWidth(HWND hwnd, const std::string& text)
{
    HDC dc = ::GetDC(hwnd);
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageA(hwnd, WM_GETFONT, 0, 0)));
    SIZE size{};
    ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    ::SelectObject(dc, old);
    ::ReleaseDC(hwnd, dc);
    return size.cx;
}

HIMAGELIST OneIconList()
{
    HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32, 1, 1);
    ImageList_AddIcon(list, ::LoadIconA(nullptr, MAKEINTRESOURCEA(32512)));   // IDI_APPLICATION
    return list;
}

class FileList : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.Create());
        // A large font of the test's own: the widths must follow the control's font.
        font = ::CreateFontA(-24, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, "ＭＳ Ｐゴシック");
        HWND hwnd = ::CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_BORDER | WS_TABSTOP | LVS_REPORT,
                                      0, 0, 200, 200, parent.m_hWnd, reinterpret_cast<HMENU>(IDC_FILE_LIST),
                                      ::GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(nullptr, hwnd);
        ::SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        ASSERT_TRUE(list.SubclassWindow(hwnd));
    }

    void TearDown() override
    {
        list.DestroyWindow();
        ::DeleteObject(font);
    }

    AnnouncementRecorder parent;
    CFileListCtrl list;
    HFONT font = nullptr;
};

TEST_F(FileList, HasFourLeftColumnsAsWideAsTheirPaddedTitles)
{
    const char* titles[] = { "名前", "ｻｲｽﾞ", "種類", "更新日" };
    std::vector<Column> columns = Columns(list.m_hWnd);
    ASSERT_EQ(4u, columns.size());
    for (int i = 0; i < 4; i++) {
        EXPECT_EQ(titles[i], columns[i].title) << i;
        EXPECT_EQ(TextWidth(list.m_hWnd, std::string("  ") + titles[i] + "  "), columns[i].width) << titles[i];
        EXPECT_GT(columns[i].width, TextWidth(list.m_hWnd, titles[i])) << titles[i];
        EXPECT_EQ(LVCFMT_LEFT, columns[i].format) << i;
        EXPECT_EQ(i, columns[i].subItem) << i;
    }
}

TEST_F(FileList, ShowsTheSystemSmallIcons)
{
    EXPECT_EQ(ShellSmallImageList(), list.GetImageList(LVSIL_SMALL));
    EXPECT_EQ(ShellSmallImageList(), list.m_imageList.GetSafeHandle());
}

TEST_F(FileList, AddsOneRowPerFileInTheOrderOfTheAdds)
{
    const char* paths[] = { "C:\\PHOTOS\\IMG_0001.JPG", "C:\\写真\\表", "Z:\\tmp\\ソ\\", "no backslash", "C:\\a.jpg" };
    for (const char* path : paths)
        list.AddFile(path);
    EXPECT_EQ((std::vector<std::string>{ "IMG_0001.JPG", "表", "ソ", "no backslash", "a.jpg" }), Names(list.m_hWnd));
    for (int row = 0; row < 5; row++)
        for (int subItem = 1; subItem <= 3; subItem++)
            EXPECT_EQ("", CellText(list.m_hWnd, row, subItem)) << row << "," << subItem;
}

TEST_F(FileList, ClearLeavesNoRowsButTheColumns)
{
    list.AddFile("C:\\a.jpg");
    list.AddFile("C:\\b.jpg");
    list.ClearFiles();
    EXPECT_EQ(0, list.GetItemCount());
    EXPECT_EQ(4u, Columns(list.m_hWnd).size());
    list.AddFile("C:\\c.jpg");
    EXPECT_EQ(std::vector<std::string>{ "c.jpg" }, Names(list.m_hWnd));
}

TEST_F(FileList, DestroyingTheControlLeavesItsImageListAlive)
{
    // The list view would destroy a list it does not share; the shell's
    // system image list is not the program's to destroy. A list of the
    // test's own shows what the control does with it.
    HIMAGELIST own = OneIconList();
    list.SetImageList(own, LVSIL_SMALL);
    list.DestroyWindow();
    EXPECT_EQ(1, ImageList_GetImageCount(own));
    ImageList_Destroy(own);
}

TEST(ImageList, WrapperNeverDestroysTheListItViews)
{
    HIMAGELIST own = OneIconList();
    {
        CImageList view;
        ASSERT_TRUE(view.Attach(own));
        EXPECT_EQ(own, static_cast<HIMAGELIST>(view));
        CImageList other;
        ASSERT_TRUE(other.Attach(own));
        EXPECT_EQ(own, other.Detach());
        EXPECT_EQ(nullptr, other.GetSafeHandle());
    }
    EXPECT_EQ(1, ImageList_GetImageCount(own));
    ImageList_Destroy(own);
}

} // namespace
