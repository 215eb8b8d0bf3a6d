// Long runs: the GDI objects the program holds and its private bytes come
// back to their level after the first round.
#include "ApiSpy.h"
#include "CommonDialogs.h"
#include "MainWindowFixture.h"
#include "PostedMouse.h"
#include "TestImages.h"
#include <psapi.h>
#include <cstdio>

namespace {

const double kMegabyte = 1048576.0;

// The commit charge: the private bytes (Wine reports PrivateUsage as 0).
double PrivateMegabytes()
{
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
    return counters.PagefileUsage / kMegabyte;
}

// The level after the first rounds, which the last round must come back to:
// the private bytes, and the GDI objects the program holds in its wrappers
// (the print jobs hold none: their GDI+ objects are paired by the spy).
struct Baseline {
    void Take()
    {
        gdi = CGdiObject::LiveCount();
        megabytes = PrivateMegabytes();
    }
    void ExpectReturned(const char* after) const
    {
        ASSERT_GT(megabytes, 1.0);
        EXPECT_EQ(gdi, CGdiObject::LiveCount());
        double growth = PrivateMegabytes() - megabytes;
        std::printf("private bytes after %s: %+.2f MB beyond the first rounds\n", after, growth);
        EXPECT_LT(growth, 2.0);
    }
    LONG gdi = 0;
    double megabytes = 0;
};

class Soak : public MainWindowFixture {
protected:
    // Imports `count` copies of a few small photos.
    void ImportCopies(int count)
    {
        std::vector<std::string> names;
        for (int i = 0; i < count; i++) {
            char name[16];
            std::snprintf(name, sizeof name, "s%04d.jpg", i);
            names.push_back(name);
        }
        const int kDistinct = 4;   // the rest are copies of these
        for (int i = 0; i < kDistinct && i < count; i++)
            ASSERT_TRUE(SaveSolid(folder.File(names[static_cast<size_t>(i)]), 400, 300, "image/jpeg",
                                  0xFF000000 | static_cast<DWORD>(i * 0x304050)));
        for (int i = kDistinct; i < count; i++)
            ASSERT_TRUE(::CopyFileA(folder.File(names[static_cast<size_t>(i % kDistinct)]).c_str(),
                                    folder.File(names[static_cast<size_t>(i)]).c_str(), FALSE));
        ImportThroughDialog(script, dlg, folder.Path(), names);
    }
    void Command(int id) { dlg.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

    TempFolder folder;
};

TEST_F(Soak, ThreeHundredScrollStepsHoldTwelveBitmaps)
{
    Shown();
    ImportCopies(1000);
    script.Then([this] {
        ASSERT_EQ(1000, dlg.m_photoList.GetSize());
        // First round, then the level to come back to.
        for (int i = 0; i < 10; i++)
            Command(IDC_SCROLL_DOWN);
        Baseline baseline;
        baseline.Take();
        for (int i = 0; i < 290; i++)
            Command(IDC_SCROLL_DOWN);
        EXPECT_EQ(300 * 3, dlg.m_topIndex);
        EXPECT_EQ(kCellCount, CGdiObject::LiveCount());   // twelve fitted bitmaps, nothing else
        baseline.ExpectReturned("300 scroll steps");
    });
    Run();
}

TEST_F(Soak, FiftyRangeDialogsOpenedAndClosed)
{
    Shown();
    ImportCopies(4);
    Baseline baseline;
    for (int round = 0; round < 50; round++) {
        auto dialog = std::make_shared<HWND>(nullptr);
        script.Then([this, round] { dlg.m_cells[round % 4].ChoosePrintRange(); })
            .WaitFor([dialog] { return (*dialog = FindThreadWindow("表示＆印刷範囲指定")) != nullptr; }, "a range dialog")
            .Then([dialog, round] {
                PostDrag(::GetDlgItem(*dialog, IDC_PICTURE), 10, 10, 100, 40);
                PostClick(*dialog, round % 2 ? IDC_RANGE_CLOSE : IDC_RANGE_PRINT);
            })
            .WaitFor([dialog] { return !::IsWindow(*dialog); }, "the range dialog to close")
            .Then([&, round] {
                if (round == 4)
                    baseline.Take();
            });
    }
    script.Then([&] { baseline.ExpectReturned("50 range dialogs"); });
    Run();
}

TEST_F(Soak, TwentyPrintAllRuns)
{
    Shown();
    ImportCopies(1);
    Baseline baseline;
    for (int round = 0; round < 20; round++) {
        auto printDialog = std::make_shared<HWND>(nullptr);
        script.Then([this] { PostClick(dlg.m_hWnd, IDC_PRINT_ALL); })
            .WaitFor([printDialog] { return (*printDialog = FindThreadWindow("印刷")) != nullptr; }, "the printer dialog")
            .Then([printDialog] { EXPECT_TRUE(PrintToDiscardPrinter(*printDialog)); })
            .WaitFor([this, printDialog] { return !::IsWindow(*printDialog) && ::IsWindowEnabled(dlg.m_hWnd); },
                     "the jobs to end")
            .Pause(2)
            .Then([&, round] {
                if (round == 1) {
                    baseline.Take();
                    ApiSpy::Start();
                }
            });
    }
    script.Then([&] {
        ApiSpy::Stop();
        baseline.ExpectReturned("20 print-all runs");
        EXPECT_EQ(18, ApiSpy::Count("StartDoc"));
        EXPECT_EQ(std::vector<std::string>(), ApiSpy::Unreleased());
    });
    Run();
}

} // namespace
