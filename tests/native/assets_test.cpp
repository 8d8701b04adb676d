// The committed picture, sound and icon files, against what the game draws and plays and what
// the platform's loaders accept.
#include "test_support.h"

#include "game/assets.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

using namespace game;

namespace {

const std::string SOURCE_DIR = VORKELM_SOURCE_DIR;

std::vector<uint8_t> ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

uint32_t Le16(const std::vector<uint8_t>& b, size_t at) { return b[at] | b[at + 1] << 8; }
uint32_t Le32(const std::vector<uint8_t>& b, size_t at) { return Le16(b, at) | Le16(b, at + 2) << 16; }

// A 24-bit uncompressed bottom-up BMP, as the game's bitmap loading reads it; empty if the file
// is anything else.
struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels; // 0xRRGGBB, rows from the top

    bool Loaded() const { return width > 0; }
    uint32_t At(int x, int y) const { return pixels[size_t(y) * width + x]; }
};

Bitmap ReadBitmap(const std::string& name)
{
    const std::vector<uint8_t> b = ReadFile(SOURCE_DIR + "/assets/" + name);
    Bitmap bmp;
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M' || Le32(b, 14) != 40 || Le16(b, 26) != 1 ||
        Le16(b, 28) != 24 || Le32(b, 30) != 0)
        return bmp;
    const int w = int32_t(Le32(b, 18));
    const int h = int32_t(Le32(b, 22));
    const size_t offset = Le32(b, 10);
    const size_t stride = (size_t(w) * 3 + 3) & ~size_t(3);
    if (w <= 0 || h <= 0 || b.size() < offset + stride * h)
        return bmp;
    bmp.width = w;
    bmp.height = h;
    for (int y = 0; y < h; ++y) {
        const size_t row = offset + stride * (h - 1 - y);
        for (int x = 0; x < w; ++x) {
            const size_t p = row + 3 * size_t(x);
            bmp.pixels.push_back(uint32_t(b[p + 2]) << 16 | uint32_t(b[p + 1]) << 8 | b[p]);
        }
    }
    return bmp;
}

constexpr uint32_t WHITE = 0xFFFFFF;
constexpr uint32_t BLACK = 0x000000;

struct DrawnSizes {
    std::string mask;
    int minWidth = 1 << 30, maxWidth = 0, minHeight = 1 << 30, maxHeight = 0;
};

class AssetFiles : public FreshGame {
protected:
    // Every sprite the first ticks draw, by image file, with the range of sizes it is drawn at.
    // Ten ticks take the pusher through its whole cycle and pay the first coins into the tray.
    static std::map<std::string, DrawnSizes> SpritesOfTheFirstTicks()
    {
        StartGame();
        std::map<std::string, DrawnSizes> sprites;
        for (int tick = 0; tick < 10; ++tick) {
            RunTicks(1);
            for (const RecordedCall& call : RecordedCalls().Calls()) {
                if (call.kind != CallKind::Sprite)
                    continue;
                DrawnSizes& s = sprites[call.Name()];
                s.mask = call.mask;
                s.minWidth = std::min(s.minWidth, call.args[2]);
                s.maxWidth = std::max(s.maxWidth, call.args[2]);
                s.minHeight = std::min(s.minHeight, call.args[3]);
                s.maxHeight = std::max(s.maxHeight, call.args[3]);
            }
        }
        return sprites;
    }
};

// The release and the browser build ship the list's files, and the Windows program looks for all
// of them: the list and the folder must agree.
TEST(AssetList, NamesEachFileOfTheAssetFolderOnce)
{
    const std::set<std::string> listed(std::begin(ASSET_FILES), std::end(ASSET_FILES));
    EXPECT_EQ(size_t(ASSET_FILE_COUNT), listed.size()) << "a file listed twice";
    std::set<std::string> stored;
    for (const auto& entry : std::filesystem::directory_iterator(SOURCE_DIR + "/assets"))
        stored.insert(entry.path().filename().string());
    EXPECT_EQ(listed, stored);
}

TEST_F(AssetFiles, EverySpriteIsStoredAtASizeItIsDrawnAtAndFollowsTheMaskConvention)
{
    const std::map<std::string, DrawnSizes> sprites = SpritesOfTheFirstTicks();
    // The five machine layers and both coin pictures.
    EXPECT_EQ(7u, sprites.size());
    for (const auto& [imageName, drawn] : sprites) {
        SCOPED_TRACE(imageName);
        const Bitmap image = ReadBitmap(imageName);
        ASSERT_TRUE(image.Loaded());
        EXPECT_GE(image.width, drawn.minWidth);
        EXPECT_LE(image.width, drawn.maxWidth);
        EXPECT_GE(image.height, drawn.minHeight);
        EXPECT_LE(image.height, drawn.maxHeight);
        if (drawn.mask == imageName)
            continue; // drawn opaque through itself

        SCOPED_TRACE(drawn.mask);
        const Bitmap mask = ReadBitmap(drawn.mask);
        ASSERT_TRUE(mask.Loaded());
        ASSERT_EQ(image.width, mask.width);
        ASSERT_EQ(image.height, mask.height);
        int opaque = 0, badMask = 0, badImage = 0;
        for (int y = 0; y < mask.height; ++y)
            for (int x = 0; x < mask.width; ++x) {
                const uint32_t m = mask.At(x, y);
                opaque += m == WHITE;
                badMask += m != WHITE && m != BLACK;
                badImage += m == BLACK && image.At(x, y) != WHITE;
            }
        EXPECT_GT(opaque, 0);
        EXPECT_EQ(0, badMask) << "mask pixels neither white nor black";
        EXPECT_EQ(0, badImage) << "image pixels not white where the mask is black";
    }
}

