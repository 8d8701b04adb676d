#pragma once

// Reading a bitmap file's pixels ourselves, for a canvas with no bitmap loader of its own: the
// browser's decoder is reached only through canvas read-back, which some browsers blur with
// noise against fingerprinting. Takes exactly the files that BitmapFileIsWhole accepts, in the
// depths a Windows loader reads: 1, 4 and 8 bits with a colour table (run-length coded too), 16
// and 32 bits plain or with bit fields, and 24 bits.
#include <cstddef>
#include <cstdint>
#include <vector>

// Pixels top row first, each red in the low byte, then green, then blue, as the platform packs
// colours, with an opaque alpha byte on top (an RGBA image in memory, byte by byte).
struct BitmapPixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

// Decodes the `fileBytes` bytes of a bitmap file into `out`. False, with `out` emptied, for a
// file that BitmapFileIsWhole refuses or that holds a depth no loader reads.
bool DecodeBitmap(const unsigned char* file, std::size_t fileBytes, BitmapPixels& out);
