#include "tests/windows/bmp_files.h"

#include <windows.h>

#include <cstdio>

Picture SolidPicture(int width, int height, std::uint32_t colour)
{
    return {width, height, std::vector<std::uint32_t>(width * height, colour)};
}

Picture QuadrantPicture(int width, int height, const std::uint32_t colours[4])
{
    Picture picture = SolidPicture(width, height, BLACK);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.At(x, y) = colours[(y < height / 2 ? 0 : 2) + (x < width / 2 ? 0 : 1)];
    return picture;
}

namespace {

constexpr std::uint32_t BMP_HEADER_BYTES = 14 + 40;

void PutLittleEndian(std::vector<unsigned char>& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

// The file and info headers of a 24-bit BMP stored from the bottom row up. A size of 0 stands
// for "as the dimensions say", which uncompressed pictures may use.
std::vector<unsigned char> BmpHeaders(int width, int height, std::uint32_t fileBytes,
                                      std::uint32_t imageBytes)
{
    std::vector<unsigned char> out;
    out.push_back('B');
    out.push_back('M');
    PutLittleEndian(out, fileBytes, 4);
    PutLittleEndian(out, 0, 4);
    PutLittleEndian(out, BMP_HEADER_BYTES, 4);
    PutLittleEndian(out, 40, 4);
    PutLittleEndian(out, width, 4);
    PutLittleEndian(out, height, 4); // positive: rows stored from the bottom
    PutLittleEndian(out, 1, 2);
    PutLittleEndian(out, 24, 2);
    PutLittleEndian(out, 0, 4); // BI_RGB
    PutLittleEndian(out, imageBytes, 4);
    PutLittleEndian(out, 2835, 4);
    PutLittleEndian(out, 2835, 4);
    PutLittleEndian(out, 0, 4);
    PutLittleEndian(out, 0, 4);
    return out;
}

void WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return;
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

} // namespace

void WriteBmp(const std::string& path, const Picture& picture)
{
    const int rowBytes = (picture.width * 3 + 3) / 4 * 4;
    const std::uint32_t pixelBytes = rowBytes * picture.height;

    std::vector<unsigned char> out =
        BmpHeaders(picture.width, picture.height, BMP_HEADER_BYTES + pixelBytes, pixelBytes);
    for (int y = picture.height - 1; y >= 0; --y) {
        for (int x = 0; x < picture.width; ++x)
            PutLittleEndian(out, picture.At(x, y), 3); // blue, green, red
        for (int pad = picture.width * 3; pad < rowBytes; ++pad)
            out.push_back(0);
    }
    WriteBytes(path, out);
}

void WriteBmpDeclaring(const std::string& path, int width, int height, int pixelBytes)
{
    std::vector<unsigned char> out = BmpHeaders(width, height, BMP_HEADER_BYTES + pixelBytes, 0);
    out.insert(out.end(), pixelBytes, 0xFF);
    WriteBytes(path, out);
}

TempFolder::TempFolder()
{
    // Never the same folder twice in one process: a file name seen before could still be held,
    // decoded, by the canvas's sprite cache.
    static int made = 0;
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    char name[MAX_PATH];
    std::snprintf(name, sizeof name, "%svorkelm-test-%lu-%d", base, GetCurrentProcessId(), ++made);
    CreateDirectoryA(name, nullptr);
    path = name;
}

TempFolder::~TempFolder()
{
    for (const std::string& file : files)
        DeleteFileA(file.c_str());
    RemoveDirectoryA(path.c_str());
}

std::string TempFolder::File(const std::string& name)
{
    const std::string full = path + "\\" + name;
    files.push_back(full);
    return full;
}
