#pragma once

// One picture of rectangles, an ellipse and a grid, with the pixels GDI gives it under Wine: the
// GDI canvas (tests/windows) and the browser's (tests/web/primitives.test.mjs) must both draw it.
#include "canvas/canvas.h"

#include <cstdint>
#include <string>

constexpr int PICTURE_WIDTH = 40;
constexpr int PICTURE_HEIGHT = 10;

// '#' the pen, 'o' the brush, '.' the cleared surface. Each grid line leaves out its end point.
constexpr const char* EXPECTED_PICTURE =
    "........................................\n"
    ".######...#####....##########..#######..\n"
    ".#oooo#..#ooooo#...#..#..#..#.#########.\n"
    ".#oooo#.#ooooooo#..#..#..#..#.#########.\n"
    ".#oooo#.#ooooooo#..##########.###ooo###.\n"
    ".######.#ooooooo#..#..#..#..#.###ooo###.\n"
    ".........#ooooo#...#..#..#..#.#########.\n"
    "..........#####....#########..#########.\n"
    "...............................#######..\n"
    "........................................\n";

// Draws the picture on a canvas set up at that size and reads it back as text; pixelAt gives a
// pixel as 0xRRGGBB.
inline std::string DrawPicture(Canvas& canvas, std::uint32_t (*pixelAt)(const Canvas&, int, int))
{
    canvas.ClearBlack();
    canvas.SetBrush(0, 0, 255);
    canvas.SetPen(1, 255, 0, 0);
    canvas.DrawRect(1, 1, 7, 6);
    canvas.DrawEllipse(17, 8, 8, 1); // corners in the other order
    canvas.DrawGrid(19, 1, 28, 7, 2, 3);
    canvas.SetPen(3, 255, 0, 0); // centred on the outline, with round corners
    canvas.DrawRect(31, 2, 38, 8);
    std::string picture;
    for (int y = 0; y < PICTURE_HEIGHT; ++y, picture += '\n') {
        for (int x = 0; x < PICTURE_WIDTH; ++x) {
            const std::uint32_t pixel = pixelAt(canvas, x, y);
            picture += pixel == 0xFF0000 ? '#' : pixel == 0x0000FF ? 'o' : pixel == 0 ? '.' : '?';
        }
    }
    return picture;
}
