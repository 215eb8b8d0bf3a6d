// The picture control: decoding, fitting, the blank picture, failures, and
// bitmaps handed between controls.
#include "MainWindowFixture.h"
#include "TestImages.h"
#include <gtest/gtest.h>

namespace {

const int kBoxW = 300, kBoxH = 400;
const DWORD kRed = 0xFFFF0000, kBlue = 0xFF0000FF, kGreen = 0xFF00FF00, kClear = 0x00000000;
const COLORREF kGrey = RGB(192, 192, 192);

// Hosts picture controls in a visible top-level window.
class PictureControl : public ::testing::Test {
protected:
    void SetUp() override
    {
        HWND host = ::CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 40, 40, 700, 500,
                                      nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(m_host.Attach(host));
        gdiBefore = CGdiObject::LiveCount();
        Create(picture, 0);
    }
    void TearDown() override
    {
        ::DestroyWindow(m_host.Detach());
    }
    // A centring picture control with a client area of exactly kBoxW x kBoxH.
    void Create(CPictureStatic& control, int x)
    {
        RECT r = { x, 0, x + kBoxW, kBoxH };
        ASSERT_TRUE(control.Create(nullptr, WS_CHILD | WS_VISIBLE | SS_CENTERIMAGE | SS_NOTIFY | SS_BITMAP,
                                   r, &m_host, 0xFFFF));
    }
    HBITMAP Shown(CPictureStatic& control)
    {
        return reinterpret_cast<HBITMAP>(control.SendMessage(STM_GETIMAGE, IMAGE_BITMAP, 0));
    }

