// The picture drawn by the browser's canvas, shown on the page and handed to the test
// (tests/web/primitives.test.mjs) as text beside the expected one.
#include "tests/canvas/primitive_picture.h"

#include <emscripten.h>

namespace {

// The web surface is RGBA bytes in memory.
std::uint32_t PixelAt(const Canvas& canvas, int x, int y)
{
    const auto* rgba = static_cast<const unsigned char*>(canvas.SurfaceContext()) +
                       4 * (y * PRIMITIVE_PICTURE_WIDTH + x);
    return std::uint32_t(rgba[0]) << 16 | std::uint32_t(rgba[1]) << 8 | rgba[2];
}

char g_pictureElement[] = "picture";

} // namespace

int main()
{
    Canvas canvas;
    canvas.Setup(g_pictureElement, PRIMITIVE_PICTURE_WIDTH, PRIMITIVE_PICTURE_HEIGHT);
    DrawPrimitivePicture(canvas);
    EM_ASM({
        var element = document.getElementById(UTF8ToString($0));
        element.width = $1;
        element.height = $2;
    }, g_pictureElement, PRIMITIVE_PICTURE_WIDTH, PRIMITIVE_PICTURE_HEIGHT);
    canvas.Present(g_pictureElement);
    const std::string drawn = ReadPrimitivePicture(canvas, PixelAt);
    EM_ASM({
        var picture = window.primitivePicture = {};
        picture.drawn = UTF8ToString($0);
        picture.expected = UTF8ToString($1);
    }, drawn.c_str(), EXPECTED_PRIMITIVE_PICTURE);
    return 0;
}
