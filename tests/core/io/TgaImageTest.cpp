#include "core/io/TgaImage.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using orvalis::TgaImage;
using orvalis::test::readFile;
using orvalis::test::sourceDir;
using orvalis::test::TempDir;
using orvalis::test::writeFile;

namespace {

const std::string OpenMessage = "Ocorreu um erro: Nao consegui abrir o arquivo\n";
const std::string RleMessage = "Ocorreu um erro: Arquivo com compress\xC3\xA3o RLE... nao suportado\n";
const std::string FormatMessage = "Ocorreu um erro: Formato de arquivo nao suportado\n";

void put16(std::string& s, unsigned v)
{
    s += char(v & 0xFF);
    s += char((v >> 8) & 0xFF);
}

// The parts of a TGA file as a writer lays them out, so each test states only what it changes.
struct Tga {
    std::string id;
    unsigned colourMapType = 0, imageType = 2;
    unsigned mapFirst = 0, mapLength = 0, mapEntryBits = 0;
    std::string map;
    unsigned width = 0, height = 0, depth = 24, descriptor = 0;
    std::string pixels;

    Tga& withId(std::string bytes) { id = std::move(bytes); return *this; }
    Tga& withType(unsigned type) { imageType = type; return *this; }
    Tga& withDescriptor(unsigned bits) { descriptor = bits; return *this; }
    Tga& withDepth(unsigned bits) { depth = bits; return *this; }
    // A colour map (type 1) of length entries, which the reader must step over.
    Tga& withMap(unsigned length, unsigned entryBits)
    {
        colourMapType = 1;
        mapLength = length;
        mapEntryBits = entryBits;
        map = std::string(std::size_t(length) * ((entryBits + 7) / 8), '\x5A');
        return *this;
    }
    std::string cut(std::size_t n) const { return bytes().substr(0, n); }

    std::string bytes() const
    {
        std::string s;
        s += char(id.size());
        s += char(colourMapType);
        s += char(imageType);
        put16(s, mapFirst);
        put16(s, mapLength);
        s += char(mapEntryBits);
        put16(s, 0);
        put16(s, 0);
        put16(s, width);
        put16(s, height);
        s += char(depth);
        s += char(descriptor);
        return s + id + map + pixels;
    }
};

// Distinct, non-symmetric bytes so a swapped or shifted pixel shows.
std::string patternBytes(std::size_t n, unsigned salt = 0)
{
    std::string s(n, '\0');
    for (std::size_t i = 0; i < n; ++i)
        s[i] = char((i * 7 + 3 + salt) & 0xFF);
    return s;
}

// The header alone; no pixel data follows.
Tga headerOnly(unsigned width, unsigned height, unsigned depth)
{
    Tga t;
    t.width = width;
    t.height = height;
    t.depth = depth;
    return t;
}

Tga trueColour(unsigned width, unsigned height, unsigned depth)
{
    Tga t = headerOnly(width, height, depth);
    t.pixels = patternBytes(std::size_t(width) * height * (depth / 8));
    return t;
}

// What the reader must hold for file pixels: bytes 0 and 2 of every pixel swapped, nothing else moved.
std::vector<unsigned char> expectedBlock(const std::string& filePixels, unsigned bytesPerPixel)
{
    std::vector<unsigned char> out(filePixels.begin(), filePixels.end());
    for (std::size_t i = 0; i + bytesPerPixel <= out.size(); i += bytesPerPixel)
        std::swap(out[i], out[i + 2]);
    return out;
}

std::vector<unsigned char> heldBlock(const TgaImage& image)
{
    if (!image.data)
        return {};
    return std::vector<unsigned char>(image.data, image.data + std::size_t(image.pixelCount) * image.bytesPerPixel);
}

struct LoadRun {
    bool ok;
    std::string stderrText;
};

LoadRun loadCapturing(TgaImage& image, const std::string& path)
{
    testing::internal::CaptureStderr();
    const bool ok = image.load(path.c_str());
    return {ok, testing::internal::GetCapturedStderr()};
}

void expectEmpty(const TgaImage& image, const std::string& context)
{
    EXPECT_FALSE(image.isLoaded()) << context;
    EXPECT_EQ(image.loaded, 0) << context;
    EXPECT_EQ(image.data, nullptr) << context;
}

bool underAddressSanitizer()
{
#if defined(__SANITIZE_ADDRESS__)
    return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return true;
#endif
#endif
    return false;
}

// Caps this (forked) process's address space a little above what it already maps.
void limitAddressSpace(std::uint64_t extraBytes)
{
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    unsigned long long pages = 0;
    if (statm) {
        if (std::fscanf(statm, "%llu", &pages) != 1)
            pages = 0;
        std::fclose(statm);
    }
    const rlim_t limit = rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE)) + extraBytes;
    const rlimit rl{limit, limit};
    setrlimit(RLIMIT_AS, &rl);
}

}  // namespace