    CWnd m_host;
    CPictureStatic picture;
    TempFolder folder;
    LONG gdiBefore = 0;
};

TEST_F(PictureControl, FitsAPhotoToTheBoxAndKeepsTheScale)
{
    std::string path = folder.File("landscape.png");
    ASSERT_TRUE(SaveSolid(path, 400, 300, "image/png", kBlue));
    picture.LoadPicture(Wide(path).c_str());

    EXPECT_EQ(Wide(path), picture.m_path.str());
    SIZE size = BitmapSize(Fitted(picture));
    EXPECT_EQ(300, size.cx);
    EXPECT_EQ(225, size.cy);
    EXPECT_FLOAT_EQ(400.0f / 300.0f, picture.m_scale);
    EXPECT_EQ(Fitted(picture), Shown(picture));
    // The top-left pixel is the grey a centred picture fills its margins with.
    EXPECT_EQ(kGrey, BitmapPixel(Fitted(picture), 0, 0));
    EXPECT_EQ(RGB(0, 0, 255), BitmapPixel(Fitted(picture), 150, 100));
    EXPECT_EQ(gdiBefore + 1, CGdiObject::LiveCount());
}

TEST_F(PictureControl, EnlargesASmallPhotoUntilOneSideFills)
{
    std::string path = folder.File("small.bmp");
    ASSERT_TRUE(SaveSolid(path, 30, 20, "image/bmp", kRed));
    picture.LoadPicture(Wide(path).c_str());
    SIZE size = BitmapSize(Fitted(picture));
    EXPECT_EQ(300, size.cx);
    EXPECT_EQ(200, size.cy);
    EXPECT_FLOAT_EQ(0.1f, picture.m_scale);
}

struct FormatCase {
    const char* name;
    const char* mime;
};

class PictureFormats : public PictureControl, public ::testing::WithParamInterface<FormatCase> {};

TEST_P(PictureFormats, DecodeWithTheirPixelsAsStored)
{
    // Left half red, right half green: the fit keeps them where they are.
    std::string path = folder.File(std::string("photo.") + GetParam().name);
    PixelFn halves = [](int x, int) { return x < 30 ? kRed : kGreen; };
    if (std::string(GetParam().mime) == "image/gif")
        ASSERT_TRUE(SaveGif(path, 60, 80, halves));
    else
        ASSERT_TRUE(SaveImage(path, 60, 80, GetParam().mime, halves));
    picture.LoadPicture(Wide(path).c_str());
    SIZE size = BitmapSize(Fitted(picture));
    EXPECT_EQ(300, size.cx);
    EXPECT_EQ(400, size.cy);
    EXPECT_TRUE(NearColour(BitmapPixel(Fitted(picture), 40, 200), RGB(255, 0, 0)));
    EXPECT_TRUE(NearColour(BitmapPixel(Fitted(picture), 260, 200), RGB(0, 255, 0)));
}

INSTANTIATE_TEST_SUITE_P(Formats, PictureFormats, ::testing::Values(
    FormatCase{ "jpg", "image/jpeg" }, FormatCase{ "png", "image/png" },
    FormatCase{ "bmp", "image/bmp" }, FormatCase{ "gif", "image/gif" }),
    [](const ::testing::TestParamInfo<FormatCase>& info) { return std::string(info.param.name); });

TEST_F(PictureControl, ShowsTransparentPixelsBlack)
{
    std::string path = folder.File("clear.png");
    ASSERT_TRUE(SaveImage(path, 40, 40, "image/png", [](int x, int) { return x < 20 ? kClear : kRed; }));
    picture.LoadPicture(Wide(path).c_str());
    EXPECT_EQ(RGB(0, 0, 0), BitmapPixel(Fitted(picture), 60, 150));
    EXPECT_EQ(RGB(255, 0, 0), BitmapPixel(Fitted(picture), 240, 150));
}

TEST_F(PictureControl, IgnoresTheOrientationTag)
{
    // Stored 80 x 40, red on the left; the tag would show it upright.
    std::string path = folder.File("tagged.jpg");
    ASSERT_TRUE(SaveJpegWithOrientation(path, 80, 40, [](int x, int) { return x < 40 ? kRed : kBlue; }, 6));
    picture.LoadPicture(Wide(path).c_str());
    SIZE size = BitmapSize(Fitted(picture));
    EXPECT_EQ(300, size.cx);
    EXPECT_EQ(150, size.cy);
    EXPECT_TRUE(NearColour(BitmapPixel(Fitted(picture), 50, 75), RGB(255, 0, 0)));
    EXPECT_TRUE(NearColour(BitmapPixel(Fitted(picture), 250, 75), RGB(0, 0, 255)));
}

TEST_F(PictureControl, AFailedLoadKeepsThePictureButTakesThePath)
{
    std::string good = folder.File("good.png");
    ASSERT_TRUE(SaveSolid(good, 40, 30, "image/png", kRed));
    std::string corrupt = folder.File("corrupt.jpg");
    ASSERT_TRUE(SaveBytes(corrupt, std::string("\xFF\xD8\xFF\xE0 not really a JPEG", 24)));
    std::string empty = folder.File("empty.png");
    ASSERT_TRUE(SaveBytes(empty, ""));
    const std::string failing[] = { corrupt, empty, folder.File("missing.png"), "" };

    picture.LoadPicture(Wide(good).c_str());
    HBITMAP shown = Fitted(picture);
    float scale = picture.m_scale;
    for (const std::string& path : failing) {
        picture.LoadPicture(Wide(path).c_str());
        EXPECT_EQ(Wide(path), picture.m_path.str());
        EXPECT_EQ(shown, Fitted(picture)) << path;
        EXPECT_EQ(shown, Shown(picture)) << path;
        EXPECT_EQ(scale, picture.m_scale) << path;
    }
    EXPECT_TRUE(picture.IsPathEmpty());
    EXPECT_EQ(gdiBefore + 1, CGdiObject::LiveCount());
}

TEST_F(PictureControl, AFreshControlStaysEmptyWhenTheFileFails)
{
    std::string missing = folder.File("missing.jpg");
    picture.LoadPicture(Wide(missing).c_str());
    EXPECT_EQ(nullptr, Fitted(picture));
    EXPECT_EQ(nullptr, Shown(picture));
    EXPECT_FALSE(picture.IsPathEmpty());
}

TEST_F(PictureControl, ANullPathShowsTheBlankAndKeepsThePath)
{
    std::string path = folder.File("photo.png");
    ASSERT_TRUE(SaveSolid(path, 40, 30, "image/png", kRed));
    picture.LoadPicture(Wide(path).c_str());
    picture.LoadPicture(nullptr);

    EXPECT_EQ(Wide(path), picture.m_path.str());
    EXPECT_EQ(nullptr, picture.m_placeholder.GetSafeHandle());
    SIZE size = BitmapSize(Fitted(picture));
    EXPECT_EQ(300, size.cx);   // the 48 x 48 blank, fitted
    EXPECT_EQ(300, size.cy);
    EXPECT_EQ(kGrey, BitmapPixel(Fitted(picture), 150, 150));
    EXPECT_EQ(kGrey, BitmapPixel(Fitted(picture), 299, 299));
    EXPECT_EQ(gdiBefore + 1, CGdiObject::LiveCount());
}

TEST_F(PictureControl, AStripTooThinToFitKeepsOnePixel)
{
    std::string path = folder.File("strip.png");
    ASSERT_TRUE(SaveSolid(path, 1, 1000, "image/png", kRed));
    picture.LoadPicture(Wide(path).c_str());
    SIZE size = BitmapSize(Fitted(picture));
    EXPECT_EQ(1, size.cx);
    EXPECT_EQ(kBoxH, size.cy);
    EXPECT_FLOAT_EQ(1.0f, picture.m_scale);
}

TEST_F(PictureControl, HandsBitmapsOverWithoutCopying)
{
    CPictureStatic other;
    Create(other, kBoxW + 20);
    std::string path = folder.File("photo.png");
    ASSERT_TRUE(SaveSolid(path, 40, 30, "image/png", kRed));
    picture.LoadPicture(Wide(path).c_str());
    HBITMAP handle = Fitted(picture);
    LONG live = CGdiObject::LiveCount();

    other.SetBitmap(picture.DetachBitmap());
    EXPECT_EQ(nullptr, picture.m_bitmap.GetSafeHandle());
    EXPECT_EQ(handle, other.m_bitmap.GetSafeHandle());
    EXPECT_EQ(handle, Shown(other));
    EXPECT_EQ(handle, Shown(picture));   // still drawn until it gets another image
    EXPECT_EQ(live, CGdiObject::LiveCount());

    other.DeleteBitmap();
    EXPECT_EQ(nullptr, other.m_bitmap.GetSafeHandle());
    EXPECT_EQ(0, ::GetObjectType(handle));
    EXPECT_EQ(live - 1, CGdiObject::LiveCount());
}

TEST_F(PictureControl, SetPathAndGetPath)
{
    // A path no ANSI code page spells: kept as it is.
    const wchar_t path[] = L"C:\\写真\\😀 café.jpg";
    picture.SetPath(path);
    EXPECT_STREQ(path, picture.GetPath());
    EXPECT_FALSE(picture.IsPathEmpty());
    picture.SetPath(nullptr);
    EXPECT_TRUE(picture.IsPathEmpty());
}

} // namespace
