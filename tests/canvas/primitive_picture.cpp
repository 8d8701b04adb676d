#include "tests/canvas/primitive_picture.h"

// Read back from GDI under Wine. The grid's bottom right corner stays empty: each line leaves
// out its end point.
const char* const EXPECTED_PRIMITIVE_PICTURE =
    "............................................\n"
    ".#######....####.....###########...#######..\n"
    ".#ooooo#...#oooo#....#.#.#.#.#.#..#########.\n"
    ".#ooooo#..#oooooo#...#.#.#.#.#.#..#########.\n"
    ".#ooooo#.#oooooooo#..###########..###ooo###.\n"
    ".#ooooo#.#oooooooo#..#.#.#.#.#.#..###ooo###.\n"
    ".#######.#oooooooo#..#.#.#.#.#.#..###ooo###.\n"
    "..........#oooooo#...###########..###ooo###.\n"
    "...........#oooo#....#.#.#.#.#.#..#########.\n"
    "............####.....#.#.#.#.#.#..#########.\n"
    ".....................##########....#######..\n"
    "............................................\n";

void DrawPrimitivePicture(Canvas& canvas)
{
    canvas.ClearBlack();
    canvas.SetBrush(0, 0, 255);
    canvas.SetPen(1, 255, 0, 0);
    canvas.DrawRect(1, 1, 8, 7);
    canvas.DrawEllipse(19, 10, 9, 1); // corners in the other order
    canvas.DrawGrid(21, 1, 31, 10, 3, 4);
    // A wide pen is centred on the outline, with round corners.
    canvas.SetPen(3, 255, 0, 0);
    canvas.DrawRect(35, 2, 42, 10);
}

std::string ReadPrimitivePicture(const Canvas& canvas,
                                 std::uint32_t (*pixelAt)(const Canvas&, int x, int y))
{
    std::string picture;
    for (int y = 0; y < PRIMITIVE_PICTURE_HEIGHT; ++y) {
        for (int x = 0; x < PRIMITIVE_PICTURE_WIDTH; ++x) {
            const std::uint32_t pixel = pixelAt(canvas, x, y);
            picture += pixel == 0xFF0000 ? '#' : pixel == 0x0000FF ? 'o' : pixel == 0 ? '.' : '?';
        }
        picture += '\n';
    }
    return picture;
}
