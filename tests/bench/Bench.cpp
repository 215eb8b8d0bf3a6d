// Benchmarks of the program's own work against the floor of the platform
// calls it cannot avoid, each measured in the same run. Prints figures and
// ratios; asserts nothing (speed goals are read, not tested).
//
//   kirune_bench --photos=FOLDER [--pdfs=FOLDER] [--only=NAME]
//
// --photos holds the generated photos (scripts/bench makes them); --pdfs is
// where the printer named by KIRUNE_BENCH_PRINTER writes its PDFs.
#include "ImportSlot.h"
#include "KiruneDlg.h"
#include "ModalScript.h"
#include "PrinterDC.h"
#include "PageGeometry.h"
#include <commctrl.h>
#include <gdiplus.h>
#include <psapi.h>
#include <shellapi.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

// The program's pauses go through this slot.
extern "C" void* imp_Sleep __asm__(IMPORT_SLOT(Sleep, 4));

namespace {

void WINAPI NoPause(DWORD) {}

CWinApp benchApp;

std::string g_photos;
std::string g_only;
std::string g_pdfs;

double Now()
{
    static LARGE_INTEGER frequency = [] { LARGE_INTEGER f; ::QueryPerformanceFrequency(&f); return f; }();
    LARGE_INTEGER t;
    ::QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::vector<std::string> Files(const std::string& folder, const char* pattern)
{
    std::vector<std::string> files;
    WIN32_FIND_DATAA fd;
    HANDLE h = ::FindFirstFileA((folder + "\\" + pattern).c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do
            files.push_back(folder + "\\" + fd.cFileName);
        while (::FindNextFileA(h, &fd));
        ::FindClose(h);
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::wstring Wide(const std::string& s)
{
    int n = ::MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, &w[0], n);
    return w;
}

// The floor of showing a photo: the imaging calls every decode needs.
double DecodeFloor(const std::vector<std::string>& files)
{
    double start = Now();
    for (const std::string& file : files) {
        GpBitmap* bitmap = nullptr;
        GdipCreateBitmapFromFile(Wide(file).c_str(), &bitmap);
        HBITMAP hBitmap = nullptr;
        if (bitmap) {
            GdipCreateHBITMAPFromBitmap(bitmap, &hBitmap, 0xFF000000);
            GdipDisposeImage(bitmap);
        }
        if (hBitmap)
            ::DeleteObject(hBitmap);
    }
    return Now() - start;
}

// The commit charge: the private bytes (Wine reports PrivateUsage as 0).
SIZE_T PrivateBytes()
{
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
    return counters.PagefileUsage;
}

// One run of a figure: the program's time and its floor's, measured one
// beside the other.
struct Sample {
    double measured;
    double floor;
};

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// A figure's runs in short: the median of each side, and the lowest and
// highest ratio of one run's time to the floor measured beside it.
struct Summary {
    double measured;
    double floor;
    double lowest;
    double highest;
};

Summary Summarise(const std::vector<Sample>& samples)
{
    std::vector<double> measured, floor, ratios;
    for (const Sample& sample : samples) {
        measured.push_back(sample.measured);
        floor.push_back(sample.floor);
        ratios.push_back(sample.measured / sample.floor);
    }
    auto range = std::minmax_element(ratios.begin(), ratios.end());
    return { Median(measured), Median(floor), *range.first, *range.second };
}

const char kColumns[] = "%-34s %11s %11s %6s  %-15s %s\n";

// A row: the medians, the ratio of the medians and the spread of the runs'
// ratios; with no floor to compare with, the spread of the runs' times.
// `note` ends the line.
void Report(const char* name, const std::vector<Sample>& samples, const char* note = "")
{
    static bool legend = false;
    if (!legend) {
        std::printf("measured and floor: the medians of the runs; ratio: theirs; spread: the lowest and highest\n"
                    "ratio of one run's time to the floor measured beside it. A warm-up before the runs is not one.\n");
        std::printf(kColumns, "", "measured", "floor", "ratio", "spread", "runs");
        legend = true;
    }
    Summary summary = Summarise(samples);
    char measured[32], floor[32], ratio[16] = "-", spread[48] = "-", runs[160];
    std::snprintf(measured, sizeof measured, "%9.3f s", summary.measured);
    std::snprintf(floor, sizeof floor, "%9.3f s", summary.floor);
    bool hasFloor = summary.floor >= 0.001;
    if (hasFloor)
        std::snprintf(ratio, sizeof ratio, "%6.2f", summary.measured / summary.floor);
    if (hasFloor && samples.size() > 1) {
        std::snprintf(spread, sizeof spread, "[%.2f-%.2f]", summary.lowest, summary.highest);
    } else if (samples.size() > 1) {
        auto times = std::minmax_element(samples.begin(), samples.end(),
                                         [](const Sample& a, const Sample& b) { return a.measured < b.measured; });
        std::snprintf(spread, sizeof spread, "[%.2f-%.2f s]", times.first->measured, times.second->measured);
    }
    int count = static_cast<int>(samples.size());
    std::snprintf(runs, sizeof runs, "%d run%s%s", count, count > 1 ? "s" : "", note);
    std::printf(kColumns, name, measured, floor, ratio, spread, runs);
    std::fflush(stdout);
}

// Runs the main window and calls `work` once it is shown.
void WithMainWindow(const std::function<void(CKiruneDlg&)>& work)
{
    CKiruneDlg dlg;
    ModalScript script(600000);
    script.WaitShown(dlg.m_hWnd, "the main window")
        .Then([&] { work(dlg); })
        .Then([&] { ::PostMessageA(dlg.m_hWnd, WM_CLOSE, 0, 0); });
    benchApp.m_pMainWnd = &dlg;
    script.Start();
    dlg.DoModal();
    benchApp.m_pMainWnd = nullptr;
}

void Import(CKiruneDlg& dlg, const std::vector<std::string>& files)
{
    // What the import does once the dialog has returned the names.
    int first = dlg.m_photoList.GetSize();
    for (const std::string& file : files)
        dlg.m_photoList.Add(Wide(file).c_str());
    struct Access : CKiruneDlg {
        static void Refresh(CKiruneDlg& d, int first, int count) { (d.*&Access::RefreshPage)(first, count); }
    };
    Access::Refresh(dlg, first, static_cast<int>(files.size()));
    ::UpdateWindow(dlg.m_hWnd);
}

// Runs of each figure; the warm-up before them is not one of them.
const int kPhotoRuns = 3;
const int kStartupRuns = 5;

// Reads each photo whole and decodes the first, so that no run pays for
// reading from the disk or for the imaging library's first decode.
void WarmUp(const std::vector<std::string>& files)
{
    static char buffer[1 << 16];
    for (const std::string& file : files) {
        HANDLE h = ::CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            continue;
        DWORD read = 0;
        while (::ReadFile(h, buffer, sizeof buffer, &read, nullptr) && read > 0)
            continue;
        ::CloseHandle(h);
    }
    if (!files.empty())
        DecodeFloor({ files.front() });
}

void PageRefresh()
{
    std::vector<std::string> files = Files(g_photos, "big*.jpg");
    files.resize(std::min<size_t>(files.size(), 12));
    WarmUp(files);
    std::vector<Sample> samples;
    for (int run = 0; run < kPhotoRuns; run++) {
        double floor = DecodeFloor(files);
        double measured = 0;
        WithMainWindow([&](CKiruneDlg& dlg) {
            double start = Now();
            Import(dlg, files);
            measured = Now() - start;
        });
        samples.push_back({ measured, floor });
    }
    Report("page refresh (12 photos)", samples);
}

void Scroll()
{
    std::vector<std::string> files = Files(g_photos, "big*.jpg");
    if (files.size() < 15) {
        std::printf("scroll: needs 15 photos\n");
        return;
    }
    files.resize(15);
    std::vector<std::string> incoming(files.begin() + 12, files.begin() + 15);
    WarmUp(files);
    std::vector<Sample> samples;
    WithMainWindow([&](CKiruneDlg& dlg) {
        Import(dlg, files);
        for (int run = 0; run < kPhotoRuns; run++) {
            double floor = DecodeFloor(incoming);
            double start = Now();
            dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SCROLL_DOWN, BN_CLICKED), 0);
            ::UpdateWindow(dlg.m_hWnd);
            samples.push_back({ Now() - start, floor });
            // Back to the first page for the next run, untimed.
            dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SCROLL_UP, BN_CLICKED), 0);
            ::UpdateWindow(dlg.m_hWnd);
        }
    });
    Report("scroll down (3 incoming)", samples);
}