TEST(TgaReader, LoadsUncompressedTrueColour)
{
    struct Case {
        const char* name;
        Tga tga;
    };
    Tga mapWithoutType = trueColour(3, 1, 24).withMap(16, 24);
    mapWithoutType.colourMapType = 0;
    mapWithoutType.map.clear();
    Tga footer = trueColour(2, 2, 24);
    footer.pixels += std::string(8, '\0') + "TRUEVISION-XFILE." + '\0';
    std::vector<Case> cases = {
        {"24-bit 3x2, bottom-left origin", trueColour(3, 2, 24)},
        {"32-bit 2x2, alpha stays fourth", trueColour(2, 2, 32)},
        {"24-bit top-left origin: rows stay in file order", trueColour(4, 3, 24).withDescriptor(0x20)},
        {"32-bit top-left origin with alpha bits", trueColour(3, 3, 32).withDescriptor(0x28)},
        {"image ID of 200 bytes skipped", trueColour(3, 2, 24).withId(patternBytes(200, 99))},
        {"image ID of 255 bytes skipped", trueColour(2, 2, 32).withId(patternBytes(255, 5))},
        {"trailing extension area and footer ignored", footer},
        {"colour map fields without a map (type 0) skip nothing", mapWithoutType},
        {"colour map of 24-bit entries skipped", trueColour(3, 2, 24).withMap(4, 24)},
        {"ID then colour map of 15-bit entries (2 bytes each)", trueColour(2, 2, 32).withMap(5, 15).withId("map and id")},
        {"colour map of 256 32-bit entries skipped", trueColour(1, 1, 24).withMap(256, 32)},
    };
    for (unsigned depth : {24u, 32u})
        for (unsigned w : {1u, 2u, 3u, 5u, 7u, 9u, 13u})
            cases.push_back({"odd and even widths", trueColour(w, 3, depth)});

    TempDir dir;
    for (const Case& c : cases) {
        const std::string path = dir.file("image.tga");
        writeFile(path, c.tga.bytes());
        TgaImage image;
        const LoadRun run = loadCapturing(image, path);
        ASSERT_TRUE(run.ok) << c.name;
        EXPECT_EQ(run.stderrText, "") << c.name;
        EXPECT_TRUE(image.isLoaded()) << c.name;
        EXPECT_EQ(image.loaded, 1) << c.name;
        EXPECT_EQ(image.width, int(c.tga.width)) << c.name;
        EXPECT_EQ(image.height, int(c.tga.height)) << c.name;
        EXPECT_EQ(image.bitsPerPixel, c.tga.depth) << c.name;
        EXPECT_EQ(image.bytesPerPixel, c.tga.depth / 8) << c.name;
        EXPECT_EQ(image.pixelCount, c.tga.width * c.tga.height) << c.name;
        const std::string filePixels = c.tga.pixels.substr(0, std::size_t(c.tga.width) * c.tga.height * (c.tga.depth / 8));
        EXPECT_EQ(heldBlock(image), expectedBlock(filePixels, c.tga.depth / 8))
            << c.name << " " << c.tga.width << "x" << c.tga.height << " " << c.tga.depth;
    }
}

