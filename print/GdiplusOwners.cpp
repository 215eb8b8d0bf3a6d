#include "GdiplusOwners.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

CScopedGraphics::CScopedGraphics(HDC hdc)
{
    GdipCreateFromHDC(hdc, &m_graphics);
}

CScopedGraphics::~CScopedGraphics()
{
    if (m_graphics)
        GdipDeleteGraphics(m_graphics);
}

void CScopedImage::Load(const WCHAR* path)
{
    GpImage* image = nullptr;
    GdipLoadImageFromFile(path, &image);
    Adopt(image);
}

CScopedImage::~CScopedImage()
{
    if (m_image)
        GdipDisposeImage(m_image);
}

void CScopedImage::Adopt(GpImage* image)
{
    if (m_image)
        GdipDisposeImage(m_image);
    m_image = image;
}
