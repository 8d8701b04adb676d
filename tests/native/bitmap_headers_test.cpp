// Which bitmap files the canvas trusts to LoadImageA: those that hold every pixel their headers
// declare, at a sane size.
#include "canvas/bitmap_headers.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

struct Headers {
    std::uint32_t pixelsAt;
    std::uint32_t infoBytes; // 40, or 12 for the old header with 16-bit sizes
    std::int32_t width;
    std::int32_t height;
    std::uint16_t bitsPerPixel;
    std::uint32_t compression;
    std::uint32_t compressedBytes;
    std::uint32_t colours;
};

constexpr Headers PLAIN = {54, 40, 10, 10, 24, 0, 0, 0};

void Put(std::vector<unsigned char>& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

// The first BITMAP_HEAD_BYTES bytes of a file with these headers (fewer for the old header).
std::vector<unsigned char> Head(const Headers& h)
{
    std::vector<unsigned char> out = {'B', 'M'};
    Put(out, 0, 4); // the file's length, which loaders do not read
    Put(out, 0, 4);
    Put(out, h.pixelsAt, 4);
    Put(out, h.infoBytes, 4);
    if (h.infoBytes == 12) {
        Put(out, h.width, 2);
        Put(out, h.height, 2);
        Put(out, 1, 2);
        Put(out, h.bitsPerPixel, 2);
        return out;
    }
    Put(out, h.width, 4);
    Put(out, h.height, 4);
    Put(out, 1, 2);
    Put(out, h.bitsPerPixel, 2);
    Put(out, h.compression, 4);
    Put(out, h.compressedBytes, 4);
    Put(out, 2835, 4);
    Put(out, 2835, 4);
    Put(out, h.colours, 4);
    Put(out, 0, 4);
    return out;
}

struct Case {
    const char* name;
    Headers headers;
    std::uint64_t fileBytes;
    bool whole;
};

// Rows of 10 pixels are 32 bytes at 24 bits, 12 at 8 bits and 40 at 32 bits. Each file that
// holds its pixels is followed by the same file a byte short.
TEST(BitmapHeaders, FileIsWholeWhenItHoldsEveryDeclaredPixel)
{
    const Case cases[] = {
        // {pixels at, header, width, height, bits, compression, packed bytes, colours}, file bytes
        {"24 bits",                  {54,   40, 10,  10, 24, 0, 0, 0},   54 + 320,  true},
        {"24 bits, short",           {54,   40, 10,  10, 24, 0, 0, 0},   54 + 319,  false},
        {"24 bits, headers only",    {54,   40, 10,  10, 24, 0, 0, 0},   54,        false},
        {"top row first",            {54,   40, 10, -10, 24, 0, 0, 0},   54 + 320,  true},
        {"top row first, short",     {54,   40, 10, -10, 24, 0, 0, 0},   54 + 319,  false},
        {"8 bits after the table",   {1078, 40, 10,  10,  8, 0, 0, 0},   1078 + 120, true},
        {"8 bits, short",            {1078, 40, 10,  10,  8, 0, 0, 0},   1078 + 119, false},
        // Without an offset the pixels follow the table, of 256 colours or of those used.
        {"no offset",                {0,    40, 10,  10,  8, 0, 0, 0},   1078 + 120, true},
        {"no offset, short",         {0,    40, 10,  10,  8, 0, 0, 0},   1078 + 119, false},
        {"2 colours, no offset",     {0,    40, 10,  10,  8, 0, 0, 2},   62 + 120,  true},
        {"2 colours, short",         {0,    40, 10,  10,  8, 0, 0, 2},   62 + 119,  false},
        // Pixels that overlap the table are odd but harmless; a table past the end is not.
        {"pixels within the table",  {54,   40, 10,  10,  8, 0, 0, 0},   1078,      true},
        {"table cut off",            {54,   40, 10,  10,  8, 0, 0, 0},   1077,      false},
        {"bit fields, no offset",    {0,    40, 10,  10, 32, 3, 0, 0},   66 + 400,  true},
        {"bit fields, short",        {0,    40, 10,  10, 32, 3, 0, 0},   66 + 399,  false},
        {"old header",               {26,   12, 10,  10, 24, 0, 0, 0},   26 + 320,  true},
        {"old header, short",        {26,   12, 10,  10, 24, 0, 0, 0},   26 + 319,  false},
        // LoadImageA reads uncompressed pixels by the dimensions and ignores the image-size
        // field (seen under Wine: no read past the end, every pixel right), so any value will do.
        {"image size past the end",  {54,   40, 10,  10, 24, 0, 0xFFFFFFFF, 0}, 54 + 320, true},
        {"run lengths",              {1078, 40, 10,  10,  8, 1, 90, 0},  1078 + 90, true},
        {"run lengths, short",       {1078, 40, 10,  10,  8, 1, 91, 0},  1078 + 90, false},
        {"run lengths, no length",   {1078, 40, 10,  10,  8, 1, 0, 0},   100000,    false},
        {"embedded PNG",             {54,   40, 10,  10,  0, 5, 10, 0},  100000,    false},
        {"4096 wide",                {54,   40, 4096, 1, 24, 0, 0, 0},   54 + 12288, true},
        {"4097 wide",                {54,   40, 4097, 1, 24, 0, 0, 0},   100000,    false},
        {"4097 high",                {54,   40, 1, -4097, 24, 0, 0, 0},  100000,    false},
        {"100,000 a side",           {54,   40, 100000, 100000, 24, 0, 0, 0}, 70, false},
        {"20,000 a side",            {54,   40, 20000, 20000, 24, 0, 0, 0},   70, false},
        {"no width",                 {54,   40, 0,   10, 24, 0, 0, 0},   100000,    false},
        {"negative width",           {54,   40, -10, 10, 24, 0, 0, 0},   100000,    false},
        {"no height",                {54,   40, 10,   0, 24, 0, 0, 0},   100000,    false},
        {"lowest height",            {54,   40, 10, INT32_MIN, 24, 0, 0, 0}, 100000, false},
        {"no bits",                  {54,   40, 10,  10,  0, 0, 0, 0},   100000,    false},
        {"header of unknown size",   {54,   20, 10,  10, 24, 0, 0, 0},   100000,    false},
        {"header past the end",      {0,   124, 10,  10, 24, 0, 0, 0},   100,       false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<unsigned char> head = Head(c.headers);
        EXPECT_EQ(c.whole, BitmapFileIsWhole(head.data(), head.size(), c.fileBytes));
    }
}

TEST(BitmapHeaders, FileShorterThanItsHeadersOrNotABitmapIsNotWhole)
{
    std::vector<unsigned char> head = Head(PLAIN);
    for (std::size_t count : {0u, 2u, 25u, 53u}) {
        SCOPED_TRACE(count);
        EXPECT_FALSE(BitmapFileIsWhole(head.data(), count, count));
    }
    head[1] = 'A';
    EXPECT_FALSE(BitmapFileIsWhole(head.data(), head.size(), 54 + 320));
}

} // namespace