void Memory()
{
    std::vector<std::string> small = Files(g_photos, "small*.jpg");
    if (small.empty()) {
        std::printf("memory: no small photos\n");
        return;
    }
    std::vector<std::string> files;
    for (int i = 0; i < 1000; i++)
        files.push_back(small[static_cast<size_t>(i) % small.size()]);
    WithMainWindow([&](CKiruneDlg& dlg) {
        SIZE_T base = PrivateBytes();
        Import(dlg, files);
        SIZE_T afterImport = PrivateBytes();
        LONG gdiBefore = CGdiObject::LiveCount();
        int pages = 0;
        while (dlg.m_topIndex + kCellCount < dlg.m_photoList.GetSize()) {
            dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SCROLL_DOWN, BN_CLICKED), 0);
            ++pages;
        }
        SIZE_T atBottom = PrivateBytes();
        // Back up without the half-second pause of each step: the pause is
        // the command's own, not work, and would add minutes of waiting.
        auto pause = PatchImportSlot(imp_Sleep, &NoPause);
        while (dlg.m_topIndex > 0)
            dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SCROLL_UP, BN_CLICKED), 0);
        PatchImportSlot(imp_Sleep, pause);
        SIZE_T end = PrivateBytes();
        std::printf("memory: %d scroll steps down and back\n", pages);
        std::printf("  private bytes: start %.1f MB, after import %.1f MB, at the bottom %.1f MB, back on top %.1f MB\n",
                    base / 1048576.0, afterImport / 1048576.0, atBottom / 1048576.0, end / 1048576.0);
        std::printf("  growth beyond the import: %.2f MB\n", (static_cast<double>(end) - afterImport) / 1048576.0);
        std::printf("  GDI objects held by the program: before scrolling %ld, after %ld\n", gdiBefore, CGdiObject::LiveCount());
    });
}