TEST(TgaReader, FirstPixelAndAlphaLandWhereTheSamplerLooks)
{
    TempDir dir;
    Tga t24 = trueColour(3, 2, 24);
    t24.pixels.replace(0, 3, "\x0A\x14\x1E");
    writeFile(dir.file("a.tga"), t24.bytes());
    TgaImage image;
    ASSERT_TRUE(image.load(dir.file("a.tga").c_str()));
    EXPECT_EQ(heldBlock(image).size(), 18u);
    EXPECT_EQ(image.component(0, 0, 0), 30);
    EXPECT_EQ(image.component(0, 0, 1), 20);
    EXPECT_EQ(image.component(0, 0, 2), 10);

    Tga t32 = trueColour(2, 1, 32);
    t32.pixels = "\x01\x02\x03\x80\x04\x05\x06\xFF";
    writeFile(dir.file("b.tga"), t32.bytes());
    ASSERT_TRUE(image.load(dir.file("b.tga").c_str()));
    EXPECT_EQ(heldBlock(image), (std::vector<unsigned char>{3, 2, 1, 0x80, 6, 5, 4, 0xFF}));
    EXPECT_EQ(image.component(1, 0, 3), 0xFF);
}

TEST(TgaReader, ZeroSizesLoadAsEmptyImages)
{
    const unsigned sizes[][2] = {{0, 0}, {0, 7}, {7, 0}, {0, 65535}, {65535, 0}};
    TempDir dir;
    for (unsigned depth : {24u, 32u}) {
        for (const auto& size : sizes) {
            writeFile(dir.file("z.tga"), trueColour(size[0], size[1], depth).withId("x").bytes());
            TgaImage image;
            const LoadRun run = loadCapturing(image, dir.file("z.tga"));
            const std::string name = std::to_string(size[0]) + "x" + std::to_string(size[1]) + " depth " + std::to_string(depth);
            EXPECT_TRUE(run.ok) << name;
            EXPECT_EQ(run.stderrText, "") << name;
            EXPECT_TRUE(image.isLoaded()) << name;
            EXPECT_EQ(image.pixelCount, 0u) << name;
            EXPECT_EQ(image.width, int(size[0])) << name;
            EXPECT_EQ(image.height, int(size[1])) << name;
        }
    }
}

TEST(TgaReader, RefusesFilesItCannotReadWithTheRightMessage)
{
    struct Case {
        std::string name;
        std::string bytes;
        std::string message;
        int width, height, bitsPerPixel;
    };
    const std::string good24 = trueColour(4, 3, 24).bytes();
    const std::string good32 = trueColour(4, 3, 32).bytes();
    std::vector<Case> cases;
    for (unsigned type : {9u, 10u, 11u}) {
        const unsigned depth = type == 10 ? 24 : 8;
        cases.push_back({"run-length type " + std::to_string(type), trueColour(4, 3, depth).withType(type).bytes(),
                         RleMessage, 4, 3, int(depth)});
    }
    cases.push_back({"run-length 32-bit with short data still names RLE", trueColour(4, 3, 32).withType(10).cut(23),
                     RleMessage, 4, 3, 32});
    for (unsigned depth : {0u, 1u, 8u, 15u, 16u, 23u, 25u, 31u, 33u, 48u, 255u})
        cases.push_back({"depth " + std::to_string(depth), trueColour(4, 3, 8).withDepth(depth).bytes(), FormatMessage, 4,
                         3, int(depth)});
    cases.push_back({"empty file", "", FormatMessage, 0, 0, 0});
    // a short header reads as if the missing bytes were 0
    for (std::size_t n : {1u, 2u, 3u, 8u, 12u, 13u, 14u, 15u, 16u})
        cases.push_back({"header cut to " + std::to_string(n) + " bytes", good24.substr(0, n), FormatMessage,
                         n >= 13 ? 4 : 0, n >= 15 ? 3 : 0, 0});
    cases.push_back({"header cut to 17 bytes", good24.substr(0, 17), "", 4, 3, 24});
    cases.push_back({"header cut to 17 bytes, zero width", trueColour(0, 5, 24).cut(17), "", 0, 5, 24});
    const Tga withId = trueColour(4, 3, 24).withId(patternBytes(200));
    cases.push_back({"image ID cut short", withId.cut(18 + 50), "", 4, 3, 24});
    cases.push_back({"image ID complete, no pixels", withId.cut(18 + 200), "", 4, 3, 24});
    cases.push_back({"zero-size image whose ID is cut short", trueColour(0, 0, 24).withId(patternBytes(200)).cut(30), "",
                     0, 0, 24});
    const Tga withMap = trueColour(4, 3, 24).withMap(100, 24);
    cases.push_back({"colour map cut short", withMap.cut(18 + 120), "", 4, 3, 24});
    cases.push_back({"colour map complete, pixels missing", withMap.cut(18 + 300), "", 4, 3, 24});
    cases.push_back({"24-bit pixels one byte short", good24.substr(0, good24.size() - 1), "", 4, 3, 24});
    cases.push_back({"24-bit pixels half there", good24.substr(0, 18 + 18), "", 4, 3, 24});
    cases.push_back({"32-bit pixels one byte short", good32.substr(0, good32.size() - 1), "", 4, 3, 32});
    cases.push_back({"32-bit header only", good32.substr(0, 18), "", 4, 3, 32});

    TempDir dir;
    for (const Case& c : cases) {
        const std::string path = dir.file("bad.tga");
        writeFile(path, c.bytes);
        TgaImage image;
        const LoadRun run = loadCapturing(image, path);
        EXPECT_FALSE(run.ok) << c.name;
        EXPECT_EQ(run.stderrText, c.message) << c.name;
        expectEmpty(image, c.name);
        EXPECT_EQ(image.width, c.width) << c.name;
        EXPECT_EQ(image.height, c.height) << c.name;
        EXPECT_EQ(image.bitsPerPixel, c.bitsPerPixel) << c.name;
        EXPECT_EQ(image.pixelCount, std::uint32_t(c.width) * std::uint32_t(c.height)) << c.name;
    }
}