// Average brightness, 0 to 255, of the 14 by 14 pixels that the lamp square leaves visible.
double CellBrightness(const Bitmap& board, int left, int top)
{
    double sum = 0;
    for (int y = top + 2; y < top + 16; ++y)
        for (int x = left + 2; x < left + 16; ++x) {
            const uint32_t c = board.At(x, y);
            sum += 0.299 * (c >> 16) + 0.587 * (c >> 8 & 0xFF) + 0.114 * (c & 0xFF);
        }
    return sum / (14 * 14);
}

TEST_F(AssetFiles, TheTopBoardLightsExactlyTheLampCellsThatPay)
{
    StartGame();
    RunTicks(1);
    const RecordedCall* board = nullptr;
    for (const RecordedCall& call : RecordedCalls().Calls())
        if (call.kind == CallKind::Sprite && std::strcmp(call.Name(), "top.bmp") == 0)
            board = &call;
    ASSERT_NE(nullptr, board);
    const Bitmap picture = ReadBitmap("top.bmp");
    ASSERT_TRUE(picture.Loaded());
    ASSERT_EQ(board->args[2], picture.width);
    ASSERT_EQ(board->args[3], picture.height);

    for (int row = 0; row < LAMP_ROWS; ++row)
        for (int column = 0; column < LAMP_COLUMNS; ++column) {
            SCOPED_TRACE("row " + std::to_string(row) + ", column " + std::to_string(column));
            // The lamp square of a cell, moved into the board picture; cells are as wide as
            // the square of cell (0, 0).
            const int left = lampLeft + (lampRight - lampLeft) * column - board->args[0];
            const int top = lampTop + (lampBottom - lampTop) * row - board->args[1];
            const double brightness = CellBrightness(picture, left, top);
            if (PAYOUT_GRID[row][column] == 0)
                EXPECT_LT(brightness, 60);
            else
                EXPECT_GT(brightness, 90);
        }
}

TEST_F(AssetFiles, EverySoundIsPlainPcmShorterThanHalfASecondAndTheyDiffer)
{
    std::vector<std::vector<uint8_t>> sounds;
    for (const char* name : {LAMP_STEP_SOUND, LAMP_STOP_SOUND, CATCH_SOUND, PAYOUT_SOUND}) {
        SCOPED_TRACE(name);
        const std::vector<uint8_t> b = ReadFile(SOURCE_DIR + "/assets/" + name);
        ASSERT_GE(b.size(), 44u);
        EXPECT_EQ(0, std::memcmp(b.data(), "RIFF", 4));
        EXPECT_EQ(b.size() - 8, Le32(b, 4));
        EXPECT_EQ(0, std::memcmp(b.data() + 8, "WAVEfmt ", 8));
        EXPECT_EQ(16u, Le32(b, 16));
        EXPECT_EQ(1u, Le16(b, 20)) << "PCM";
        EXPECT_EQ(1u, Le16(b, 22)) << "mono";
        const uint32_t rate = Le32(b, 24);
        const uint32_t bits = Le16(b, 34);
        EXPECT_TRUE(rate == 11025 || rate == 22050) << rate;
        EXPECT_TRUE(bits == 8 || bits == 16) << bits;
        EXPECT_EQ(rate * bits / 8, Le32(b, 28));
        EXPECT_EQ(bits / 8, Le16(b, 32));
        EXPECT_EQ(0, std::memcmp(b.data() + 36, "data", 4));
        const uint32_t dataBytes = Le32(b, 40);
        EXPECT_EQ(b.size() - 44, dataBytes);
        EXPECT_GT(dataBytes, 0u);
        EXPECT_LT(double(dataBytes) / (rate * bits / 8), 0.5);
        for (const auto& other : sounds)
            EXPECT_TRUE(other != b) << "the same sound as an earlier file";
        sounds.push_back(b);
    }
}

TEST_F(AssetFiles, IconsHoldTheirImagesIn16Colours)
{
    const struct {
        const char* file;
        std::vector<int> sizes;
    } icons[] = {{"vorkelm.ico", {32, 16}}, {"small.ico", {16}}};
    for (const auto& icon : icons) {
        SCOPED_TRACE(icon.file);
        const std::vector<uint8_t> b = ReadFile(SOURCE_DIR + "/app/" + icon.file);
        ASSERT_GE(b.size(), 6u);
        EXPECT_EQ(0u, Le16(b, 0));
        EXPECT_EQ(1u, Le16(b, 2)) << "icon type";
        ASSERT_EQ(icon.sizes.size(), Le16(b, 4));
        for (size_t i = 0; i < icon.sizes.size(); ++i) {
            const size_t entry = 6 + 16 * i;
            ASSERT_GE(b.size(), entry + 16);
            const int size = icon.sizes[i];
            EXPECT_EQ(size, b[entry]);
            EXPECT_EQ(size, b[entry + 1]);
            EXPECT_EQ(16, b[entry + 2]) << "colours";
            const uint32_t bytes = Le32(b, entry + 8);
            const uint32_t offset = Le32(b, entry + 12);
            ASSERT_GE(b.size(), size_t(offset) + bytes);
            // The image: a 4-bit colour bitmap with 16 palette entries, then the 1-bit mask.
            const size_t colourBytes = size_t((size / 2 + 3) & ~3) * size;
            const size_t maskBytes = size_t(((size + 31) / 32) * 4) * size;
            EXPECT_EQ(40 + 16 * 4 + colourBytes + maskBytes, bytes);
            EXPECT_EQ(40u, Le32(b, offset));
            EXPECT_EQ(uint32_t(size), Le32(b, offset + 4));
            EXPECT_EQ(uint32_t(2 * size), Le32(b, offset + 8));
            EXPECT_EQ(4u, Le16(b, offset + 14)) << "bits per pixel";
        }
    }
}

} // namespace
