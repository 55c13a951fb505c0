#include "core/io/MetricsCsv.h"
#include "core/map/GdalSupport.h"
#include "core/map/RasterGrid.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace orvalis {
namespace {

using test::TempDir;

std::string vrt(const std::string& band, const std::string& source)
{
    return "<VRTDataset rasterXSize=\"4\" rasterYSize=\"4\">\n  <VRTRasterBand dataType=\"Byte\" band=\"1\"" + band +
           ">\n" + source + "  </VRTRasterBand>\n</VRTDataset>\n";
}

std::string simple(const std::string& file, bool relative)
{
    return "    <SimpleSource><SourceFilename relativeToVRT=\"" + std::string(relative ? "1" : "0") + "\">" + file +
           "</SourceFilename><SourceBand>1</SourceBand></SimpleSource>\n";
}

TEST(UntrustedInput, VrtSourcesOutsideTheirFolderAreRefused)
{
    TempDir dir;
    std::filesystem::create_directories(dir.file("maps/sub"));
    test::writeFile(dir.file("maps/sub/inner.asc"), "ncols 4\nnrows 4\nxllcorner 0\nyllcorner 0\ncellsize 1\n"
                                                    "1 1 0 0\n1 1 0 0\n0 0 1 1\n0 0 1 1\n");
    test::writeFile(dir.file("outside.asc"), "ncols 1\nnrows 1\nxllcorner 0\nyllcorner 0\ncellsize 1\n1\n");
    const struct {
        const char* name;
        std::string text;
        const char* refusal;  // empty: read
    } cases[] = {
        {"a source in a subfolder", vrt("", simple("sub/inner.asc", true)), ""},
        {"an absolute source in its folder", vrt("", simple(dir.file("maps/sub/inner.asc"), false)), ""},
        {"/etc/passwd as a raw band",
         vrt(" subClass=\"VRTRawRasterBand\"", "    <SourceFilename relativetoVRT=\"0\">/etc/passwd</SourceFilename>\n"),
         "a band reads a raw file"},
        {"a source up a folder", vrt("", simple("../outside.asc", true)), "lies outside its folder"},
        {"a source climbing out and back", vrt("", simple("sub/../../outside.asc", true)), "lies outside its folder"},
        {"an absolute source elsewhere", vrt("", simple("/etc/hostname", false)), "lies outside its folder"},
        {"a /vsi source", vrt("", simple("/vsicurl/http://example.com/x.tif", false)), "is not a file in its folder"},
        {"a nested VRT that reads outside", vrt("", simple("nested.vrt", true)), "lies outside its folder"},
    };
    test::writeFile(dir.file("maps/nested.vrt"), vrt("", simple("../outside.asc", true)));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.file("maps/test.vrt");
        test::writeFile(path, c.text);
        const std::string why = specialFileRefusal(path);
        if (*c.refusal) {
            EXPECT_NE(why.find(c.refusal), std::string::npos) << why;
            EXPECT_NE(why.find("--allow-vrt-sources"), std::string::npos) << why;
            LandscapeGrid grid;
            RasterGridInfo info;
            std::string error;
            EXPECT_FALSE(readRasterGrid(path, grid, info, &error));
        } else {
            EXPECT_EQ(why, "");
        }
        allowVrtSources(true);
        EXPECT_EQ(specialFileRefusal(path), "");
        allowVrtSources(false);
    }
    EXPECT_NE(specialFileRefusal("<VRTDataset></VRTDataset>").find("inline"), std::string::npos);
}

TEST(UntrustedInput, NamesASpreadsheetWouldRunAreQuoted)
{
    const std::pair<const char*, const char*> cases[] = {
        {"a.txt", "a.txt"},         {"=1+2", "'=1+2"},          {"+cmd", "'+cmd"},
        {"-2+3", "'-2+3"},          {"@SUM(A1)", "'@SUM(A1)"},  {"=HYPERLINK(\"x\",1)", "\"'=HYPERLINK(\"\"x\"\",1)\""},
        {"w/-x.txt", "w/-x.txt"},   {"a,b", "\"a,b\""},
    };
    for (const auto& [name, field] : cases)
        EXPECT_EQ(csvName(name), field) << name;
}

}  // namespace
}  // namespace orvalis