TEST(TgaReader, OpensUtf8PathsAndRefusesWhatIsNoFile)
{
    TempDir dir;
    const std::string accented = dir.file("paisagem_s\xC3\xA3o_jo\xC3\xA3o.tga");
    writeFile(accented, trueColour(2, 2, 24).bytes());
    EXPECT_TRUE(TgaImage().load(accented.c_str()));

    const std::string cases[] = {dir.file("missing.tga"), dir.path().string(), dir.file("no/such/folder/x.tga"), ""};
    for (const std::string& path : cases) {
        TgaImage image;
        const LoadRun run = loadCapturing(image, path);
        EXPECT_FALSE(run.ok) << path;
        EXPECT_EQ(run.stderrText, OpenMessage) << path;
        expectEmpty(image, path);
    }
    TgaImage image;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(image.load(nullptr));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), OpenMessage);
}

TEST(TgaReader, SecondLoadReleasesTheFirstAlsoWhenItFails)
{
    TempDir dir;
    const std::string first = dir.file("first.tga");
    const Tga firstTga = trueColour(5, 4, 32);
    writeFile(first, firstTga.bytes());
    const Tga secondTga = trueColour(3, 2, 24);
    writeFile(dir.file("second.tga"), secondTga.bytes());
    writeFile(dir.file("rle.tga"), trueColour(3, 2, 24).withType(10).bytes());
    writeFile(dir.file("eight.tga"), trueColour(3, 2, 8).bytes());
    const std::string good = secondTga.bytes();
    writeFile(dir.file("short.tga"), good.substr(0, good.size() - 2));
    writeFile(dir.file("empty.tga"), "");
    writeFile(dir.file("header12.tga"), good.substr(0, 12));

    struct Case {
        const char* name;
        std::string second;
        bool ok;
    };
    const Case cases[] = {
        {"good second image", dir.file("second.tga"), true},
        {"same file again", first, true},
        {"missing file", dir.file("missing.tga"), false},
        {"run-length file", dir.file("rle.tga"), false},
        {"8-bit file", dir.file("eight.tga"), false},
        {"pixels cut short", dir.file("short.tga"), false},
        {"empty file", dir.file("empty.tga"), false},
        {"12-byte header", dir.file("header12.tga"), false},
    };
    for (const Case& c : cases) {
        TgaImage image;
        ASSERT_TRUE(image.load(first.c_str()));
        const LoadRun run = loadCapturing(image, c.second);
        EXPECT_EQ(run.ok, c.ok) << c.name;
        if (c.ok) {
            EXPECT_TRUE(image.isLoaded()) << c.name;
            const Tga& expected = c.second == first ? firstTga : secondTga;
            EXPECT_EQ(heldBlock(image), expectedBlock(expected.pixels, expected.depth / 8)) << c.name;
        } else {
            expectEmpty(image, c.name);
        }
        image.release();
        image.release();
        expectEmpty(image, std::string(c.name) + ", released twice");
    }
}

