// Text, lines and grids, read back from the surface, and the picture that every backend draws.
#include "canvas/canvas.h"
#include "tests/canvas/primitive_picture.h"
#include "tests/windows/surface_pixels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

constexpr std::uint32_t GROUND = 0x2040A0;
constexpr std::uint32_t INK = 0xFFFF00;

Canvas GroundCanvas(int w, int h)
{
    Canvas canvas;
    canvas.Setup(nullptr, w, h);
    canvas.SetPen(1, 0x20, 0x40, 0xA0);
    canvas.SetBrush(0x20, 0x40, 0xA0);
    canvas.DrawRect(0, 0, w, h);
    return canvas;
}

struct TextCase {
    const char* text;
    int height;
};

class PutTextOnGround : public testing::TestWithParam<TextCase> {};

// Only glyph pixels change: there is no background box, and nothing lands above or left of the
// top left corner given, or below the character cell.
TEST_P(PutTextOnGround, PaintsGlyphsWithoutABackgroundBox)
{
    const TextCase& c = GetParam();
    Canvas canvas = GroundCanvas(200, 60);
    canvas.SetTextStyle(c.height, 0xFF, 0xFF, 0x00);
    const int x = 20;
    const int y = 15;
    canvas.PutText(x, y, c.text);

    const Picture surface = ReadSurface(canvas);
    int inked = 0;
    int outside = 0;
    int right = x;
    for (int py = 0; py < surface.height; ++py) {
        for (int px = 0; px < surface.width; ++px) {
            const std::uint32_t p = surface.At(px, py);
            if (p == GROUND)
                continue;
            if (px < x || py < y || py >= y + c.height)
                ++outside;
            right = std::max(right, px + 1);
            inked += p == INK;
        }
    }
    EXPECT_EQ(0, outside);
    EXPECT_GT(inked, 10);

    // Between the glyphs the ground shows: an opaque box would cover it all.
    int ground = 0;
    for (int py = y; py < y + c.height; ++py)
        for (int px = x; px < right; ++px)
            ground += surface.At(px, py) == GROUND;
    EXPECT_GT(3 * ground, (right - x) * c.height);
}

INSTANTIATE_TEST_SUITE_P(Texts, PutTextOnGround,
                         testing::Values(TextCase{"Vorkelm", 14}, TextCase{"1234枚", 16},
                                         TextCase{"ﾌｧｲﾙ", 20}));

TEST(PutText, EmptyTextDrawsNothing)
{
    Canvas canvas = GroundCanvas(60, 30);
    canvas.SetTextStyle(16, 0xFF, 0xFF, 0x00);
    canvas.PutText(5, 5, "");
    for (std::uint32_t p : ReadSurface(canvas).pixels)
        ASSERT_EQ(GROUND, p);
}

struct LineCase {
    int x1;
    int y1;
    int x2;
    int y2;
    int insideX; // a point on the line between its ends
    int insideY;
};

class ThinLine : public testing::TestWithParam<LineCase> {};

TEST_P(ThinLine, CoversItsStartButNotItsEnd)
{
    const LineCase& c = GetParam();
    Canvas canvas = GroundCanvas(60, 60);
    canvas.SetPen(1, 0xFF, 0xFF, 0x00);
    canvas.DrawLine(c.x1, c.y1, c.x2, c.y2);
    EXPECT_EQ(INK, PixelAt(canvas, c.x1, c.y1));
    EXPECT_EQ(INK, PixelAt(canvas, c.insideX, c.insideY));
    EXPECT_EQ(GROUND, PixelAt(canvas, c.x2, c.y2));
}

INSTANTIATE_TEST_SUITE_P(Directions, ThinLine,
                         testing::Values(LineCase{10, 10, 40, 10, 25, 10},
                                         LineCase{40, 20, 10, 20, 25, 20},
                                         LineCase{30, 5, 30, 50, 30, 30},
                                         LineCase{5, 5, 45, 45, 25, 25}));

struct GridCase {
    int x1;
    int y1;
    int x2;
    int y2;
    int rows;
    int columns;
    std::vector<int> lineYs; // relative to y1
    std::vector<int> lineXs; // relative to x1
};

class Grid : public testing::TestWithParam<GridCase> {};

// A scan down a column between two vertical lines meets exactly the horizontal lines, and a scan
// along a row between two horizontal lines exactly the vertical ones.
TEST_P(Grid, DrawsLinesAtTheTruncatedSpacingFromTheFirstEdge)
{
    const GridCase& c = GetParam();
    const int offset = 20; // keeps the first lines off the surface edge
    Canvas canvas = GroundCanvas(160, 100);
    canvas.SetPen(1, 0xFF, 0xFF, 0x00);
    canvas.DrawGrid(offset + c.x1, offset + c.y1, offset + c.x2, offset + c.y2, c.rows, c.columns);

    const Picture surface = ReadSurface(canvas);
    std::vector<int> ys;
    for (int y = 0; y < surface.height; ++y)
        if (surface.At(offset + c.x1 + 1, y) == INK)
            ys.push_back(y - offset - c.y1);
    std::vector<int> xs;
    for (int x = 0; x < surface.width; ++x)
        if (surface.At(x, offset + c.y1 + 1) == INK)
            xs.push_back(x - offset - c.x1);
    EXPECT_EQ(c.lineYs, ys);
    EXPECT_EQ(c.lineXs, xs);
}

INSTANTIATE_TEST_SUITE_P(
    Spacings, Grid,
    testing::Values(GridCase{0, 0, 100, 50, 5, 10, {0, 10, 20, 30, 40, 50},
                             {0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100}},
                    GridCase{0, 0, 30, 10, 3, 3, {0, 3, 6, 9}, {0, 10, 20, 30}},
                    GridCase{0, 0, 11, 30, 1, 4, {0, 30}, {0, 2, 4, 6, 8, 10}}));

TEST(Grid, OutsideItsContractDrawsNoLinesOnThatAxis)
{
    Canvas canvas = GroundCanvas(60, 60);
    canvas.SetPen(1, 0xFF, 0xFF, 0x00);
    canvas.DrawGrid(10, 10, 50, 50, 0, 0);
    canvas.DrawGrid(10, 10, 50, 12, 5, 0);
    for (std::uint32_t p : ReadSurface(canvas).pixels)
        ASSERT_EQ(GROUND, p);
}

TEST(Primitives, DrawThePictureThatEveryBackendDraws)
{
    Canvas canvas;
    canvas.Setup(nullptr, PICTURE_WIDTH, PICTURE_HEIGHT);
    EXPECT_EQ(EXPECTED_PICTURE, DrawPicture(canvas, PixelAt));
}

} // namespace
