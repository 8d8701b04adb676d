// Masked sprites drawn from bitmap files written by the tests themselves.
#include "canvas/canvas.h"
#include "canvas/sprite_cache.h"
#include "tests/windows/bmp_files.h"
#include "tests/windows/surface_pixels.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace {

constexpr std::uint32_t RED = 0xFF0000;
constexpr std::uint32_t GREEN = 0x00FF00;
constexpr std::uint32_t BLUE = 0x0000FF;
constexpr std::uint32_t GREY = 0x808080;
constexpr std::uint32_t QUADRANTS[4] = {RED, GREEN, BLUE, GREY};

// A surface with a different colour on every pixel, so that any change shows.
Picture Pattern(int w, int h)
{
    Picture picture = SolidPicture(w, h, BLACK);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            picture.At(x, y) = static_cast<std::uint32_t>((x * 4) << 16 | (y * 5) << 8 | 0x33);
    return picture;
}

class SpriteTest : public testing::Test {
protected:
    static constexpr int W = 64;
    static constexpr int H = 48;

    void SetUp() override
    {
        canvas.Setup(nullptr, W, H);
        WriteBmp(ground, Pattern(W, H));
        canvas.DrawSprite(0, 0, ground.c_str(), ground.c_str(), W, H);
        before = ReadSurface(canvas);
        ASSERT_EQ(Pattern(W, H).pixels, before.pixels);
    }

    std::string Write(const std::string& name, const Picture& picture)
    {
        const std::string path = folder.File(name);
        WriteBmp(path, picture);
        return path;
    }

    // Every pixel outside the w by h rectangle at (x, y) is as it was before the draw.
    void ExpectUnchangedOutside(int x, int y, int w, int h)
    {
        const Picture after = ReadSurface(canvas);
        for (int py = 0; py < H; ++py) {
            for (int px = 0; px < W; ++px) {
                if (px < x || px >= x + w || py < y || py >= y + h) {
                    ASSERT_EQ(before.At(px, py), after.At(px, py)) << px << "," << py;
                }
            }
        }
    }

    TempFolder folder;
    std::string ground = folder.File("ground.bmp");
    Canvas canvas;
    Picture before;
};

TEST_F(SpriteTest, WhiteMaskDrawsTheImageOpaque)
{
    const std::string image = Write("image.bmp", QuadrantPicture(10, 8, QUADRANTS));
    const std::string mask = Write("mask.bmp", SolidPicture(10, 8, WHITE));
    canvas.DrawSprite(20, 10, image.c_str(), mask.c_str(), 10, 8);

    const Picture after = ReadSurface(canvas);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ(QuadrantPicture(10, 8, QUADRANTS).At(x, y), after.At(20 + x, 10 + y));
    ExpectUnchangedOutside(20, 10, 10, 8);
}

TEST_F(SpriteTest, BlackMaskWithWhiteImageLeavesTheSurfaceUnchanged)
{
    const std::string image = Write("image.bmp", SolidPicture(16, 16, WHITE));
    const std::string mask = Write("mask.bmp", SolidPicture(16, 16, BLACK));
    canvas.DrawSprite(5, 5, image.c_str(), mask.c_str(), 16, 16);
    EXPECT_EQ(before.pixels, ReadSurface(canvas).pixels);
}

TEST_F(SpriteTest, MaskShapeCutsOutTheImage)
{
    // Left half opaque red, right half transparent: the sprite convention of the game's files.
    Picture image = SolidPicture(12, 6, WHITE);
    Picture mask = SolidPicture(12, 6, BLACK);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) {
            image.At(x, y) = RED;
            mask.At(x, y) = WHITE;
        }
    const std::string imageFile = Write("image.bmp", image);
    const std::string maskFile = Write("mask.bmp", mask);
    canvas.DrawSprite(30, 20, imageFile.c_str(), maskFile.c_str(), 12, 6);

    const Picture after = ReadSurface(canvas);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 12; ++x)
            ASSERT_EQ(x < 6 ? RED : before.At(30 + x, 20 + y), after.At(30 + x, 20 + y));
}

