// Damaged and hostile image files through the picture control: no crash, no
// leaked GDI object, and the failure behaviour where decoding fails. The
// seeds come from make-corpus.sh (folder in KIRUNE_CORPUS); the damage is
// done here, the same on every run.
#include "ApiSpy.h"
#include "KiruneDlg.h"
#include "MainWindowFixture.h"
#include "TestImages.h"
#include <gtest/gtest.h>
#include <cstdio>
#include <cstdlib>

namespace {

// A small fixed random sequence, so every run damages the files alike.
class Lcg {
public:
    explicit Lcg(unsigned seed) : m_state(seed) {}
    unsigned Next(unsigned bound)
    {
        m_state = m_state * 1103515245u + 12345u;
        return (m_state >> 8) % bound;
    }
private:
    unsigned m_state;
};

struct Damaged {
    std::string path;
    bool mustFail;   // no decoder can make a picture of it
};

std::vector<Damaged> MakeCorpus(const std::string& seeds, const TempFolder& out)
{
    const char* seedNames[] = {
        "seed.jpg", "seed.png", "seed.bmp", "seed.gif", "seed.tif", "cmyk.jpg", "png16.png",
        "strip-1x5000.png", "strip-5000x1.png", "animated.gif", "multipage.tif", "alpha.png",
        "huge-valid.png", "huge-header.png", "huge-header.bmp",
    };
    std::vector<Damaged> corpus;
    Lcg random(20261208);
    int serial = 0;
    auto add = [&](const std::string& name, const std::string& bytes, bool mustFail) {
        char prefix[16];
        std::snprintf(prefix, sizeof prefix, "%03d-", serial++);
        std::string path = out.File(prefix + name);
        EXPECT_TRUE(SaveBytes(path, bytes));
        corpus.push_back({ path, mustFail });
    };
    for (const char* name : seedNames) {
        std::string bytes = ReadBytes(seeds + "\\" + name);
        EXPECT_FALSE(bytes.empty()) << name;
        if (bytes.empty())
            continue;
        bool huge = std::string(name).rfind("huge", 0) == 0;
        add(name, bytes, huge);
        // Cut short at random points: never a whole file.
        for (int i = 0; i < 8; i++)
            add(std::string("cut-") + name, bytes.substr(0, random.Next(static_cast<unsigned>(bytes.size()))), huge);
        // Flipped bits anywhere, headers included.
        for (int i = 0; i < 8; i++) {
            std::string flipped = bytes;
            int flips = 1 + static_cast<int>(random.Next(16));
            for (int f = 0; f < flips; f++)
                flipped[random.Next(static_cast<unsigned>(flipped.size()))] ^= static_cast<char>(1u << random.Next(8));
            add(std::string("flip-") + name, flipped, huge);
        }
        // The right bytes under the wrong extension.
        add(std::string(name) + ".txt", bytes, huge);
    }
    add("zero.jpg", "", true);
    add("zero.png", "", true);
    add("text.jpg", "This is not an image, only words.\r\n", true);
    return corpus;
}

class BadImages : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* seeds = std::getenv("KIRUNE_CORPUS");
        // A missing corpus fails: a skip would pass unseen in the test run.
        ASSERT_NE(nullptr, seeds) << "KIRUNE_CORPUS names no folder of seed images";
        m_seeds = seeds;
        HWND host = ::CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 320, 320,
                                      nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(m_host.Attach(host));
        RECT r = { 0, 0, 300, 300 };
        ASSERT_TRUE(picture.Create(nullptr, WS_CHILD | WS_VISIBLE | SS_CENTERIMAGE | SS_NOTIFY | SS_BITMAP,
                                   r, &m_host, 0xFFFF));
    }
    void TearDown() override
    {
        if (m_host.m_hWnd)
            ::DestroyWindow(m_host.Detach());
    }

    std::string m_seeds;
    CWnd m_host;
    CPictureStatic picture;
    TempFolder folder;
};

