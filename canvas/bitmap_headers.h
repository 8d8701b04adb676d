#pragma once

// Loading a bitmap file trusts its headers: under Wine, LoadImageA of a file that declares more
// pixels than it holds (a truncated file, say) reads past the end of the file's mapping and
// brings the process down. The GDI canvas therefore reads the headers first and leaves such a
// file undrawn, as it would a missing one. Kept apart from the file system so it can be tested.
#include "canvas/bitmap_format.h"

#include <cstddef>
#include <cstdint>

// The bytes the check looks at: the file header and the fields of a BITMAPINFOHEADER (the later
// header versions begin the same way).
constexpr std::size_t BITMAP_HEAD_BYTES =
    bitmap_format::FILE_HEADER_BYTES + bitmap_format::INFO_HEADER_BYTES;

// The widest or tallest picture a sprite file may declare; the game's own are a few hundred
// pixels, and a bigger one would only cost seconds of scaling at every load.
constexpr std::int64_t BITMAP_MAX_SIDE = 4096;

// What a bitmap file's headers declare, as both the check and the decoder read it: where the
// colour table ends and the pixels start is decided here alone.
struct BitmapHeader {
    std::uint32_t infoBytes = 0; // the info header's length; CORE_HEADER_BYTES for the old one
    std::int64_t width = 0;
    std::int64_t height = 0; // positive, also for pictures stored from the top row down
    bool topRowFirst = false;
    std::uint32_t bitsPerPixel = 0;
    std::uint32_t compression = bitmap_format::Rgb;
    std::uint32_t colours = 0;     // colour table entries that loaders read, at most 256
    std::uint32_t colourBytes = 4; // 3 in the old header's table
    std::uint64_t tableAt = 0;     // after the bit-field masks that follow a plain info header
    std::uint64_t tableEnd = 0;
    std::uint64_t pixelStart = 0;
    std::uint64_t pixelBytes = 0; // run-length pixels: as many as the header says
};

// Reads the headers of a bitmap file fileBytes long from its first `count` bytes at `head`. False
// for a file that is no bitmap, declares more than BITMAP_MAX_SIDE a side or a compression no
// bitmap surface draws, or does not hold every pixel it declares.
bool ReadBitmapHeader(const unsigned char* head, std::size_t count, std::uint64_t fileBytes,
                      BitmapHeader& header);

// Whether a bitmap file fileBytes long, beginning with the `count` bytes at `head`, holds every
// pixel its headers declare, within BITMAP_MAX_SIDE a side.
bool BitmapFileIsWhole(const unsigned char* head, std::size_t count, std::uint64_t fileBytes);
