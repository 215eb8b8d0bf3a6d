// Scoped owners of the GDI+ objects of a print job: each holds one object,
// or none when it could not be made, and releases it when the job's scope
// ends, also when an exception leaves it.
#pragma once
#include <windows.h>
#include <gdiplus.h>

class CScopedGraphics {
public:
    // A graphics object drawing on the device context.
    explicit CScopedGraphics(HDC hdc);
    ~CScopedGraphics();
    CScopedGraphics(const CScopedGraphics&) = delete;
    CScopedGraphics& operator=(const CScopedGraphics&) = delete;

    Gdiplus::GpGraphics* Get() const { return m_graphics; }

private:
    Gdiplus::GpGraphics* m_graphics = nullptr;
};

class CScopedImage {
public:
    // Holds nothing until it adopts an image.
    CScopedImage() = default;
    // The image of a photo file, by its UTF-16 path.
    explicit CScopedImage(const WCHAR* path) { Load(path); }
    ~CScopedImage();
    CScopedImage(const CScopedImage&) = delete;
    CScopedImage& operator=(const CScopedImage&) = delete;

    Gdiplus::GpImage* Get() const { return m_image; }
    // Loads a photo file, by its UTF-16 path; releases the image held before.
    void Load(const WCHAR* path);
    // Takes over an image made elsewhere; releases the one held before.
    void Adopt(Gdiplus::GpImage* image);

private:
    Gdiplus::GpImage* m_image = nullptr;
};
