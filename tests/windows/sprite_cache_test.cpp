// The sprite cache of the GDI canvas: files that change, vanish and come back, and its bound.
#include "canvas/canvas.h"
#include "canvas/sprite_cache.h"
#include "tests/windows/bmp_files.h"
#include "tests/windows/surface_pixels.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <string>

namespace {

constexpr std::uint32_t RED = 0xFF0000;
constexpr std::uint32_t BLUE = 0x0000FF;
constexpr std::uint32_t GREEN = 0x00FF00;

class SpriteCacheTest : public testing::Test {
protected:
    void SetUp() override
    {
        SetSpriteCacheEnabled(false); // starts empty
        SetSpriteCacheEnabled(true);
        canvas.Setup(nullptr, 40, 40);
        canvas.ClearBlack();
    }

    void TearDown() override { SetSpriteCacheEnabled(true); }

    // An opaque 10 by 10 sprite at (10, 10); its middle pixel tells what was drawn.
    std::uint32_t DrawAndSample(const std::string& file)
    {
        canvas.ClearBlack();
        canvas.DrawSprite(10, 10, file.c_str(), file.c_str(), 10, 10);
        return PixelAt(canvas, 15, 15);
    }

    TempFolder folder;
    std::string picture = folder.File("picture.bmp");
    Canvas canvas;
};

// Moves the file's last-write time an hour on, as a copy from elsewhere might.
void AgeForward(const std::string& file)
{
    const HANDLE handle = CreateFileA(file.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    FILETIME written;
    GetFileTime(handle, nullptr, nullptr, &written);
    ULARGE_INTEGER t;
    t.LowPart = written.dwLowDateTime;
    t.HighPart = written.dwHighDateTime;
    t.QuadPart += 3600ULL * 10000000ULL;
    written.dwLowDateTime = t.LowPart;
    written.dwHighDateTime = t.HighPart;
    SetFileTime(handle, nullptr, nullptr, &written);
    CloseHandle(handle);
}

struct ChangeCase {
    const char* name;
    int sideAfter;      // side of the picture written over the first one
    bool laterWriteTime; // whether the write time is moved on too
};

class SpriteCacheChange : public SpriteCacheTest, public testing::WithParamInterface<ChangeCase> {};

// Either a new length or a new write time shows the cache that the file is another picture.
TEST_P(SpriteCacheChange, RedrawsTheNewPictureAfterTheFileChanges)
{
    const ChangeCase& c = GetParam();
    WriteBmp(picture, SolidPicture(10, 10, RED));
    ASSERT_EQ(RED, DrawAndSample(picture));
    ASSERT_EQ(RED, DrawAndSample(picture)); // from the cache

    WriteBmp(picture, SolidPicture(c.sideAfter, c.sideAfter, BLUE));
    if (c.laterWriteTime)
        AgeForward(picture);
    EXPECT_EQ(BLUE, DrawAndSample(picture));
}

INSTANTIATE_TEST_SUITE_P(Changes, SpriteCacheChange,
                         testing::Values(ChangeCase{"OtherLength", 6, false},
                                         ChangeCase{"SameLengthLaterTime", 10, true}),
                         [](const testing::TestParamInfo<ChangeCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(SpriteCacheTest, DeletedFileStopsDrawingAndARecreatedOneDrawsAgain)
{
    WriteBmp(picture, SolidPicture(10, 10, RED));
    ASSERT_EQ(RED, DrawAndSample(picture));

    DeleteFileA(picture.c_str());
    EXPECT_EQ(BLACK, DrawAndSample(picture));
    EXPECT_EQ(0, SpriteCacheEntries());

    WriteBmp(picture, SolidPicture(8, 8, GREEN));
    EXPECT_EQ(GREEN, DrawAndSample(picture));
}

TEST_F(SpriteCacheTest, FileThatIsNotABitmapIsTriedAgainAtEveryDraw)
{
    std::FILE* file = std::fopen(picture.c_str(), "wb");
    ASSERT_NE(nullptr, file);
    std::fputs("not a bitmap", file);
    std::fclose(file);
    EXPECT_EQ(BLACK, DrawAndSample(picture));
    EXPECT_EQ(0, SpriteCacheEntries());

    WriteBmp(picture, SolidPicture(10, 10, RED));
    EXPECT_EQ(RED, DrawAndSample(picture));
}

TEST_F(SpriteCacheTest, KeepsOneBitmapPerFileAndSize)
{
    const std::string mask = folder.File("mask.bmp");
    WriteBmp(picture, SolidPicture(10, 10, RED));
    WriteBmp(mask, SolidPicture(10, 10, WHITE));
    for (int i = 0; i < 3; ++i) {
        canvas.DrawSprite(0, 0, picture.c_str(), picture.c_str(), 10, 10);
        canvas.DrawSprite(0, 0, picture.c_str(), mask.c_str(), 10, 10);
        canvas.DrawSprite(0, 0, picture.c_str(), mask.c_str(), 12, 10);
    }
    EXPECT_EQ(4, SpriteCacheEntries());
}

// The pusher bar is loaded at a new size every tick: the sizes pass through a bounded cache,
// and evicted sizes still draw right when they come back.
TEST_F(SpriteCacheTest, ManySizesStayWithinTheBound)
{
    const std::uint32_t quadrants[4] = {RED, GREEN, BLUE, WHITE};
    WriteBmp(picture, QuadrantPicture(8, 8, quadrants));
    for (int round = 0; round < 2; ++round) {
        for (int side = 4; side < 4 + 3 * SPRITE_CACHE_CAPACITY; ++side) {
            canvas.DrawSprite(0, 0, picture.c_str(), picture.c_str(), side, 36 - side % 20);
            ASSERT_LE(SpriteCacheEntries(), SPRITE_CACHE_CAPACITY);
        }
    }
    EXPECT_EQ(SPRITE_CACHE_CAPACITY, SpriteCacheEntries());

    canvas.ClearBlack();
    canvas.DrawSprite(10, 10, picture.c_str(), picture.c_str(), 16, 16);
    EXPECT_EQ(RED, PixelAt(canvas, 13, 13));
    EXPECT_EQ(WHITE, PixelAt(canvas, 22, 22));
}

TEST_F(SpriteCacheTest, SwitchedOffHoldsNothingAndDrawsTheSame)
{
    const std::uint32_t quadrants[4] = {RED, GREEN, BLUE, WHITE};
    const std::string mask = folder.File("mask.bmp");
    WriteBmp(picture, QuadrantPicture(8, 8, quadrants));
    WriteBmp(mask, QuadrantPicture(8, 8, quadrants));

    auto drawScene = [&] {
        canvas.ClearBlack();
        canvas.DrawSprite(-3, 4, picture.c_str(), picture.c_str(), 20, 14);
        canvas.DrawSprite(12, 9, picture.c_str(), mask.c_str(), 30, 30);
        canvas.DrawSprite(30, 30, mask.c_str(), picture.c_str(), 7, 7);
        return ReadSurface(canvas);
    };
    const Picture cached = drawScene();
    EXPECT_EQ(cached.pixels, drawScene().pixels);
    EXPECT_GT(SpriteCacheEntries(), 0);

    SetSpriteCacheEnabled(false);
    EXPECT_EQ(0, SpriteCacheEntries());
    EXPECT_EQ(cached.pixels, drawScene().pixels);
    EXPECT_EQ(0, SpriteCacheEntries());
}

} // namespace
