// The surface itself: set-up, clears and the packing of colours.
#include "canvas/canvas.h"
#include "tests/windows/surface_pixels.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>

namespace {

bool AllPixels(const Picture& picture, std::uint32_t colour)
{
    return std::all_of(picture.pixels.begin(), picture.pixels.end(),
                       [colour](std::uint32_t p) { return p == colour; });
}

TEST(CanvasSurface, ClearsCoverTheWholeSurfaceBeyondAnyWindow)
{
    // The main canvas is far larger than the window that shows it; the clears fill all of it.
    Canvas canvas;
    canvas.Setup(nullptr, 1200, 800);
    canvas.ClearWhite();
    Picture surface = ReadSurface(canvas);
    ASSERT_EQ(1200, surface.width);
    ASSERT_EQ(800, surface.height);
    EXPECT_TRUE(AllPixels(surface, WHITE));

    canvas.ClearBlack();
    EXPECT_TRUE(AllPixels(ReadSurface(canvas), BLACK));
}

TEST(CanvasSurface, ClearKeepsTheDrawingSettings)
{
    Canvas canvas;
    canvas.Setup(nullptr, 40, 40);
    canvas.SetPen(1, 0, 0, 255);
    canvas.SetBrush(0, 255, 0);
    canvas.ClearWhite();
    canvas.DrawRect(10, 10, 30, 30);
    EXPECT_EQ(0x0000FFu, PixelAt(canvas, 10, 10));
    EXPECT_EQ(0x00FF00u, PixelAt(canvas, 20, 20));
}

TEST(CanvasSurface, RepeatedSetupGivesAWorkingSurfaceAtTheNewSize)
{
    Canvas canvas;
    canvas.Setup(nullptr, 50, 20);
    const HDC first = static_cast<HDC>(canvas.SurfaceContext());
    canvas.Setup(nullptr, 120, 90);

    // The replaced context is gone, not merely forgotten.
    EXPECT_EQ(0u, GetObjectType(first));

    canvas.ClearBlack();
    canvas.ClearWhite();
    const Picture surface = ReadSurface(canvas);
    ASSERT_EQ(120, surface.width);
    ASSERT_EQ(90, surface.height);
    EXPECT_TRUE(AllPixels(surface, WHITE));
}

struct PackingCase {
    int red;
    int green;
    int blue;
    std::uint32_t expected;
};

class ColourPacking : public testing::TestWithParam<PackingCase> {};

// Each component gives only its low 8 bits to the packed colour, for pens and brushes alike.
TEST_P(ColourPacking, TakesTheLowEightBitsOfEachComponent)
{
    const PackingCase& c = GetParam();
    Canvas canvas;
    canvas.Setup(nullptr, 40, 20);
    canvas.ClearWhite();
    canvas.SetPen(1, c.red, c.green, c.blue);
    canvas.DrawLine(1, 1, 30, 1);
    canvas.SetBrush(c.red, c.green, c.blue);
    canvas.DrawRect(1, 5, 30, 15);

    EXPECT_EQ(c.expected, PixelAt(canvas, 10, 1)) << "pen";
    EXPECT_EQ(c.expected, PixelAt(canvas, 10, 10)) << "brush";
}

INSTANTIATE_TEST_SUITE_P(Components, ColourPacking,
                         testing::Values(PackingCase{255, 0, 0, 0xFF0000},
                                         PackingCase{256, 0, 0, 0x000000},
                                         PackingCase{-1, 0, 0, 0xFF0000},
                                         PackingCase{0, 257, 0, 0x000100},
                                         PackingCase{0, 0, 511, 0x0000FF},
                                         PackingCase{-256, -255, 300, 0x00012C}));

} // namespace
