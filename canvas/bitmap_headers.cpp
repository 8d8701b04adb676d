#include "canvas/bitmap_headers.h"

#include "canvas/bitmap_format.h"

using namespace bitmap_format;

bool BitmapFileIsWhole(const unsigned char* head, std::size_t count, std::uint64_t fileBytes)
{
    if (count < FILE_HEADER_BYTES + CORE_HEADER_BYTES || head[0] != 'B' || head[1] != 'M')
        return false;
    const std::uint32_t pixelsAt = Read(head + 10, 4);
    const unsigned char* info = head + FILE_HEADER_BYTES;
    const std::uint32_t infoBytes = Read(info, 4);

    std::int64_t width;
    std::int64_t height;
    std::uint32_t bitsPerPixel;
    std::uint32_t compression = Rgb;
    std::uint32_t compressedBytes = 0;
    std::uint32_t colours = 0;
    std::uint32_t colourBytes = 4;
    if (infoBytes == CORE_HEADER_BYTES) {
        width = Read(info + 4, 2);
        height = Read(info + 6, 2);
        bitsPerPixel = Read(info + 10, 2);
        colourBytes = 3;
    } else if (infoBytes >= INFO_HEADER_BYTES && count >= FILE_HEADER_BYTES + INFO_HEADER_BYTES) {
        width = static_cast<std::int32_t>(Read(info + 4, 4));
        // Negative for pictures stored from the top row down.
        height = static_cast<std::int32_t>(Read(info + 8, 4));
        height = height < 0 ? -height : height;
        bitsPerPixel = Read(info + 14, 2);
        compression = Read(info + 16, 4);
        compressedBytes = Read(info + 20, 4);
        colours = Read(info + 32, 4);
    } else {
        return false;
    }
    if (width < 1 || height < 1 || width > BITMAP_MAX_SIDE || height > BITMAP_MAX_SIDE ||
        bitsPerPixel < 1 || bitsPerPixel > 32)
        return false;

    // The colour table, of which loaders read at most 256 entries, and the three masks that
    // follow a plain info header for bit fields.
    if (colours > 256)
        colours = 256;
    if (colours == 0 && bitsPerPixel <= 8)
        colours = 1u << bitsPerPixel;
    const std::uint64_t masks = compression == Bitfields && infoBytes == INFO_HEADER_BYTES ? 12 : 0;
    const std::uint64_t tableEnd =
        FILE_HEADER_BYTES + infoBytes + masks + std::uint64_t(colours) * colourBytes;
    // Without an offset, the pixels follow the table.
    const std::uint64_t pixelStart = pixelsAt != 0 ? pixelsAt : tableEnd;

    std::uint64_t pixelBytes;
    if (compression == Rgb || compression == Bitfields) {
        // By the dimensions alone: LoadImageA ignores the image-size field of such pixels, so a
        // field pointing past the end of the file is harmless.
        const std::uint64_t rowBytes = (std::uint64_t(width) * bitsPerPixel + 31) / 32 * 4;
        pixelBytes = rowBytes * std::uint64_t(height);
    } else if (compression == Rle8 || compression == Rle4) {
        // Run-length pixels are only as long as the header says.
        if (compressedBytes == 0)
            return false;
        pixelBytes = compressedBytes;
    } else {
        return false; // embedded JPEG or PNG: not drawn on a bitmap surface
    }
    return tableEnd <= fileBytes && pixelStart + pixelBytes <= fileBytes;
}
