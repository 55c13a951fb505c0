#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace orvalis {

// A decoded uncompressed 24- or 32-bit TGA image: one block of pixels, rows in
// file order, each pixel red, green, blue (, alpha).
struct TgaImage {
    unsigned char* data = nullptr;
    unsigned char loaded = 0;        // bit 0 set while data holds pixels
    unsigned char bitsPerPixel = 0;  // 24 or 32 once loaded
    unsigned char bytesPerPixel = 0; // 3 or 4
    std::uint32_t pixelCount = 0;    // width * height
    int height = 0;
    int width = 0;

    TgaImage() = default;
    ~TgaImage() { release(); }
    TgaImage(const TgaImage&) = delete;
    TgaImage& operator=(const TgaImage&) = delete;

    // path is 8-bit text in the platform's encoding. Refusals and a failed
    // allocation print "Ocorreu um erro: ..." on standard error; a file cut
    // short is refused silently. Any previous image is released first.
    bool load(const char* path);
    // Reads pixelCount pixels of bitsPerPixel from file, positioned at the pixel
    // data, and closes file whatever the outcome.
    bool readPixels(std::FILE* file);
    void release();

    bool isLoaded() const { return (loaded & 1u) != 0; }
    // Byte k of pixel (column x, row y).
    unsigned char component(int x, int y, int k) const
    {
        return data[(static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) *
                         bytesPerPixel + static_cast<std::size_t>(k)];
    }
};

// Where an image's pixels lie in its file, from the header alone: for readers that take a
// part of a large image without loading it.
struct TgaLayout {
    int width = 0;
    int height = 0;
    int bytesPerPixel = 0;
    std::uint64_t pixelOffset = 0;  // from the file's start
    bool firstRowTop = false;       // descriptor bit 5; without it the first stored row is the bottom edge
};

// Reads the header of the TGA file (from its start) that TgaImage::load would accept, and checks
// that the file holds every pixel; false with why otherwise.
bool readTgaLayout(std::FILE* file, TgaLayout& layout, std::string* why);

}  // namespace orvalis
