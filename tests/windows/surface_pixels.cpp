#include "tests/windows/surface_pixels.h"

#include <windows.h>

#include <cstring>

Picture ReadSurface(const Canvas& canvas)
{
    const HDC surfaceDC = static_cast<HDC>(canvas.SurfaceContext());
    BITMAP info;
    GetObjectA(GetCurrentObject(surfaceDC, OBJ_BITMAP), sizeof info, &info);

    // The surface stays selected in its context, so it is copied into a top-down 32-bit
    // DIB section of our own and read from there.
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = info.bmWidth;
    format.bmiHeader.biHeight = -info.bmHeight;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const HBITMAP copy = CreateDIBSection(surfaceDC, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HDC copyDC = CreateCompatibleDC(surfaceDC);
    const HGDIOBJ previous = SelectObject(copyDC, copy);
    BitBlt(copyDC, 0, 0, info.bmWidth, info.bmHeight, surfaceDC, 0, 0, SRCCOPY);
    GdiFlush();

    Picture picture = SolidPicture(info.bmWidth, info.bmHeight, BLACK);
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    for (std::size_t i = 0; i < picture.pixels.size(); ++i)
        picture.pixels[i] = pixels[i] & 0xFFFFFF;

    SelectObject(copyDC, previous);
    DeleteDC(copyDC);
    DeleteObject(copy);
    return picture;
}

std::uint32_t PixelAt(const Canvas& canvas, int x, int y)
{
    const COLORREF c = GetPixel(static_cast<HDC>(canvas.SurfaceContext()), x, y);
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

Picture LoadedPicture(const char* file, int w, int h)
{
    Canvas canvas;
    canvas.Setup(nullptr, w, h);
    canvas.ClearBlack();
    canvas.DrawSprite(0, 0, file, file, w, h);
    return ReadSurface(canvas);
}
