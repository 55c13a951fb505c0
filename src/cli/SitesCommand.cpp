#include "cli/Commands.h"
#include "core/io/SafeFile.h"
#include "core/map/RasterWindows.h"
#include "core/sites/SiteMetrics.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <unistd.h>

namespace orvalis::cli {

namespace {

// Radii as given: "250,500,1000"; each above 0.
std::string readRadii(const std::string& text, std::vector<double>& radii)
{
    radii.clear();
    for (const std::string& part : commaList(text)) {
        char* end = nullptr;
        const double r = std::strtod(part.c_str(), &end);
        if (end != part.c_str() + part.size() || !std::isfinite(r))
            return "'" + part + "' is not a number";
        if (!(r > 0))
            return "a radius must be above 0, not " + part;
        radii.push_back(r);
    }
    return radii.empty() ? "give at least one radius" : std::string();
}

}  // namespace

CLI::App* addSitesCommand(CLI::App& app, SitesOptions& o)
{
    CLI::App* cmd = app.add_subcommand(
        "sites",
        "Measures the landscape around field sites at several radii.\n"
        "\n"
        "Each site's buffer holds the map cells whose centres lie within the radius of the site (a disc;\n"
        "--shape square: within the square of half-side radius), and is measured as its own landscape:\n"
        "its cells off the map or no-data are outside it. Writes one table, site,radius,level,class,id,\n"
        "metric,value, sites in their order and radii in theirs; each buffer's rows begin with coverage,\n"
        "the share of its cells on the map with data. Radii are in the map's units (metres for a\n"
        "projected map).");
    addHelpFlag(*cmd);
    addVrtSourcesFlag(*cmd);
    cmd->add_option("MAP", o.map, "the land-cover map: any raster GDAL reads")->required()->type_name("");
    cmd->add_option("SITES", o.sites,
                    "the sites: a CSV with a header (x,y or lon,lat columns, an id column if there is\n"
                    "one) or any point layer GDAL reads (GeoPackage, shapefile, GeoJSON)")
        ->required()
        ->type_name("");
    cmd->add_option("--radius", o.radius, "radii, comma-separated, in map units (250,500,1000)")
        ->required()
        ->type_name("LIST");
    cmd->add_option("--shape", o.shape, "circle or square (circle)")
        ->check(CLI::IsMember({"circle", "square"}).description(""))
        ->type_name("S");
    cmd->add_option("--id", o.id, "the column or field naming each site (id, site or name; else the row number)")
        ->type_name("FIELD");
    cmd->add_option("--x", o.x, "the CSV's x column (x, lon, longitude or easting)")->type_name("COLUMN");
    cmd->add_option("--y", o.y, "the CSV's y column (y, lat, latitude or northing)")->type_name("COLUMN");
    cmd->add_option("--sites-crs", o.sitesCrs,
                    "the coordinate system of a CSV's x and y, e.g. EPSG:4326 (the map's)")
        ->type_name("CRS");
    cmd->add_option("--habitat", o.habitat,
                    "habitat classes: the map becomes habitat (1) and matrix (0) first; 41,42,43 or\n"
                    "41-43 (the map's own classes)")
        ->type_name("CLASSES");
    addNumber(*cmd, "--band", o.band, 1, 65535, "the map's band (1)");
    addMetricChoiceOptions(*cmd, o.choice);
    addNumber(*cmd, "--jobs", o.jobs, 1, 256, "threads measuring sites, 1..256 (every core)");
    cmd->add_option("--output", o.output, "the table to write; - for standard output (sites.csv)")->type_name("FILE");
    cmd->callback([&o] {
        std::vector<double> radii;
        if (const std::string why = readRadii(o.radius, radii); !why.empty())
            throw CLI::ValidationError("--radius", why);
        std::string why;
        if (!metricsOptionsOf(o.choice, &why))
            throw CLI::ValidationError("--metrics", why);
        HabitatClasses habitat;
        if (!o.habitat.empty() && !habitat.parse(o.habitat, &why))
            throw CLI::ValidationError("--habitat", why);
        // The default table name is a likely name for the sites file itself.
        if (const std::string input = inputReplacedBy(o.output, {o.sites, o.map}); !input.empty())
            throw CLI::ValidationError("--output", "the table would replace " + input + "; name another with --output");
    });
    cmd->footer("A site outside the map or without coordinates is named and the others are measured; a buffer\n"
                "reaching past the map's edge gets a warning naming its site.\n"
                "\n"
                "Exit status: 0 every site measured, 1 some site or the map could not be measured, 2 bad\n"
                "arguments (a radius of 0, a column the sites file does not have).");
    return cmd;
}

int runSitesCommand(const SitesOptions& o)
{
    SiteMetricsParameters p;
    p.map = o.map;
    p.band = o.band;
    readRadii(o.radius, p.radii);
    p.shape = o.shape == "square" ? BufferShape::Square : BufferShape::Circle;
    p.metrics = *metricsOptionsOf(o.choice, nullptr);
    p.jobs = o.jobs;
    if (!o.habitat.empty())
        p.habitat.parse(o.habitat, nullptr);

    // The map's frame first: the sites are moved into its coordinate system.
    RasterWindows map;
    std::string why;
    if (!map.open(o.map, o.band, p.habitat, &why)) {
        std::fprintf(stderr, "orvalis-cli sites: %s: %s\n", o.map.c_str(), why.c_str());
        return 1;
    }
    if (!map.cellSize())
        std::fprintf(stderr, "orvalis-cli sites: warning: %s: %s; cells are measured as 1 m and radii are in its units\n",
                     o.map.c_str(), map.cellSizeNote().c_str());
    SiteListOptions listOptions{o.id, o.x, o.y, o.sitesCrs, map.wkt()};
    std::vector<std::string> warnings;
    SiteListError listError;
    if (!readSiteList(o.sites, listOptions, p.sites, warnings, listError)) {
        std::fprintf(stderr, "orvalis-cli sites: %s: %s\n", o.sites.c_str(), listError.message.c_str());
        return listError.argument ? 2 : 1;
    }
    for (const std::string& w : warnings)
        std::fprintf(stderr, "orvalis-cli sites: warning: %s: %s\n", o.sites.c_str(), w.c_str());

    // The table grows site by site under a hidden name and takes its own when whole.
    const bool toStdout = o.output == "-";
    std::string temporary;
    std::FILE* out = toStdout ? stdout : createBeside(o.output, temporary);
    if (!out) {
        std::fprintf(stderr, "orvalis-cli sites: cannot write %s: %s\n", o.output.c_str(), std::strerror(errno));
        return 1;
    }
    bool written = std::fputs(sitesCsvHeader().c_str(), out) >= 0;
    std::size_t measured = 0, failed = 0;
    std::optional<InterruptGuard> interrupts(std::in_place);
    TerminalProgress progress;
    RunControl control([&progress](const ProgressEvent& e) { return progress(e) && !InterruptGuard::interrupted(); },
                       InterruptGuard::flag());
    const bool ok = measureSites(
        p,
        [&](std::size_t i, SiteResult&& r) {
            const std::string& id = p.sites[i].id;
            for (const std::string& w : r.warnings)
                std::fprintf(stderr, "orvalis-cli sites: warning: site %s: %s\n", id.c_str(), w.c_str());
            if (!r.error.empty()) {
                std::fprintf(stderr, "orvalis-cli sites: site %s: %s\n", id.c_str(), r.error.c_str());
                ++failed;
                return;
            }
            written = written && std::fwrite(r.rows.data(), 1, r.rows.size(), out) == r.rows.size();
            ++measured;
        },
        control, &why);
    progress.finish();
    interrupts.reset();
    written = std::fflush(out) == 0 && written;
    if (!toStdout) {
        written = ::fsync(fileno(out)) == 0 && written;
        written = std::fclose(out) == 0 && written;
    }
    const bool cancelled = control.isCanceled();
    if (!ok && !cancelled) {
        std::fprintf(stderr, "orvalis-cli sites: %s: %s\n", o.map.c_str(), why.c_str());
        if (!toStdout)
            std::remove(temporary.c_str());
        return 1;
    }
    // Not one site measured: the earlier table is worth more than a header.
    if (!toStdout && measured == 0 && failed > 0 && !cancelled) {
        std::remove(temporary.c_str());
        std::fprintf(stderr, "orvalis-cli sites: no site could be measured; %s was left as it was\n", o.output.c_str());
        return 1;
    }
    if (cancelled || !written || (!toStdout && !replaceWith(temporary, o.output))) {
        if (!toStdout)
            std::remove(temporary.c_str());
        std::fprintf(stderr, "orvalis-cli sites: %s\n",
                     cancelled ? "interrupted; no table written" : ("cannot write " + o.output + ": " + std::strerror(errno)).c_str());
        return 1;
    }
    if (!toStdout)
        std::printf("%zu of %zu site%s measured at %zu radi%s; table %s\n", measured, p.sites.size(),
                    p.sites.size() == 1 ? "" : "s", p.radii.size(), p.radii.size() == 1 ? "us" : "i", o.output.c_str());
    return failed ? 1 : 0;
}

}  // namespace orvalis::cli
