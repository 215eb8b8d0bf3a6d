#include "DragGeometry.h"

DragRect ConstrainAspect(const DragRect& r, uint32_t a, uint32_t b)
{
    uint32_t w = static_cast<uint32_t>(r.right - r.left);
    uint32_t h = static_cast<uint32_t>(r.bottom - r.top);
    if (w > h)
        h = w * b / a;
    else
        w = h * a / b;
    return { r.left, r.top, static_cast<int32_t>(r.left + w), static_cast<int32_t>(r.top + h) };
}

DragRect ScaleRect(const DragRect& r, float scale)
{
    const long double s = scale;
    auto scaled = [s](int32_t v) { return static_cast<int32_t>(static_cast<long double>(v) * s); };
    return { scaled(r.left), scaled(r.top), scaled(r.right), scaled(r.bottom) };
}

DragRect DragFrame(int32_t startX, int32_t startY, int32_t pointerX, int32_t pointerY)
{
    DragRect r = { startX, startY, pointerX, pointerY };
    if (r.right - r.left > r.bottom - r.top)
        return ConstrainAspect(r, kLongSide, kShortSide);
    return ConstrainAspect(r, kShortSide, kLongSide);
}
