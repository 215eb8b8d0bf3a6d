#include "PageGeometry.h"
#include "FitSize.h"
#include <limits>

namespace {

// Device pixels along one side; the drawing calls take signed 32-bit sizes.
uint32_t SidePixels(float dpi, float inches)
{
    double pixels = static_cast<double>(dpi) * static_cast<double>(inches);
    if (!(pixels >= 1.0))   // also a resolution that is not a number
        return 0;
    const double largest = std::numeric_limits<int32_t>::max();
    if (pixels >= largest)
        return static_cast<uint32_t>(largest);
    return static_cast<uint32_t>(pixels);   // truncates toward zero
}

} // namespace

void LPageSize(float dpiX, float dpiY, uint32_t& pageW, uint32_t& pageH)
{
    pageW = SidePixels(dpiX, kLWidthInches);
    pageH = SidePixels(dpiY, kLHeightInches);
}

bool PhotoNeedsTurn(uint32_t width, uint32_t height)
{
    return width > height;   // a square photo stays as it is
}

bool LSourceSize(uint32_t pageW, uint32_t pageH, uint32_t width, uint32_t height,
                 uint32_t& srcW, uint32_t& srcH)
{
    if (pageW == 0 || pageH == 0) {
        srcW = srcH = 0;
        return false;
    }
    // The L-size area takes the place of the shape and the photo that of the box.
    FitSize(pageW, pageH, width, height, srcW, srcH);
    return true;
}

bool DrawableSource(int64_t width, int64_t height)
{
    const int64_t kBytesPerPixel = 4;
    if (width <= 0 || height <= 0)
        return true;
    return width <= std::numeric_limits<int32_t>::max() / kBytesPerPixel / height;
}

bool RangeNeedsTurn(const RangeRect& range)
{
    // Widened so that a far-out range cannot overflow the subtraction.
    int64_t width = static_cast<int64_t>(range.right) - range.left;
    int64_t height = static_cast<int64_t>(range.bottom) - range.top;
    return width > height;   // a square range stays as it is
}

RangeRect TurnRange(const RangeRect& range, uint32_t turnedWidth)
{
    // Clockwise: the old left edge becomes the top, the old bottom edge the left.
    const int64_t w = turnedWidth;
    RangeRect turned;
    turned.left = static_cast<int32_t>(w - range.bottom);
    turned.top = range.left;
    turned.right = static_cast<int32_t>(w - range.top);
    turned.bottom = range.right;
    return turned;
}
