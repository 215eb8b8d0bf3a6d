#include "DragGeometry.h"
#include <limits>

namespace {

// Truncated toward zero; a product beyond the int range stops at its nearer
// end, and one that is not a number gives 0.
int32_t TruncateToInt32(long double v)
{
    if (v != v)
        return 0;
    if (v >= 2147483648.0L)
        return std::numeric_limits<int32_t>::max();
    if (v <= -2147483649.0L)
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

} // namespace

DragRect ConstrainAspect(const DragRect& r, uint32_t a, uint32_t b)
{
    // Differences, products and sums wrap as unsigned 32-bit arithmetic does.
    const uint32_t left = static_cast<uint32_t>(r.left), top = static_cast<uint32_t>(r.top);
    uint32_t w = static_cast<uint32_t>(r.right) - left;
    uint32_t h = static_cast<uint32_t>(r.bottom) - top;
    if (w > h)
        h = w * b / a;
    else
        w = h * a / b;
    return { r.left, r.top, static_cast<int32_t>(left + w), static_cast<int32_t>(top + h) };
}

DragRect ScaleRect(const DragRect& r, float scale)
{
    const long double s = scale;
    auto scaled = [s](int32_t v) { return TruncateToInt32(static_cast<long double>(v) * s); };
    return { scaled(r.left), scaled(r.top), scaled(r.right), scaled(r.bottom) };
}

DragRect DragFrame(int32_t startX, int32_t startY, int32_t pointerX, int32_t pointerY)
{
    DragRect r = { startX, startY, pointerX, pointerY };
    // The sides compared as the signed numbers they are, without overflow.
    if (int64_t{ r.right } - r.left > int64_t{ r.bottom } - r.top)
        return ConstrainAspect(r, kLongSide, kShortSide);
    return ConstrainAspect(r, kShortSide, kLongSide);
}
