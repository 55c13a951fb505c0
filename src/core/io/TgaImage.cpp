#include "core/io/TgaImage.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <sys/stat.h>

namespace orvalis {

namespace {

constexpr std::size_t HeaderSize = 18;

struct TgaHeader {
    std::uint8_t idLength = 0;
    std::uint8_t colourMapType = 0;
    std::uint8_t imageType = 0;
    std::uint16_t colourMapLength = 0;
    std::uint8_t colourMapEntryBits = 0;
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    std::uint8_t depth = 0;
    std::uint8_t descriptor = 0;
};

std::uint16_t little16(const unsigned char* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

// bytes holds the whole 18-byte header; bytes the file did not have are 0.
TgaHeader parseHeader(const unsigned char* bytes)
{
    TgaHeader h;
    h.idLength = bytes[0];
    h.colourMapType = bytes[1];
    h.imageType = bytes[2];
    h.colourMapLength = little16(bytes + 5);
    h.colourMapEntryBits = bytes[7];
    h.width = little16(bytes + 12);
    h.height = little16(bytes + 14);
    h.depth = bytes[16];
    h.descriptor = bytes[17];
    return h;
}

enum class Verdict { RunLength, Unsupported, Readable };

Verdict classify(const TgaHeader& h)
{
    if (h.imageType & 8u)
        return Verdict::RunLength;
    if (h.depth != 24 && h.depth != 32)
        return Verdict::Unsupported;
    return Verdict::Readable;
}

// Bytes between the header and the pixel data: the image ID, then the colour map when the file says it has one.
std::uint64_t bytesBeforePixels(const TgaHeader& h)
{
    std::uint64_t skip = h.idLength;
    if (h.colourMapType == 1)
        skip += std::uint64_t(h.colourMapLength) * ((h.colourMapEntryBits + 7u) / 8u);
    return skip;
}

void reportError(const char* text)
{
    std::fprintf(stderr, "Ocorreu um erro: %s\n", text);
}

// Bytes the file holds from its current position on (negative when positioned past the end),
// or nothing for a stream whose length cannot be known in advance, such as a pipe.
std::optional<std::int64_t> bytesLeft(std::FILE* file)
{
    const off_t position = ftello(file);
    if (position < 0)
        return std::nullopt;
    const int fd = fileno(file);
    if (fd >= 0) {
        struct stat st;
        if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
            return std::nullopt;
        return std::int64_t(st.st_size) - std::int64_t(position);
    }
    // memory streams have no descriptor but can seek
    if (fseeko(file, 0, SEEK_END) != 0)
        return std::nullopt;
    const off_t end = ftello(file);
    if (end < 0 || fseeko(file, position, SEEK_SET) != 0)
        return std::int64_t(-1);
    return std::int64_t(end) - std::int64_t(position);
}

// Moves past bytes the reader does not use; streams that cannot seek, such as pipes, are read through.
bool skipBytes(std::FILE* file, std::uint64_t count)
{
    if (count == 0 || fseeko(file, off_t(count), SEEK_CUR) == 0)
        return true;
    unsigned char sink[4096];
    while (count > 0) {
        const std::size_t chunk = std::size_t(std::min<std::uint64_t>(count, sizeof sink));
        if (std::fread(sink, 1, chunk, file) != chunk)
            return false;
        count -= chunk;
    }
    return true;
}

enum class ReadOutcome { Complete, Short, OutOfMemory };

// A stream of unknown length grows the block only as data arrives, so a header that lies costs no memory.
ReadOutcome readGrowing(std::FILE* file, std::uint64_t size, unsigned char*& block)
{
    constexpr std::uint64_t FirstChunk = std::uint64_t(1) << 20;
    std::uint64_t have = 0, capacity = 0;
    while (have < size) {
        if (have == capacity) {
            const std::uint64_t next = std::min(size, std::max(FirstChunk, capacity * 2));
            auto* grown = static_cast<unsigned char*>(std::realloc(block, next));
            if (!grown) {
                std::free(block);
                block = nullptr;
                return ReadOutcome::OutOfMemory;
            }
            block = grown;
            capacity = next;
        }
        const std::size_t wanted = capacity - have;
        const std::size_t got = std::fread(block + have, 1, wanted, file);
        have += got;
        if (got < wanted)
            break;
    }
    if (have == size)
        return ReadOutcome::Complete;
    std::free(block);
    block = nullptr;
    return ReadOutcome::Short;
}

// File order is blue, green, red (, alpha); the image is held as red, green, blue (, alpha).
void swapRedAndBlue(unsigned char* block, std::uint64_t pixels, unsigned bytesPerPixel)
{
    if (bytesPerPixel == 4) {
        // two pixels per 64-bit word
        std::uint64_t i = 0;
        for (; i + 2 <= pixels; i += 2) {
            std::uint64_t v;
            std::memcpy(&v, block + 4 * i, 8);
            v = (v & 0xFF00FF00FF00FF00u) | ((v >> 16) & 0x000000FF000000FFu) | ((v & 0x000000FF000000FFu) << 16);
            std::memcpy(block + 4 * i, &v, 8);
        }
        if (i < pixels)
            std::swap(block[4 * i], block[4 * i + 2]);
        return;
    }
    // four 3-byte pixels are three 32-bit words (B0 G0 R0 B1 | G1 R1 B2 G2 | R2 B3 G3 R3), swapped word-wise
    std::uint64_t i = 0;
    for (; i + 4 <= pixels; i += 4) {
        unsigned char* p = block + 3 * i;
        std::uint32_t a, b, c;
        std::memcpy(&a, p, 4);
        std::memcpy(&b, p + 4, 4);
        std::memcpy(&c, p + 8, 4);
        const std::uint32_t na = ((a >> 16) & 0xFFu) | (a & 0x0000FF00u) | ((a & 0xFFu) << 16) | ((b & 0x0000FF00u) << 16);
        const std::uint32_t nb = (b & 0xFF0000FFu) | ((a >> 16) & 0x0000FF00u) | ((c & 0xFFu) << 16);
        const std::uint32_t nc = ((b >> 16) & 0xFFu) | ((c >> 16) & 0x0000FF00u) | (c & 0x00FF0000u) | ((c & 0x0000FF00u) << 16);
        std::memcpy(p, &na, 4);
        std::memcpy(p + 4, &nb, 4);
        std::memcpy(p + 8, &nc, 4);
    }
    for (; i < pixels; ++i)
        std::swap(block[3 * i], block[3 * i + 2]);
}

}  // namespace

bool readTgaLayout(std::FILE* file, TgaLayout& layout, std::string* why)
{
    const auto refuse = [why](const char* text) {
        if (why)
            *why = text;
        return false;
    };
    unsigned char bytes[HeaderSize] = {};
    if (!file || std::fread(bytes, 1, HeaderSize, file) != HeaderSize)
        return refuse("not a TGA image: the header is cut short");
    const TgaHeader header = parseHeader(bytes);
    if (classify(header) != Verdict::Readable)
        return refuse("not an uncompressed 24- or 32-bit TGA image");
    layout.width = header.width;
    layout.height = header.height;
    layout.bytesPerPixel = header.depth / 8;
    layout.pixelOffset = HeaderSize + bytesBeforePixels(header);
    layout.firstRowTop = (header.descriptor & 0x20u) != 0;
    const std::optional<std::int64_t> left = bytesLeft(file);
    const std::uint64_t size = std::uint64_t(header.width) * header.height * layout.bytesPerPixel;
    if (!left || *left < 0 || std::uint64_t(*left) + HeaderSize < layout.pixelOffset + size)
        return refuse("the TGA image is cut short");
    return true;
}

bool TgaImage::load(const char* path)
{
    if (isLoaded())
        release();
    std::FILE* file = path ? std::fopen(path, "rb") : nullptr;
    struct stat st;
    if (file && fstat(fileno(file), &st) == 0 && S_ISDIR(st.st_mode)) {
        std::fclose(file);
        file = nullptr;
    }
    if (!file) {
        reportError("Nao consegui abrir o arquivo");
        return false;
    }
    unsigned char bytes[HeaderSize] = {};
    const std::size_t headerRead = std::fread(bytes, 1, HeaderSize, file);
    const TgaHeader header = parseHeader(bytes);
    width = header.width;
    height = header.height;
    bitsPerPixel = header.depth;
    pixelCount = std::uint32_t(header.width) * std::uint32_t(header.height);

    switch (classify(header)) {
    case Verdict::RunLength:
        std::fclose(file);
        reportError("Arquivo com compressão RLE... nao suportado");
        return false;
    case Verdict::Unsupported:
        std::fclose(file);
        reportError("Formato de arquivo nao suportado");
        return false;
    case Verdict::Readable:
        break;
    }
    // a header cut short is a file cut short: refused without a message
    if (headerRead < HeaderSize) {
        std::fclose(file);
        return false;
    }
    if (!skipBytes(file, bytesBeforePixels(header))) {
        std::fclose(file);
        return false;
    }
    return readPixels(file);
}

bool TgaImage::readPixels(std::FILE* file)
{
    if (isLoaded())
        release();
    data = nullptr;
    bytesPerPixel = bitsPerPixel == 24 ? 3 : 4;
    const std::uint64_t size = std::uint64_t(pixelCount) * bytesPerPixel;

    const std::optional<std::int64_t> left = bytesLeft(file);
    if (left && *left < std::int64_t(size)) {
        std::fclose(file);
        return false;
    }
    unsigned char* block = nullptr;
    ReadOutcome outcome = ReadOutcome::Complete;
    if (size > 0 && left) {
        block = static_cast<unsigned char*>(std::malloc(size));
        if (!block)
            outcome = ReadOutcome::OutOfMemory;
        else if (std::fread(block, bytesPerPixel, pixelCount, file) < pixelCount)
            outcome = ReadOutcome::Short;
        if (outcome == ReadOutcome::Short) {
            std::free(block);
            block = nullptr;
        }
    } else if (size > 0) {
        outcome = readGrowing(file, size, block);
    }
    std::fclose(file);

    if (outcome == ReadOutcome::OutOfMemory)
        reportError("Memoria insuficiente para a imagem");
    if (outcome != ReadOutcome::Complete)
        return false;
    swapRedAndBlue(block, pixelCount, bytesPerPixel);
    data = block;
    loaded |= 1u;
    return true;
}

void TgaImage::release()
{
    if (isLoaded()) {
        std::free(data);
        data = nullptr;
        loaded &= static_cast<unsigned char>(~1u);
    }
}

}  // namespace orvalis
