// The bitmap decoder of the browser canvas, on one small file of each kind that Wine's LoadImageA
// reads (the fuzzer's seeds), against the pictures they were made to hold.
#include "canvas/bitmap_pixels.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::vector<unsigned char> Seed(const std::string& name)
{
    std::ifstream in(std::string(VORKELM_SOURCE_DIR) + "/tests/fuzz/seeds/" + name,
                     std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t Rgb(int r, int g, int b)
{
    return 0xFF000000u | std::uint32_t(b) << 16 | std::uint32_t(g) << 8 | std::uint32_t(r);
}

// The seeds' colour tables: a ramp of 256 and one of 16.
std::uint32_t Ramp256(int i) { return Rgb(i / 2, 255 - i, i); }
std::uint32_t Ramp16(int i) { return Rgb(8 * i, 255 - 16 * i, 16 * i); }

struct Case {
    const char* file;
    std::uint32_t (*pixel)(int x, int y);
};

TEST(BitmapPixels, EveryKindOfFileDecodesToItsPicture)
{
    const auto rgbRamp = [](int x, int y) { return Rgb(200, 40 * y, 30 * x); };
    const Case cases[] = {
        {"core-header-24.bmp", rgbRamp},
        {"top-down-24.bmp", rgbRamp},
        {"image-size-past-the-end.bmp", rgbRamp},
        {"bit-fields-32.bmp", rgbRamp},
        {"v5-header-32.bmp", rgbRamp},
        // 5 and 6 bits widened by repeating their bits: 4 of 31 is 33, 8 of 63 is 32.
        {"bit-fields-565.bmp",
         [](int x, int y) { return Rgb(x * 33, (8 * y) << 2 | (8 * y) >> 4, 165); }},
        {"palette-8.bmp", [](int x, int y) { return Ramp256(8 * y + x); }},
        {"core-header-palette-8.bmp", [](int x, int y) { return Ramp256(8 * y + x); }},
        {"palette-4-colours-used.bmp", [](int x, int y) { return Ramp16(x + y); }},
        {"palette-1.bmp", [](int x, int y) { return (x + y) % 2 ? Rgb(255, 255, 255) : Rgb(0, 0, 0); }},
        {"rle-8.bmp", [](int, int y) { return Ramp256(10 * (5 - y)); }},
        {"rle-4.bmp", [](int x, int y) { return Ramp16((x % 2 ? 8 : 5) - y); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::vector<unsigned char> file = Seed(c.file);
        BitmapPixels picture;
        ASSERT_TRUE(DecodeBitmap(file.data(), file.size(), picture));
        ASSERT_EQ(8, picture.width);
        ASSERT_EQ(6, picture.height);
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 8; ++x)
                EXPECT_EQ(c.pixel(x, y), picture.pixels[y * 8 + x]) << x << "," << y;
    }
}

// What the header check refuses, and depths that no loader reads, give no picture.
TEST(BitmapPixels, RefusedFilesGiveNoPicture)
{
    std::vector<unsigned char> file = Seed("palette-8.bmp");
    BitmapPixels picture;
    EXPECT_FALSE(DecodeBitmap(file.data(), file.size() - 1, picture));
    EXPECT_TRUE(picture.pixels.empty());
    file[28] = 7; // bits per pixel
    EXPECT_FALSE(DecodeBitmap(file.data(), file.size(), picture));
    EXPECT_FALSE(DecodeBitmap(file.data(), 10, picture));
}

} // namespace
