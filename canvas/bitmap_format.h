#pragma once

// The layout of a bitmap file, as the header check and the decoder both read it.
#include <cstddef>
#include <cstdint>

namespace bitmap_format {

constexpr std::size_t FILE_HEADER_BYTES = 14;
constexpr std::uint32_t CORE_HEADER_BYTES = 12; // the old header with 16-bit sizes
constexpr std::uint32_t INFO_HEADER_BYTES = 40;

enum Compression : std::uint32_t { Rgb = 0, Rle8 = 1, Rle4 = 2, Bitfields = 3 };

// A little-endian field of `bytes` bytes.
inline std::uint32_t Read(const unsigned char* at, int bytes)
{
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = value << 8 | at[i];
    return value;
}

} // namespace bitmap_format
