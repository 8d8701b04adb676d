#include "canvas/bitmap_pixels.h"

#include "canvas/bitmap_format.h"
#include "canvas/bitmap_headers.h"

#include <algorithm>

using namespace bitmap_format;

namespace {

// Bit-field masks follow the plain info header and sit at the same place inside the later ones.
constexpr std::size_t MASKS_AT = FILE_HEADER_BYTES + INFO_HEADER_BYTES;

std::uint32_t Colour(std::uint32_t red, std::uint32_t green, std::uint32_t blue)
{
    return 0xFF000000u | blue << 16 | green << 8 | red;
}

// One channel of a bit-field pixel, widened to 8 bits by repeating its bits (5 bits of 31 give
// 255, of 16 give 132), as GDI widens them.
std::uint32_t Channel(std::uint32_t value, std::uint32_t mask)
{
    if (mask == 0)
        return 0;
    int shift = 0;
    while (!(mask >> shift & 1))
        ++shift;
    int bits = 0;
    while (shift + bits < 32 && (mask >> (shift + bits) & 1))
        ++bits;
    const std::uint32_t field = (value >> shift) & (bits == 32 ? ~0u : (1u << bits) - 1);
    if (bits >= 8)
        return field >> (bits - 8);
    std::uint32_t wide = 0;
    int filled = 0;
    for (; filled < 8; filled += bits)
        wide = wide << bits | field;
    return wide >> (filled - 8);
}

class Decoder {
public:
    Decoder(const unsigned char* file, const BitmapHeader& header, BitmapPixels& out)
        : file(file), header(header), out(out)
    {
    }

    bool Decode()
    {
        if (!DepthIsReadable())
            return false;
        out.width = int(header.width);
        out.height = int(header.height);
        // The header check has made sure that the masks and the table lie within the file.
        if (header.compression == Bitfields) {
            masks[0] = Read(file + MASKS_AT, 4);
            masks[1] = Read(file + MASKS_AT + 4, 4);
            masks[2] = Read(file + MASKS_AT + 8, 4);
        } else if (header.bitsPerPixel == 16) {
            masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
        } else if (header.bitsPerPixel == 32) {
            masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
        }
        paletteSize = header.bitsPerPixel <= 8 ? header.colours : 0;
        for (std::uint32_t i = 0; i < paletteSize; ++i) {
            const unsigned char* entry = file + header.tableAt + i * header.colourBytes;
            palette[i] = Colour(entry[2], entry[1], entry[0]);
        }

        // Pixels that run-length data skips stay black, as in a fresh DIB section.
        out.pixels.assign(std::size_t(out.width) * out.height, Colour(0, 0, 0));
        if (header.compression == Rle8 || header.compression == Rle4)
            DecodeRunLengths();
        else
            DecodeRows();
        return true;
    }

private:
    bool DepthIsReadable() const
    {
        const std::uint32_t bits = header.bitsPerPixel;
        switch (header.compression) {
        case Rgb:
            return bits == 1 || bits == 4 || bits == 8 || bits == 24 ||
                   (header.infoBytes != CORE_HEADER_BYTES && (bits == 16 || bits == 32));
        // The masks follow a plain info header, or lie within a header that has room for them.
        case Bitfields:
            return (bits == 16 || bits == 32) &&
                   (header.infoBytes == MASKS_AT - FILE_HEADER_BYTES ||
                    header.infoBytes >= MASKS_AT + 12 - FILE_HEADER_BYTES);
        // Run-length pixels are stored from the bottom row up, always.
        case Rle8:
            return bits == 8 && !header.topRowFirst;
        case Rle4:
            return bits == 4 && !header.topRowFirst;
        default:
            return false;
        }
    }

    // An index outside the colour table gives black.
    std::uint32_t Indexed(std::uint32_t index) const
    {
        return index < paletteSize ? palette[index] : Colour(0, 0, 0);
    }