TEST_F(SpriteTest, SameFileAsImageAndMaskDrawsItOpaque)
{
    const std::string picture = Write("picture.bmp", QuadrantPicture(8, 8, QUADRANTS));
    canvas.DrawSprite(40, 30, picture.c_str(), picture.c_str(), 8, 8);

    const Picture after = ReadSurface(canvas);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            ASSERT_EQ(QuadrantPicture(8, 8, QUADRANTS).At(x, y), after.At(40 + x, 30 + y));
}

struct ScaleCase {
    int fileWidth;
    int fileHeight;
    int width;
    int height;
};

class SpriteScaling : public SpriteTest, public testing::WithParamInterface<ScaleCase> {};

// The quadrants of the file land on the quadrants of the rectangle asked for, whatever the
// file's own size, and the sprite covers that rectangle to its last row and column. The platform
// may blend neighbouring pixels while scaling, so colours are checked inside the quadrants.
TEST_P(SpriteScaling, DrawsTheFileAtTheSizeAsked)
{
    const ScaleCase& c = GetParam();
    const std::string picture =
        Write("picture.bmp", QuadrantPicture(c.fileWidth, c.fileHeight, QUADRANTS));
    const int x = 4;
    const int y = 3;
    canvas.DrawSprite(x, y, picture.c_str(), picture.c_str(), c.width, c.height);

    const Picture after = ReadSurface(canvas);
    const int left = x + c.width / 4;
    const int right = x + c.width * 3 / 4;
    const int top = y + c.height / 4;
    const int bottom = y + c.height * 3 / 4;
    EXPECT_EQ(RED, after.At(left, top));
    EXPECT_EQ(GREEN, after.At(right, top));
    EXPECT_EQ(BLUE, after.At(left, bottom));
    EXPECT_EQ(GREY, after.At(right, bottom));
    for (int cornerY : {y, y + c.height - 1})
        for (int cornerX : {x, x + c.width - 1})
            EXPECT_NE(before.At(cornerX, cornerY), after.At(cornerX, cornerY))
                << cornerX << "," << cornerY;
    ExpectUnchangedOutside(x, y, c.width, c.height);
}

INSTANTIATE_TEST_SUITE_P(Sizes, SpriteScaling,
                         testing::Values(ScaleCase{8, 8, 40, 40}, ScaleCase{20, 8, 56, 40},
                                         ScaleCase{40, 40, 12, 12}, ScaleCase{8, 8, 8, 8}));

struct ClipCase {
    int x;
    int y;
};

class SpriteClipping : public SpriteTest, public testing::WithParamInterface<ClipCase> {};

TEST_P(SpriteClipping, DrawsOnlyThePartOnTheSurface)
{
    const ClipCase& c = GetParam();
    const std::string picture = Write("picture.bmp", SolidPicture(20, 20, RED));
    canvas.DrawSprite(c.x, c.y, picture.c_str(), picture.c_str(), 20, 20);

    const Picture after = ReadSurface(canvas);
    int drawn = 0;
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            if (x >= c.x && x < c.x + 20 && y >= c.y && y < c.y + 20) {
                ASSERT_EQ(RED, after.At(x, y));
                ++drawn;
            }
        }
    }
    EXPECT_GT(drawn, 0);
    ExpectUnchangedOutside(c.x, c.y, 20, 20);
}

INSTANTIATE_TEST_SUITE_P(Edges, SpriteClipping,
                         testing::Values(ClipCase{-10, -10}, ClipCase{54, 10}, ClipCase{10, 38},
                                         ClipCase{50, 40}, ClipCase{-15, 30}));

struct MissingCase {
    bool imageExists;
    bool maskExists;
};

class SpriteMissingFile : public SpriteTest, public testing::WithParamInterface<MissingCase> {};

TEST_P(SpriteMissingFile, LeavesTheSurfaceAsItWas)
{
    const MissingCase& c = GetParam();
    const std::string image = c.imageExists ? Write("image.bmp", SolidPicture(10, 10, RED))
                                            : folder.File("no-image.bmp");
    const std::string mask = c.maskExists ? Write("mask.bmp", SolidPicture(10, 10, BLACK))
                                          : folder.File("no-mask.bmp");
    canvas.DrawSprite(10, 10, image.c_str(), mask.c_str(), 10, 10);
    EXPECT_EQ(before.pixels, ReadSurface(canvas).pixels);
}

INSTANTIATE_TEST_SUITE_P(Files, SpriteMissingFile,
                         testing::Values(MissingCase{false, true}, MissingCase{true, false},
                                         MissingCase{false, false}));

