#pragma once

// Small pictures for the tests: written as 24-bit BMP files into a private temporary folder.
#include <cstdint>
#include <string>
#include <vector>

// Colours in the tests are 0xRRGGBB.
constexpr std::uint32_t WHITE = 0xFFFFFF;
constexpr std::uint32_t BLACK = 0x000000;

struct Picture {
    int width;
    int height;
    std::vector<std::uint32_t> pixels; // row by row from the top, 0xRRGGBB

    std::uint32_t At(int x, int y) const { return pixels[y * width + x]; }
    std::uint32_t& At(int x, int y) { return pixels[y * width + x]; }
};

Picture SolidPicture(int width, int height, std::uint32_t colour);
// Four solid quadrants: top left, top right, bottom left, bottom right.
Picture QuadrantPicture(int width, int height, const std::uint32_t colours[4]);

void WriteBmp(const std::string& path, const Picture& picture);
// A 24-bit BMP whose headers declare width by height pixels but that holds only pixelBytes bytes
// of pixels, as a damaged or hostile file might.
void WriteBmpDeclaring(const std::string& path, int width, int height, int pixelBytes);

// A fresh folder under the temporary path, removed with its files at the end of the test.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The full path of a file in the folder.
    std::string File(const std::string& name);

private:
    std::string path;
    std::vector<std::string> files;
};