// The floor of printing a photo at `dpi`: loading it, turning it and drawing
// it onto a memory bitmap of the L-size area at that resolution, since the
// drawing's cost grows with the page's pixels.
double PrintFloor(const std::vector<std::string>& files, int dpi)
{
    uint32_t pageW = 0, pageH = 0;
    LPageSize(static_cast<float>(dpi), static_cast<float>(dpi), pageW, pageH);
    HDC screen = ::GetDC(nullptr);
    HDC mem = ::CreateCompatibleDC(screen);
    HBITMAP page = ::CreateCompatibleBitmap(screen, static_cast<int>(pageW), static_cast<int>(pageH));
    HGDIOBJ old = ::SelectObject(mem, page);
    double start = Now();
    for (const std::string& file : files) {
        GpGraphics* graphics = nullptr;
        GdipCreateFromHDC(mem, &graphics);
        GdipSetPageUnit(graphics, UnitPixel);
        GpImage* image = nullptr;
        GdipLoadImageFromFile(Wide(file).c_str(), &image);
        UINT w = 0, h = 0;
        GdipGetImageWidth(image, &w);
        GdipGetImageHeight(image, &h);
        if (w > h) {
            GdipImageRotateFlip(image, Rotate90FlipNone);
            GdipGetImageWidth(image, &w);
            GdipGetImageHeight(image, &h);
        }
        GdipDrawImageRectRectI(graphics, image, 0, 0, static_cast<INT>(pageW), static_cast<INT>(pageH), 0, 0,
                               static_cast<INT>(w), static_cast<INT>(h), UnitPixel, nullptr, nullptr, nullptr);
        GdipDisposeImage(image);
        GdipDeleteGraphics(graphics);
    }
    double elapsed = Now() - start;
    ::SelectObject(mem, old);
    ::DeleteObject(page);
    ::DeleteDC(mem);
    ::ReleaseDC(nullptr, screen);
    return elapsed;
}

// The PDFs in the printer's folder (--pdfs=); none when it is not given.
std::vector<std::string> Pdfs()
{
    return g_pdfs.empty() ? std::vector<std::string>() : Files(g_pdfs, "*.pdf");
}

// Waits until the PDF printer's folder (--pdfs=) holds `count` PDFs, so
// that no run shares the processors with the conversion of the jobs before
// it; says so when ten minutes were not enough.
void WaitForPdfs(int count)
{
    double start = Now();
    while (!g_pdfs.empty() && static_cast<int>(Pdfs().size()) < count) {
        if (Now() - start > 600) {
            std::printf("print: the PDF printer has written %d of %d PDFs in ten minutes; going on\n",
                        static_cast<int>(Pdfs().size()), count);
            return;
        }
        ::Sleep(100);
    }
}

