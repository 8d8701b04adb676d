#include "game/encoding.h"

namespace game {

namespace {

const char ALPHABET[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";

int SextetOf(char c)
{
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '-')
        return 62;
    if (c == '_')
        return 63;
    return -1;
}

} // namespace

void PutU16(Bytes& out, uint32_t value)
{
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void PutU32(Bytes& out, uint32_t value)
{
    PutU16(out, value & 0xFFFF);
    PutU16(out, value >> 16);
}

void PutVarint(Bytes& out, uint32_t value)
{
    while (value >= 0x80) {
        out.push_back(static_cast<uint8_t>(value | 0x80));
        value >>= 7;
    }
    out.push_back(static_cast<uint8_t>(value));
}

uint32_t ByteReader::Fail(const char* why)
{
    if (!fault)
        fault = why;
    return 0;
}

uint32_t ByteReader::U8()
{
    if (at == end)
        return Fail("ends too soon");
    return *at++;
}

uint32_t ByteReader::U16()
{
    const uint32_t low = U8();
    return low | U8() << 8;
}

uint32_t ByteReader::U32()
{
    const uint32_t low = U16();
    return low | U16() << 16;
}

uint32_t ByteReader::Varint()
{
    uint32_t value = 0;
    for (int shift = 0;; shift += 7) {
        const uint32_t byte = U8();
        if (Failed())
            return 0;
        // The fifth byte holds only the top four bits of 32; a last byte of 0 after others adds
        // nothing, and PutVarint never writes one.
        if ((shift == 28 && byte > 0x0F) || (shift > 0 && byte == 0))
            return Fail("holds a number not as Vorkelm writes it");
        value |= (byte & 0x7F) << shift;
        if (!(byte & 0x80))
            return value;
    }
}

uint32_t Checksum(const uint8_t* data, std::size_t size)
{
    uint32_t hash = 2166136261u;
    for (std::size_t i = 0; i < size; ++i)
        hash = (hash ^ data[i]) * 16777619u;
    return hash;
}

void PutChecksum(Bytes& out)
{
    PutU32(out, Checksum(out.data(), out.size()));
}

bool ChecksumHolds(const Bytes& bytes)
{
    if (bytes.size() < 4)
        return false;
    ByteReader stored(bytes.data() + bytes.size() - 4, 4);
    return stored.U32() == Checksum(bytes.data(), bytes.size() - 4);
}

std::string Base64Url(const Bytes& bytes)
{
    std::string text;
    text.reserve((bytes.size() * 4 + 2) / 3);
    uint32_t bits = 0;
    int count = 0;
    for (uint8_t byte : bytes) {
        bits = bits << 8 | byte;
        count += 8;
        while (count >= 6) {
            count -= 6;
            text += ALPHABET[(bits >> count) & 63];
        }
    }
    if (count > 0)
        text += ALPHABET[(bits << (6 - count)) & 63];
    return text;
}

bool FromBase64Url(const std::string& text, Bytes& bytes)
{
    bytes.clear();
    if (text.size() % 4 == 1)
        return false;
    bytes.reserve(text.size() * 3 / 4);
    uint32_t bits = 0;
    int count = 0;
    for (char c : text) {
        const int sextet = SextetOf(c);
        if (sextet < 0)
            return false;
        bits = bits << 6 | static_cast<uint32_t>(sextet);
        count += 6;
        if (count >= 8) {
            count -= 8;
            bytes.push_back(static_cast<uint8_t>(bits >> count));
        }
    }
    return (bits & ((1u << count) - 1)) == 0;
}

} // namespace game
