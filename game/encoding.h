#pragma once

// The byte-level pieces of what the game writes for outside keeping (saved games, replay codes):
// little-endian and variable-length numbers, a checksum, and base64url text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace game {

using Bytes = std::vector<uint8_t>;

void PutU16(Bytes& out, uint32_t value);
void PutU32(Bytes& out, uint32_t value);
// Seven bits a byte, low first; the high bit says another byte follows.
void PutVarint(Bytes& out, uint32_t value);

// Reads what the Put functions wrote, and only that: a read past the end, or a number that they
// would have written otherwise (a varint with bytes to spare, or beyond 32 bits), marks the
// reader failed and gives 0, so a parser can read on and test Failed() once.
class ByteReader {
public:
    ByteReader(const uint8_t* data, std::size_t size) : at(data), end(data + size) {}
    uint32_t U8();
    uint32_t U16();
    uint32_t U32();
    uint32_t Varint();
    bool Failed() const { return fault != nullptr; }
    // What failed the reader: "ends too soon" or "holds a number not as Vorkelm writes it".
    const char* Fault() const { return fault; }
    std::size_t Left() const { return static_cast<std::size_t>(end - at); }

private:
    const uint8_t* at;
    const uint8_t* end;
    const char* fault = nullptr;

    uint32_t Fail(const char* why);
};

// FNV-1a over the bytes.
uint32_t Checksum(const uint8_t* data, std::size_t size);
// Appends the checksum of everything before it.
void PutChecksum(Bytes& out);
// Whether the last four bytes are the checksum of the rest.
bool ChecksumHolds(const Bytes& bytes);

// Base64url without padding, safe in a URL fragment and in storage.
std::string Base64Url(const Bytes& bytes);
// False for any character outside the alphabet, a length no encoding has, or unused bits at the
// end that are not zero: each byte string has exactly one text.
bool FromBase64Url(const std::string& text, Bytes& bytes);

} // namespace game