// The time the print command's jobs take per photo of `files` on `hdc`.
double PrintTime(HDC hdc, const std::vector<std::string>& files)
{
    double measured = 0;
    WithMainWindow([&](CKiruneDlg& dlg) {
        double start = Now();
        for (const std::string& file : files)
            dlg.PrintPhoto(hdc, Wide(file).c_str());
        measured = (Now() - start) / files.size();
    });
    return measured;
}

// Print all: the jobs the command runs once the printer dialog is confirmed,
// on the PDF printer at 300 and 600 dpi, each against the floor at its dpi.
// A warm-up of one photo at each dpi comes first.
void PrintAll()
{
    // Six photos a run: the time per photo is the figure, and twelve at
    // two resolutions, with the PDFs waited for, would take the benchmark
    // past twenty minutes.
    std::vector<std::string> files = Files(g_photos, "big*.jpg");
    files.resize(std::min<size_t>(files.size(), 6));
    const char* printer = std::getenv("KIRUNE_BENCH_PRINTER");
    if (!printer || files.empty()) {
        std::printf("print: needs KIRUNE_BENCH_PRINTER and photos\n");
        return;
    }
    const int dpis[] = { 300, 600 };
    HDC hdcs[2] = {};
    std::vector<Sample> samples[2];
    for (int i = 0; i < 2; i++) {
        hdcs[i] = PrinterDC(printer, dpis[i]);
        if (!hdcs[i])
            std::printf("print: no DC for %s at %d dpi\n", printer, dpis[i]);
    }
    WarmUp(files);
    std::vector<std::string> before = Pdfs();
    int pdfs = static_cast<int>(before.size());
    const int kWarmUp = -1;
    for (int run = kWarmUp; run < kPhotoRuns; run++) {
        std::vector<std::string> batch = run == kWarmUp ? std::vector<std::string>{ files.front() } : files;
        for (int i = 0; i < 2; i++) {
            if (!hdcs[i])
                continue;
            WaitForPdfs(pdfs);
            double floor = PrintFloor(batch, dpis[i]) / batch.size();
            double measured = PrintTime(hdcs[i], batch);
            pdfs += static_cast<int>(batch.size());
            if (run != kWarmUp)
                samples[i].push_back({ measured, floor });
        }
    }
    WaitForPdfs(pdfs);
    // The PDFs were only waited for: a benchmark's would fill half a gigabyte.
    for (const std::string& pdf : Pdfs())
        if (!std::binary_search(before.begin(), before.end(), pdf))
            ::DeleteFileA(pdf.c_str());
    for (int i = 0; i < 2; i++) {
        if (!hdcs[i])
            continue;
        ::DeleteDC(hdcs[i]);
        char name[64];
        std::snprintf(name, sizeof name, "print all, per photo, %d dpi", dpis[i]);
        Report(name, samples[i]);
    }
}

