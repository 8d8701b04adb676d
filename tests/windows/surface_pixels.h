#pragma once

// Reads back what a canvas has drawn.
#include "canvas/canvas.h"
#include "tests/windows/bmp_files.h"

#include <cstdint>

// The whole surface of a set-up canvas, as a picture.
Picture ReadSurface(const Canvas& canvas);
// One pixel, 0xRRGGBB.
std::uint32_t PixelAt(const Canvas& canvas, int x, int y);
// A bitmap file drawn opaque at w by h on a canvas of its own: the picture as the platform
// loads it.
Picture LoadedPicture(const char* file, int w, int h);
