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

// Whether a bitmap file fileBytes long, beginning with the `count` bytes at `head`, holds every
// pixel its headers declare, within BITMAP_MAX_SIDE a side.
bool BitmapFileIsWhole(const unsigned char* head, std::size_t count, std::uint64_t fileBytes);