// A folder of `count` empty files, made once.
std::string StartupFolder(int count)
{
    char name[64];
    std::snprintf(name, sizeof name, "\\startup-%d", count);
    std::string folder = g_photos + name;
    if (::CreateDirectoryA(folder.c_str(), nullptr) || Files(folder, "*.txt").size() != static_cast<size_t>(count)) {
        for (int i = 0; i < count; i++) {
            std::snprintf(name, sizeof name, "\\file%05d.txt", i);
            HANDLE h = ::CreateFileA((folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
            ::CloseHandle(h);
        }
    }
    return folder;
}

// The floor of filling the file list: listing the folder and asking the
// shell for each file's small icon once.
double ListingFloor(const std::string& folder)
{
    double start = Now();
    WIN32_FIND_DATAA fd;
    HANDLE h = ::FindFirstFileA((folder + "\\*.*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                continue;
            SHFILEINFOA info = {};
            ::SHGetFileInfoA((folder + "\\" + fd.cFileName).c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON);
            if (info.hIcon)
                ::DestroyIcon(info.hIcon);
        } while (::FindNextFileA(h, &fd));
        ::FindClose(h);
    }
    return Now() - start;
}

// One start-up in `folder`: the time until the main window shows; `rows`
// receives the rows of its file list.
double StartupTime(const std::string& folder, int& rows)
{
    char previous[MAX_PATH] = "";
    ::GetCurrentDirectoryA(MAX_PATH, previous);
    ::SetCurrentDirectoryA(folder.c_str());
    double start = Now();
    double shown = 0;
    {
        CKiruneDlg dlg;
        ModalScript script(600000);
        script.WaitShown(dlg.m_hWnd, "the main window")
            .Then([&] {
                shown = Now() - start;
                rows = static_cast<int>(::SendDlgItemMessageA(dlg.m_hWnd, IDC_FILE_LIST, LVM_GETITEMCOUNT, 0, 0));
                ::PostMessageA(dlg.m_hWnd, WM_CLOSE, 0, 0);
            });
        benchApp.m_pMainWnd = &dlg;
        script.Start();
        dlg.DoModal();
        benchApp.m_pMainWnd = nullptr;
    }
    ::SetCurrentDirectoryA(previous);
    return shown;
}

void Startup()
{
    // An empty folder shows the fixed cost of building and showing the
    // window. It varies between runs far more than the files' own cost, so
    // a fuller folder's start-up less the empty folder's in the same run is
    // set against the floor too. A process's first window, and its first
    // file list with files in it, pay once for what later ones find ready: a
    // warm-up start-up in the fuller folder takes that, and nothing is
    // reckoned from it.
    const int kFew = 100;
    std::string empty = StartupFolder(0), few = StartupFolder(kFew);
    int rows[2] = {};
    double warmUp = StartupTime(few, rows[1]);
    std::vector<Sample> emptyRuns, fewRuns, fewCost;
    for (int run = 0; run < kStartupRuns; run++) {
        Sample e, f;
        e.floor = ListingFloor(empty);
        e.measured = StartupTime(empty, rows[0]);
        f.floor = ListingFloor(few);
        f.measured = StartupTime(few, rows[1]);
        emptyRuns.push_back(e);
        fewRuns.push_back(f);
        fewCost.push_back({ f.measured - e.measured, f.floor });
    }
    char name[64];
    std::snprintf(name, sizeof name, "start-up (0 files, %d rows)", rows[0]);
    Report(name, emptyRuns);
    std::snprintf(name, sizeof name, "start-up (%d files, %d rows)", kFew, rows[1]);
    Report(name, fewRuns);
    std::snprintf(name, sizeof name, "  files' cost (%d less 0)", kFew);
    Report(name, fewCost);
    std::printf("  (the warm-up start-up with %d files before the runs: %.3f s)\n", kFew, warmUp);

    // One run alone: it takes minutes, and more runs of it would take the
    // whole benchmark past twenty minutes.
    const int kFull = 10000;
    std::string full = StartupFolder(kFull);
    int fullRows = 0;
    Sample f;
    f.floor = ListingFloor(full);
    f.measured = StartupTime(full, fullRows);
    std::snprintf(name, sizeof name, "start-up (%d files, %d rows)", kFull, fullRows);
    Report(name, { f }, ", as more would take the benchmark past 20 minutes");
    std::snprintf(name, sizeof name, "  files' cost (%d less 0)", kFull);
    Report(name, { { f.measured - Summarise(emptyRuns).measured, f.floor } }, ", less the median start-up with 0 files");
}

} // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; i++) {
        if (std::strncmp(argv[i], "--photos=", 9) == 0)
            g_photos = argv[i] + 9;
        else if (std::strncmp(argv[i], "--only=", 7) == 0)
            g_only = argv[i] + 7;
        else if (std::strncmp(argv[i], "--pdfs=", 7) == 0)
            g_pdfs = argv[i] + 7;
    }
    if (g_photos.empty()) {
        std::fprintf(stderr, "usage: kirune_bench --photos=FOLDER [--pdfs=FOLDER] [--only=NAME]\n");
        return 2;
    }
    benchApp.InitApplication(::GetModuleHandleA(nullptr));
    GdiplusStartupInput input;
    ULONG_PTR token = 0;
    GdiplusStartup(&token, &input, nullptr);

    const struct {
        const char* name;
        void (*run)();
    } benches[] = {
        { "page", PageRefresh }, { "scroll", Scroll }, { "print", PrintAll }, { "startup", Startup }, { "memory", Memory },
    };
    for (const auto& bench : benches)
        if (g_only.empty() || g_only == bench.name)
            bench.run();
    return 0;
}