TEST(TgaReader, ShortHeaderNeverShowsThePreviousImagesFields)
{
    TempDir dir;
    writeFile(dir.file("first.tga"), trueColour(5, 4, 32).bytes());
    const std::string header = trueColour(9, 9, 24).bytes();
    struct Case {
        std::size_t bytes;
        int width, height, depth;
    };
    const Case cases[] = {{0, 0, 0, 0}, {12, 0, 0, 0}, {14, 9, 0, 0}, {16, 9, 9, 0}};
    for (const Case& c : cases) {
        TgaImage image;
        ASSERT_TRUE(image.load(dir.file("first.tga").c_str()));
        writeFile(dir.file("cut.tga"), header.substr(0, c.bytes));
        const LoadRun run = loadCapturing(image, dir.file("cut.tga"));
        EXPECT_FALSE(run.ok) << c.bytes;
        EXPECT_EQ(run.stderrText, FormatMessage) << c.bytes;
        EXPECT_EQ(image.width, c.width) << c.bytes;
        EXPECT_EQ(image.height, c.height) << c.bytes;
        EXPECT_EQ(image.bitsPerPixel, c.depth) << c.bytes;
        expectEmpty(image, std::to_string(c.bytes));
    }
}

TEST(TgaReader, ReadsFromPipesAndMemoryStreams)
{
    const Tga tga = trueColour(7, 5, 24);
    const std::string good = tga.bytes();
    Tga liar = headerOnly(65535, 65535, 32);
    liar.pixels = "twelve bytes";
    struct Case {
        const char* name;
        std::string bytes;
        bool ok;
        std::size_t mapBytes = 0;
    };
    const Tga withIdAndMap = Tga(tga).withMap(300, 24).withId(patternBytes(255));
    const Case cases[] = {
        {"complete image", good, true},
        {"pixels cut short", good.substr(0, good.size() - 3), false},
        {"huge claim, 12 bytes of pixels", liar.bytes(), false},
        {"ID and colour map read through", withIdAndMap.bytes(), true, withIdAndMap.map.size()},
    };
    TempDir dir;
    for (const Case& c : cases) {
        const std::string fifo = dir.file("pipe.tga");
        ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
        // Writer and reader meet in their opens; should the reader give up without opening, the
        // read end opened afterwards lets the writer through, so neither side can wait forever.
        std::thread writer([&] {
            const int end = ::open(fifo.c_str(), O_WRONLY | O_CLOEXEC);
            for (std::size_t done = 0; end >= 0 && done < c.bytes.size();) {
                const ssize_t n = ::write(end, c.bytes.data() + done, c.bytes.size() - done);
                if (n <= 0)
                    break;
                done += static_cast<std::size_t>(n);
            }
            if (end >= 0)
                ::close(end);
        });
        TgaImage image;
        const LoadRun run = loadCapturing(image, fifo);
        const int release = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        writer.join();
        if (release >= 0)
            ::close(release);
        std::remove(fifo.c_str());
        EXPECT_EQ(run.ok, c.ok) << "pipe: " << c.name;
        EXPECT_EQ(run.stderrText, "") << "pipe: " << c.name;
        if (c.ok) {
            EXPECT_EQ(heldBlock(image), expectedBlock(tga.pixels, 3)) << "pipe: " << c.name;
        } else {
            expectEmpty(image, c.name);
        }

        // readPixels on its own, with the header fields set by hand
        const std::string header = c.bytes.substr(0, 18);
        std::string pixels = c.bytes.substr(18 + std::size_t((unsigned char)header[0]) + c.mapBytes);
        std::FILE* memory = fmemopen(pixels.data(), pixels.size(), "rb");
        ASSERT_NE(memory, nullptr);
        TgaImage direct;
        direct.width = (unsigned char)header[12] | ((unsigned char)header[13] << 8);
        direct.height = (unsigned char)header[14] | ((unsigned char)header[15] << 8);
        direct.bitsPerPixel = (unsigned char)header[16];
        direct.pixelCount = std::uint32_t(direct.width) * std::uint32_t(direct.height);
        EXPECT_EQ(direct.readPixels(memory), c.ok) << "memory: " << c.name;
        if (c.ok) {
            EXPECT_EQ(heldBlock(direct), expectedBlock(tga.pixels, 3)) << "memory: " << c.name;
        }
    }
}