    // Row `fileRow` counts in the order the file stores rows.
    std::uint32_t* Row(std::int64_t fileRow)
    {
        const std::int64_t row = header.topRowFirst ? fileRow : out.height - 1 - fileRow;
        return out.pixels.data() + row * out.width;
    }

    void DecodeRows()
    {
        const std::uint32_t bitsPerPixel = header.bitsPerPixel;
        const std::size_t rowBytes = (std::size_t(out.width) * bitsPerPixel + 31) / 32 * 4;
        for (int fileRow = 0; fileRow < out.height; ++fileRow) {
            const unsigned char* in = file + header.pixelStart + fileRow * rowBytes;
            std::uint32_t* row = Row(fileRow);
            for (int x = 0; x < out.width; ++x) {
                switch (bitsPerPixel) {
                case 24:
                    row[x] = Colour(in[3 * x + 2], in[3 * x + 1], in[3 * x]);
                    break;
                case 16:
                case 32: {
                    const std::uint32_t value = Read(in + x * (bitsPerPixel / 8), bitsPerPixel / 8);
                    row[x] = Colour(Channel(value, masks[0]), Channel(value, masks[1]),
                                    Channel(value, masks[2]));
                    break;
                }
                default: { // 1, 4 or 8 bits, the leftmost pixel in the highest bits
                    const std::size_t bit = std::size_t(x) * bitsPerPixel;
                    const std::uint32_t index =
                        in[bit / 8] >> (8 - bitsPerPixel - bit % 8) & ((1u << bitsPerPixel) - 1);
                    row[x] = Indexed(index);
                }
                }
            }
        }
    }

    // Pairs of bytes: a count and a colour index for a run, or 0 and an escape: end of row (0),
    // end of picture (1), a move right and up (2, then two bytes), or a count of single pixels
    // (3 and more) padded to an even number of bytes. Runs of 4-bit pixels alternate between the
    // two indices of their byte. Pixels beyond a row's end or the top are dropped.
    void DecodeRunLengths()
    {
        const unsigned char* in = file + header.pixelStart;
        const unsigned char* end = in + header.pixelBytes;
        const bool fourBits = header.compression == Rle4;
        std::int64_t x = 0;
        std::int64_t y = 0;
        auto put = [&](std::uint32_t index) {
            if (x < out.width && y < out.height)
                Row(y)[x] = Indexed(index);
            ++x;
        };
        while (end - in >= 2 && y < out.height) {
            const unsigned count = in[0];
            const unsigned value = in[1];
            in += 2;
            if (count > 0) {
                for (unsigned i = 0; i < count; ++i)
                    put(fourBits ? (i % 2 ? value & 0xF : value >> 4) : value);
            } else if (value == 0) {
                x = 0;
                ++y;
            } else if (value == 1) {
                return;
            } else if (value == 2) {
                if (end - in < 2)
                    return;
                x += in[0];
                y += in[1];
                in += 2;
            } else {
                const std::ptrdiff_t bytes = fourBits ? (value + 1) / 2 : value;
                if (end - in < bytes)
                    return;
                for (unsigned i = 0; i < value; ++i)
                    put(fourBits ? (i % 2 ? in[i / 2] & 0xF : in[i / 2] >> 4) : in[i]);
                in += std::min<std::ptrdiff_t>(bytes + bytes % 2, end - in);
            }
        }
    }

    const unsigned char* file;
    const BitmapHeader& header;
    BitmapPixels& out;
    std::uint32_t masks[3] = {};
    std::uint32_t palette[256] = {};
    std::uint32_t paletteSize = 0;
};

} // namespace

bool DecodeBitmap(const unsigned char* file, std::size_t fileBytes, BitmapPixels& out)
{
    out = BitmapPixels{};
    BitmapHeader header;
    if (!ReadBitmapHeader(file, std::min(fileBytes, BITMAP_HEAD_BYTES), fileBytes, header) ||
        !Decoder(file, header, out).Decode()) {
        out = BitmapPixels{};
        return false;
    }
    return true;
}
