// libFuzzer target of the bitmap header check: each input is a whole bitmap file, handed over as
// the GDI canvas hands it: its first bytes and its length. A read beyond those bytes, undefined
// arithmetic, or a verdict that a longer file would reverse is a finding. The browser canvas's
// decoder then reads the whole file, which must not take it past the end either.
#include "canvas/bitmap_headers.h"
#include "canvas/bitmap_pixels.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

void Check(const unsigned char* head, std::size_t count, std::uint64_t fileBytes)
{
    // Bytes appended to a file that holds its pixels cannot take any away.
    if (BitmapFileIsWhole(head, count, fileBytes) && !BitmapFileIsWhole(head, count, fileBytes + 1))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Exactly the bytes the canvas reads, so that AddressSanitizer sees a read past them.
    const std::size_t count = std::min(size, BITMAP_HEAD_BYTES);
    const std::unique_ptr<unsigned char[]> head(new unsigned char[count]);
    std::memcpy(head.get(), data, count);
    Check(head.get(), count, size);
    // Inputs stay short, so the file header's length field, which loaders ignore, stands in for
    // the long files that large pictures declare.
    if (count >= 6) {
        const std::uint32_t statedBytes =
            head[2] | head[3] << 8 | head[4] << 16 | std::uint32_t(head[5]) << 24;
        Check(head.get(), count, statedBytes);
    }
    // The whole file in a block of its own size; pictures stay small, so each input stays fast.
    const std::unique_ptr<unsigned char[]> file(new unsigned char[size]);
    std::memcpy(file.get(), data, size);
    BitmapHeader header;
    BitmapPixels picture;
    if (ReadBitmapHeader(head.get(), count, size, header) &&
        header.width * header.height <= 1 << 16 && DecodeBitmap(file.get(), size, picture) &&
        picture.pixels.size() != std::size_t(picture.width) * picture.height)
        std::abort();
    return 0;
}
