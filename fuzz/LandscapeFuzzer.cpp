// libFuzzer target: any bytes as a landscape file. The fast parser must agree with a plain
// reading of the format rules, and both file readers with the parser.
#include "FuzzSupport.h"
#include "core/io/CompactGrid.h"
#include "core/io/LandscapeFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

// Lines split at every blank, the last field dropped, lines of fewer than two fields skipped.
orvalis::LandscapeGrid referenceParse(std::string_view text)
{
    orvalis::LandscapeGrid grid;
    while (!text.empty()) {
        const std::size_t nl = text.find('\n');
        std::string_view line = text.substr(0, nl);
        text = nl == std::string_view::npos ? std::string_view() : text.substr(nl + 1);
        std::vector<int> values;
        std::size_t blank;
        while ((blank = line.find(' ')) != std::string_view::npos) {
            values.push_back(orvalis::parseLandscapeField(line.substr(0, blank)));
            line.remove_prefix(blank + 1);
        }
        if (!values.empty())
            grid.push_back(std::move(values));
    }
    return grid;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzsupport::keepReportChannel();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const orvalis::LandscapeGrid grid = orvalis::parseLandscape(text);
    if (grid != referenceParse(text)) {
        fuzzsupport::report("parseLandscape disagrees with the format rules");
        std::abort();
    }
    // The file readers refuse binary data (a NUL byte) and otherwise read what the parser reads.
    const bool binary = text.find('\0') != std::string_view::npos;
    const std::string path = fuzzsupport::writeToMemoryFile(data, size);
    orvalis::LandscapeGrid fromFile;
    const orvalis::LandscapeReadResult result = orvalis::readLandscapeFile(path, fromFile);
    if (binary ? (result.ok || !fromFile.empty()) : (!result.ok || fromFile != grid)) {
        fuzzsupport::report("readLandscapeFile differs from parseLandscape: " + result.error);
        std::abort();
    }
    orvalis::CompactGrid compact;
    const orvalis::LandscapeReadResult compactResult = orvalis::readLandscapeFile(path, compact);
    if (compactResult.ok != result.ok || compact.lines() != fromFile) {
        fuzzsupport::report("the compact reader differs from the plain one");
        std::abort();
    }
    return 0;
}