void WriteText(const std::string& path, const char* text)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(nullptr, file);
    std::fputs(text, file);
    std::fclose(file);
}

// A text file, or a bitmap whose headers declare width by height pixels but that holds only
// pixelBytes of them.
struct UnreadableCase {
    const char* name;
    const char* text;
    int width;
    int height;
    int pixelBytes;
};

class SpriteUnreadableFile : public SpriteTest, public testing::WithParamInterface<UnreadableCase> {
};

// As image, as mask or as both, with the sprite cache on and off: nothing is drawn, and the
// process lives on (under Wine, loading a file that declares more pixels than it holds reads
// past its end).
TEST_P(SpriteUnreadableFile, LeavesTheSurfaceAsItWas)
{
    const UnreadableCase& c = GetParam();
    const std::string broken = folder.File("broken.bmp");
    if (c.text)
        WriteText(broken, c.text);
    else
        WriteBmpDeclaring(broken, c.width, c.height, c.pixelBytes);
    const std::string good = Write("good.bmp", SolidPicture(10, 10, RED));
    const std::string pairs[][2] = {{broken, good}, {good, broken}, {broken, broken}};
    for (bool cache : {true, false}) {
        SetSpriteCacheEnabled(cache);
        for (const auto& pair : pairs) {
            SCOPED_TRACE(std::string(cache ? "cache on, " : "cache off, ") +
                         (pair[0] == broken ? "image " : "") + (pair[1] == broken ? "mask" : ""));
            canvas.DrawSprite(10, 10, pair[0].c_str(), pair[1].c_str(), 10, 10);
            EXPECT_EQ(before.pixels, ReadSurface(canvas).pixels);
        }
    }
    SetSpriteCacheEnabled(true);
}

// Rows of 40 pixels take 120 bytes: 2400 bytes are half of them.
INSTANTIATE_TEST_SUITE_P(
    Files, SpriteUnreadableFile,
    testing::Values(UnreadableCase{"Empty", "", 0, 0, 0},
                    UnreadableCase{"Text", "not a bitmap", 0, 0, 0},
                    UnreadableCase{"HeadersOnly", nullptr, 10, 10, 0},
                    UnreadableCase{"CutInHalf", nullptr, 40, 40, 2400},
                    UnreadableCase{"DeclaresTwentyThousandASide", nullptr, 20000, 20000, 16},
                    UnreadableCase{"DeclaresAHundredThousandASide", nullptr, 100000, 100000, 16}),
    [](const testing::TestParamInfo<UnreadableCase>& info) { return std::string(info.param.name); });

TEST_F(SpriteTest, FileChangedOnDiskShowsAtTheNextDraw)
{
    const std::string picture = Write("picture.bmp", SolidPicture(10, 10, RED));
    canvas.DrawSprite(10, 10, picture.c_str(), picture.c_str(), 10, 10);
    EXPECT_EQ(RED, PixelAt(canvas, 15, 15));

    // A picture of another size, so that the file's length changes even within one tick of
    // the file system's clock.
    WriteBmp(picture, SolidPicture(6, 6, BLUE));
    canvas.DrawSprite(10, 10, picture.c_str(), picture.c_str(), 10, 10);
    EXPECT_EQ(BLUE, PixelAt(canvas, 15, 15));
}

// The header check lets through an uncompressed file whose image-size field points far past its
// end: LoadImageA takes such pixels by the dimensions alone, so the file draws right, stretched.
TEST_F(SpriteTest, ImageSizeFieldPastTheEndIsIgnored)
{
    const std::string picture = Write("picture.bmp", QuadrantPicture(10, 8, QUADRANTS));
    std::FILE* file = std::fopen(picture.c_str(), "r+b");
    ASSERT_NE(nullptr, file);
    std::fseek(file, 34, SEEK_SET); // biSizeImage
    std::fwrite("\xFF\xFF\xFF\xFF", 1, 4, file);
    std::fclose(file);
    canvas.DrawSprite(20, 10, picture.c_str(), picture.c_str(), 20, 16);
    EXPECT_EQ(RED, PixelAt(canvas, 25, 14));
    EXPECT_EQ(GREY, PixelAt(canvas, 35, 22));
}

} // namespace