// A 30-byte file claiming 65535 x 65535 pixels must not cost the 17 GB it claims: with the address
// space capped, an attempt to allocate would fail loudly instead of the silent refusal expected.
TEST(TgaReaderDeathTest, HugeClaimInTinyFileIsRefusedBeforeAllocating)
{
    if (underAddressSanitizer())
        GTEST_SKIP() << "address space limits do not mix with the sanitizer's shadow memory";
    TempDir dir;
    Tga liar = headerOnly(65535, 65535, 32);
    liar.pixels = "twelve bytes";
    ASSERT_EQ(liar.bytes().size(), 30u);
    const std::string path = dir.file("liar.tga");
    writeFile(path, liar.bytes());
    EXPECT_EXIT(
        {
            limitAddressSpace(64u << 20);
            TgaImage image;
            const bool ok = image.load(path.c_str());
            std::fprintf(stderr, "[ok=%d loaded=%d]", int(ok), int(image.loaded));
            std::exit(0);
        },
        testing::ExitedWithCode(0), "^\\[ok=0 loaded=0\\]$");
}

TEST(TgaReaderDeathTest, AllocationFailureLeavesTheImageEmpty)
{
    if (underAddressSanitizer())
        GTEST_SKIP() << "address space limits do not mix with the sanitizer's shadow memory";
    TempDir dir;
    writeFile(dir.file("small.tga"), trueColour(3, 3, 24).bytes());
    // a sparse file that really holds every byte of a 32768 x 32768 32-bit image (4 GiB)
    const std::string path = dir.file("big.tga");
    writeFile(path, headerOnly(32768, 32768, 32).bytes());
    ASSERT_EQ(truncate(path.c_str(), off_t(18) + (off_t(4) << 30)), 0);
    const std::string small = dir.file("small.tga");
    EXPECT_EXIT(
        {
            limitAddressSpace(256u << 20);
            TgaImage image;
            const bool first = image.load(small.c_str());
            const bool ok = image.load(path.c_str());
            std::fprintf(stderr, "[first=%d ok=%d loaded=%d data=%d]", int(first), int(ok), int(image.loaded),
                         int(image.data != nullptr));
            std::exit(0);
        },
        testing::ExitedWithCode(0),
        "^Ocorreu um erro: Memoria insuficiente para a imagem\n\\[first=1 ok=0 loaded=0 data=0\\]$");
}

// The bundled example: 678 x 440 cells, stored bottom row first, so pixel (0, 0) is the map's
// south-west corner. An east-west corridor crosses the map 90 rows above its southern edge.
TEST(TgaReader, BundledExampleKeepsItsSouthernEdgeAsRowZero)
{
    const std::string path = sourceDir() + "/examples/augusta_forest.tga";
    const std::string raw = readFile(path);
    ASSERT_EQ(raw.size(), 18u + 678u * 440u * 3u);
    ASSERT_EQ(raw[17], 0) << "descriptor: bottom-left origin";

    TgaImage image;
    ASSERT_TRUE(image.load(path.c_str()));
    EXPECT_EQ(image.width, 678);
    EXPECT_EQ(image.height, 440);
    EXPECT_EQ(image.bitsPerPixel, 24);
    EXPECT_EQ(image.pixelCount, 678u * 440u);

    // the first stored pixel, unmoved
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(image.component(0, 0, k), static_cast<unsigned char>(raw[18 + 2 - k]));
    EXPECT_EQ(image.component(0, 0, 2), 255) << "south-west corner is not forest";
    EXPECT_EQ(image.component(0, 439, 2), 0) << "north-west corner is forest";
    EXPECT_EQ(image.component(677, 0, 2), 255) << "south-east corner is not forest";
    EXPECT_EQ(image.component(677, 439, 2), 0) << "north-east corner is forest";

    auto openCells = [&](int row) {
        int n = 0;
        for (int x = 0; x < image.width; ++x)
            n += image.component(x, row, 2) >= 128;
        return n;
    };
    EXPECT_EQ(openCells(90), 579) << "the east-west corridor";
    EXPECT_EQ(openCells(0), 321);
    EXPECT_EQ(openCells(439), 167);
    EXPECT_LT(openCells(440 - 1 - 90), 300) << "a flipped image would put the corridor here";

    std::uint64_t habitat = 0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            habitat += image.component(x, y, 2) < 128;
    EXPECT_EQ(habitat, 190669u);
    EXPECT_NEAR(double(habitat) / image.pixelCount, 0.639, 0.0005);
}
