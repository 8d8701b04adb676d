#pragma once

// One picture of rectangles, an ellipse and a grid, which every canvas backend must draw pixel
// for pixel: the GDI backend under Wine (tests/windows) and the browser's (tests/web).
#include "canvas/canvas.h"

#include <cstdint>
#include <string>

constexpr int PRIMITIVE_PICTURE_WIDTH = 44;
constexpr int PRIMITIVE_PICTURE_HEIGHT = 12;

// The picture as GDI draws it: '#' the pen, 'o' the brush, '.' the cleared surface.
extern const char* const EXPECTED_PRIMITIVE_PICTURE;

// Draws the picture on a canvas set up at the size above.
void DrawPrimitivePicture(Canvas& canvas);

// The canvas's pixels as text in the characters above ('?' for any other colour); pixelAt
// gives a pixel as 0xRRGGBB.
std::string ReadPrimitivePicture(const Canvas& canvas,
                                 std::uint32_t (*pixelAt)(const Canvas&, int x, int y));
