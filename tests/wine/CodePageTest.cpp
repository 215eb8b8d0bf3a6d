// The program's own texts under an ANSI code page other than 932: a test
// entry of its own runs these in a locale whose code page is 1252, where
// the texts read back through the wide calls must still be the Japanese ones.
#include "MainWindowFixture.h"
#include "PrintRangeDlg.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::wstring WideText(HWND hwnd)
{
    wchar_t text[512] = L"";
    ::GetWindowTextW(hwnd, text, sizeof text / sizeof text[0]);
    return text;
}

std::vector<std::wstring> ChildTexts(HWND parent)
{
    std::vector<std::wstring> texts;
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        texts.push_back(WideText(child));
    return texts;
}

bool HasChildWithText(HWND parent, const std::wstring& text)
{
    for (const std::wstring& t : ChildTexts(parent))
        if (t == text)
            return true;
    return false;
}

std::wstring ColumnTitle(HWND list, int column)
{
    wchar_t text[64] = L"";
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT;
    col.pszText = text;
    col.cchTextMax = sizeof text / sizeof text[0];
    ::SendMessageW(list, LVM_GETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&col));
    return text;
}

class CodePageMainWindow : public MainWindowFixture {};

TEST_F(CodePageMainWindow, TitleButtonsMenuColumnsAndMessageReadRight)
{
    ASSERT_NE(932u, ::GetACP()) << "the test entry's locale did not take";
    HWND box = nullptr;
    Shown().Then([this] {
            EXPECT_EQ(L"Ｌ判写真印刷", WideText(dlg.m_hWnd));
            const struct { int id; const wchar_t* text; } buttons[] = {
                { IDC_IMPORT, L"取り込み" }, { IDC_PRINT_ALL, L"全印刷" },
                { IDC_PRINT_ONE, L"個別印刷" }, { IDC_EXIT, L"終了" },
            };
            for (const auto& b : buttons)
                EXPECT_EQ(b.text, WideText(::GetDlgItem(dlg.m_hWnd, b.id))) << b.id;
            wchar_t about[64] = L"";
            ::GetMenuStringW(::GetSystemMenu(dlg.m_hWnd, FALSE), IDM_ABOUTBOX, about, sizeof about / sizeof about[0], MF_BYCOMMAND);
            EXPECT_STREQ(L"ﾊﾞｰｼﾞｮﾝ情報(&A)...", about);
            const wchar_t* titles[] = { L"名前", L"ｻｲｽﾞ", L"種類", L"更新日" };
            for (int i = 0; i < 4; i++)
                EXPECT_EQ(titles[i], ColumnTitle(dlg.m_fileList.m_hWnd, i)) << i;
            PostClick(dlg.m_hWnd, IDC_PRINT_ONE);   // no photo selected
        })
        .WaitFor([&] { return (box = FindThreadWindow(AfxGetAppName())) != nullptr; }, "the message box")
        .Then([&] {
            EXPECT_TRUE(HasChildWithText(box, L"写真を選択（クリック）してください。"));
            PostClick(box, IDOK);
        })
        .WaitFor([&] { return !::IsWindow(box); }, "the message box to close");
    Run();
}

TEST(CodePageRangeDialog, TitlesAndMessageReadRight)
{
    ASSERT_NE(932u, ::GetACP()) << "the test entry's locale did not take";
    for (bool viewOnly : { false, true }) {
        CPrintRangeDlg dlg;
        dlg.m_viewOnly = viewOnly;
        HWND box = nullptr;
        ModalScript script;
        script.WaitFor([&] { return dlg.m_hWnd && ::IsWindowVisible(dlg.m_hWnd); }, "the dialog");
        if (viewOnly) {
            script.Then([&] {
                EXPECT_EQ(L"表示", WideText(dlg.m_hWnd));
                PostClick(dlg.m_hWnd, IDC_RANGE_CLOSE);
            });
        } else {
            script.Then([&] {
                    EXPECT_EQ(L"表示＆印刷範囲指定", WideText(dlg.m_hWnd));
                    EXPECT_EQ(L"印刷", WideText(::GetDlgItem(dlg.m_hWnd, IDC_RANGE_PRINT)));
                    EXPECT_EQ(L"閉じる", WideText(::GetDlgItem(dlg.m_hWnd, IDC_RANGE_CLOSE)));
                    PostClick(dlg.m_hWnd, IDC_RANGE_PRINT);   // no range dragged
                })
                .WaitFor([&] { return (box = FindThreadWindow(AfxGetAppName())) != nullptr; }, "the message box")
                .Then([&] {
                    EXPECT_TRUE(HasChildWithText(box, L"印刷範囲が、指定されていません。"));
                    PostClick(box, IDOK);
                })
                .WaitFor([&] { return !::IsWindow(box); }, "the message box to close")
                .Then([&] { PostClick(dlg.m_hWnd, IDC_RANGE_CLOSE); });
        }
        script.Start();
        EXPECT_EQ(IDCANCEL, dlg.DoModal()) << (viewOnly ? "view mode" : "range mode");
        EXPECT_TRUE(script.Finished()) << script.Failure();
    }
}

} // namespace
