// libFuzzer target: any bytes as a TGA file. A load either fails with the image empty, or holds
// exactly the file's pixels (bytes 0 and 2 swapped) and never more memory than the file justifies.
#include "FuzzSupport.h"
#include "core/io/TgaImage.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void check(bool condition, const char* what)
{
    if (!condition) {
        fuzzsupport::report(std::string("invariant broken: ") + what);
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzsupport::keepReportChannel();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // kept across inputs so every load also releases the previous image
    static orvalis::TgaImage image;
    const std::string path = fuzzsupport::writeToMemoryFile(data, size);
    const bool ok = image.load(path.c_str());
    check(ok == image.isLoaded(), "result matches loaded flag");
    check((image.loaded & ~1u) == 0, "only bit 0 of loaded is used");
    if (!ok) {
        check(image.data == nullptr, "failed load holds no data");
        return 0;
    }
    check(size >= 18, "loaded without a whole header");
    const unsigned width = data[12] | (data[13] << 8), height = data[14] | (data[15] << 8);
    check(image.width == int(width) && image.height == int(height), "dimensions from the header");
    check(image.pixelCount == width * height, "pixelCount is width x height");
    check(data[16] == 24 || data[16] == 32, "only 24 and 32 bits load");
    check((data[2] & 8) == 0, "run-length files never load");
    std::size_t offset = 18 + data[0];
    if (data[1] == 1)
        offset += std::size_t(data[5] | (data[6] << 8)) * ((data[7] + 7u) / 8u);
    const std::size_t bpp = image.bytesPerPixel;
    const std::size_t bytes = std::size_t(image.pixelCount) * bpp;
    check(offset + bytes <= size, "pixels come from inside the file");
    for (std::size_t i = 0; i < bytes; ++i) {
        const std::size_t k = i % bpp;
        const std::size_t from = k == 0 ? i + 2 : k == 2 ? i - 2 : i;
        check(image.data[i] == data[offset + from], "pixel bytes are the file's, red and blue swapped");
    }
    return 0;
}
