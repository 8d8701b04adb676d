// Draws the picture with the browser's canvas and leaves it on the page beside the expected one.
#include "tests/canvas/primitive_picture.h"

#include <emscripten.h>

// The web surface is RGBA bytes.
static std::uint32_t PixelAt(const Canvas& canvas, int x, int y)
{
    const auto* rgba = static_cast<const unsigned char*>(canvas.SurfaceContext());
    const int at = 4 * (y * PICTURE_WIDTH + x);
    return std::uint32_t(rgba[at]) << 16 | std::uint32_t(rgba[at + 1]) << 8 | rgba[at + 2];
}

int main()
{
    Canvas canvas;
    canvas.Setup(nullptr, PICTURE_WIDTH, PICTURE_HEIGHT);
    const std::string drawn = DrawPicture(canvas, PixelAt);
    EM_ASM({ window.expectedPicture = UTF8ToString($1); window.drawnPicture = UTF8ToString($0); },
           drawn.c_str(), EXPECTED_PICTURE);
}