TEST_F(BadImages, LoadWithoutCrashOrLeakAndFailAsUndecodableFiles)
{
    std::vector<Damaged> corpus = MakeCorpus(m_seeds, folder);
    ASSERT_GE(corpus.size(), 200u);

    // Start from a picture on show, so a failure must keep it.
    std::string good = folder.File("good.png");
    ASSERT_TRUE(SaveSolid(good, 40, 30, "image/png", 0xFF00FF00));
    picture.LoadPicture(Wide(good).c_str());
    const LONG gdiBase = CGdiObject::LiveCount();

    int decoded = 0;
    double slowest = 0;
    std::string slowestFile;
    for (const Damaged& file : corpus) {
        HBITMAP before = Fitted(picture);
        ApiSpy::Start();
        DWORD start = ::GetTickCount();
        picture.LoadPicture(Wide(file.path).c_str());
        double seconds = (::GetTickCount() - start) / 1000.0;
        ApiSpy::Stop();
        if (seconds > slowest)
            slowest = seconds, slowestFile = file.path;

        EXPECT_EQ(Wide(file.path), picture.m_path.str());
        EXPECT_EQ(gdiBase, CGdiObject::LiveCount()) << file.path;
        // What GDI+ made for the fit is gone once the fit is done.
        for (const SpyCall& c : ApiSpy::Calls()) {
            if (c.name == "GdipCreateHBITMAPFromBitmap") {
                EXPECT_EQ(0u, ::GetObjectType(static_cast<HGDIOBJ>(c.made))) << file.path;
            }
        }
        if (Fitted(picture) == before) {
            // The failure behaviour: the previous picture stays on show.
            EXPECT_EQ(before, reinterpret_cast<HBITMAP>(picture.SendMessage(STM_GETIMAGE, IMAGE_BITMAP, 0)));
        } else {
            ++decoded;
            EXPECT_FALSE(file.mustFail) << file.path << " should not decode";
            SIZE size = BitmapSize(Fitted(picture));
            EXPECT_TRUE(size.cx >= 1 && size.cy >= 1 && size.cx <= 300 && size.cy <= 300) << file.path;
            EXPECT_TRUE(picture.m_scale > 0 && picture.m_scale < 1e6f) << file.path;
        }
    }
    std::printf("%d of %zu damaged files decoded; slowest %.2f s (%s)\n", decoded, corpus.size(), slowest,
                slowestFile.c_str());

    // The control still works.
    picture.LoadPicture(Wide(good).c_str());
    EXPECT_EQ(RGB(0, 255, 0), BitmapPixel(Fitted(picture), 150, 100));
    EXPECT_EQ(gdiBase, CGdiObject::LiveCount());
}

TEST_F(BadImages, PrintWithoutCrashOrLeakAndStartADocumentOnlyForWhatLoads)
{
    std::vector<Damaged> corpus = MakeCorpus(m_seeds, folder);
    ASSERT_GE(corpus.size(), 200u);

    // The jobs draw on a memory device: no spooler, the same calls. It has no
    // print system, so its documents are let start.
    CKiruneDlg jobs;
    HDC screen = ::GetDC(nullptr);
    HDC device = ::CreateCompatibleDC(screen);
    HBITMAP page = ::CreateCompatibleBitmap(screen, 400, 560);
    HGDIOBJ old = ::SelectObject(device, page);
    ::ReleaseDC(nullptr, screen);

    ApiSpy::Start();
    ApiSpy::s_startDocResult = 1;
    int printed = 0;
    for (const Damaged& file : corpus) {
        const bool ok = jobs.PrintPhoto(device, Wide(file.path).c_str()) == CKiruneDlg::kPrinted;
        printed += ok;
        EXPECT_FALSE(ok && file.mustFail) << file.path << " should not print";
    }
    ApiSpy::Stop();

    // Each document ended, or was aborted when its drawing failed, and only
    // the ended ones count as printed.
    EXPECT_EQ(ApiSpy::Count("StartDoc"), ApiSpy::Count("EndDoc") + ApiSpy::Count("AbortDoc"));
    EXPECT_EQ(printed, ApiSpy::Count("EndDoc"));
    EXPECT_LT(printed, static_cast<int>(corpus.size()));
    // Every image and graphics object a job made, the job released.
    EXPECT_EQ(std::vector<std::string>(), ApiSpy::Unreleased());
    EXPECT_EQ(static_cast<int>(corpus.size()), ApiSpy::Count("GdipCreateFromHDC"));
    std::printf("%d damaged files: %d printed, %d aborted\n", static_cast<int>(corpus.size()), printed,
                ApiSpy::Count("AbortDoc"));
    EXPECT_EQ(static_cast<DWORD>(OBJ_MEMDC), ::GetObjectType(device));   // the jobs leave the device to its owner

    ::SelectObject(device, old);
    ::DeleteObject(page);
    ::DeleteDC(device);
}

} // namespace
