#include "canvas/bitmap_headers.h"

#include "canvas/bitmap_format.h"

using namespace bitmap_format;

bool ReadBitmapHeader(const unsigned char* head, std::size_t count, std::uint64_t fileBytes,
                      BitmapHeader& header)
{
    header = BitmapHeader{};
    if (count < FILE_HEADER_BYTES + CORE_HEADER_BYTES || head[0] != 'B' || head[1] != 'M')
        return false;
    const std::uint32_t pixelsAt = Read(head + 10, 4);
    const unsigned char* info = head + FILE_HEADER_BYTES;
    header.infoBytes = Read(info, 4);

    std::uint32_t compressedBytes = 0;
    if (header.infoBytes == CORE_HEADER_BYTES) {
        header.width = Read(info + 4, 2);
        header.height = Read(info + 6, 2);
        header.bitsPerPixel = Read(info + 10, 2);
        header.colourBytes = 3;
    } else if (header.infoBytes >= INFO_HEADER_BYTES &&
               count >= FILE_HEADER_BYTES + INFO_HEADER_BYTES) {
        header.width = static_cast<std::int32_t>(Read(info + 4, 4));
        // Negative for pictures stored from the top row down.
        header.height = static_cast<std::int32_t>(Read(info + 8, 4));
        header.topRowFirst = header.height < 0;
        header.height = header.topRowFirst ? -header.height : header.height;
        header.bitsPerPixel = Read(info + 14, 2);
        header.compression = Read(info + 16, 4);
        compressedBytes = Read(info + 20, 4);
        header.colours = Read(info + 32, 4);
    } else {
        return false;
    }
    if (header.width < 1 || header.height < 1 || header.width > BITMAP_MAX_SIDE ||
        header.height > BITMAP_MAX_SIDE || header.bitsPerPixel < 1 || header.bitsPerPixel > 32)
        return false;

    // The colour table, of which loaders read at most 256 entries, and the three masks that
    // follow a plain info header for bit fields.
    if (header.colours > 256)
        header.colours = 256;
    if (header.colours == 0 && header.bitsPerPixel <= 8)
        header.colours = 1u << header.bitsPerPixel;
    const std::uint64_t masks =
        header.compression == Bitfields && header.infoBytes == INFO_HEADER_BYTES ? 12 : 0;
    header.tableAt = FILE_HEADER_BYTES + header.infoBytes + masks;
    header.tableEnd = header.tableAt + std::uint64_t(header.colours) * header.colourBytes;
    // Without an offset, the pixels follow the table.
    header.pixelStart = pixelsAt != 0 ? pixelsAt : header.tableEnd;

    if (header.compression == Rgb || header.compression == Bitfields) {
        // By the dimensions alone: LoadImageA ignores the image-size field of such pixels, so a
        // field pointing past the end of the file is harmless.
        const std::uint64_t rowBytes =
            (std::uint64_t(header.width) * header.bitsPerPixel + 31) / 32 * 4;
        header.pixelBytes = rowBytes * std::uint64_t(header.height);
    } else if (header.compression == Rle8 || header.compression == Rle4) {
        // Run-length pixels are only as long as the header says.
        if (compressedBytes == 0)
            return false;
        header.pixelBytes = compressedBytes;
    } else {
        return false; // embedded JPEG or PNG: not drawn on a bitmap surface
    }
    return header.tableEnd <= fileBytes && header.pixelStart + header.pixelBytes <= fileBytes;
}

bool BitmapFileIsWhole(const unsigned char* head, std::size_t count, std::uint64_t fileBytes)
{
    BitmapHeader header;
    return ReadBitmapHeader(head, count, fileBytes, header);
}
