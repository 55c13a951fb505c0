#include "core/neutral/NeutralModels.h"

#include "core/compare/ReplicateRandom.h"
#include "core/io/NumberText.h"
#include "core/map/RasterGrid.h"
#include "core/neutral/MidpointSurface.h"
#include "core/neutral/ModelSurfaces.h"
#include "core/neutral/SpectralSurface.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>

namespace orvalis {

namespace {

bool readNumber(const std::string& text, double& value)
{
    const char* begin = text.data();
    const char* end = begin + text.size();
    const auto r = std::from_chars(begin, end, value);
    return begin != end && r.ec == std::errc() && r.ptr == end && std::isfinite(value);
}

bool inRange(const ModelParameter& p, double v)
{
    return (p.lowOpen ? v > p.low : v >= p.low) && (p.highOpen ? v < p.high : v <= p.high);
}

std::vector<std::string> splitOn(const std::string& text, const std::string& separators)
{
    std::vector<std::string> parts;
    std::string part;
    for (char c : text) {
        if (separators.find(c) != std::string::npos) {
            parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    parts.push_back(part);
    return parts;
}

std::string wholeText(double v)
{
    return std::to_string(static_cast<long long>(v));
}

// A bound as people write it: 100000, not 1e+05.
std::string boundText(double v)
{
    return v == std::floor(v) && std::fabs(v) < 1e15 ? wholeText(v) : shortestText(v);
}

// Reads text as p's value; the value is only meaningful when p.check(text) is empty.
ParameterValue readValue(const ModelParameter& p, const std::string& text)
{
    ParameterValue value;
    value.text = text;
    switch (p.type) {
    case ParameterType::Real:
    case ParameterType::Integer:
        readNumber(text, value.number);
        break;
    case ParameterType::Choice:
        value.number = static_cast<double>(std::find(p.choices.begin(), p.choices.end(), text) - p.choices.begin());
        break;
    case ParameterType::List:
        for (const std::string& part : splitOn(text, "/,")) {
            double v = 0.0;
            readNumber(part, v);
            value.list.push_back(v);
        }
        break;
    case ParameterType::File:
        break;
    }
    return value;
}

// The value as a choice's text writes it, so that it reads back to the same value.
std::string valueText(const ModelParameter& p, const ParameterValue& v)
{
    switch (p.type) {
    case ParameterType::Real:
        return shortestText(v.number);
    case ParameterType::Integer:
        return wholeText(v.number);
    case ParameterType::List: {
        std::string text;
        for (std::size_t i = 0; i < v.list.size(); ++i)
            text += (i ? "/" : "") + shortestText(v.list[i]);
        return text;
    }
    case ParameterType::Choice:
    case ParameterType::File:
        break;
    }
    return v.text;
}

double drawnOr(const ModelChoice& s, const std::string& name, ReplicateRandom& random, double scale)
{
    const std::optional<ParameterValue> v = s.value(name);
    return v ? v->number : uniform01(random) * scale;
}

bool readSourceGrid(const std::string& path, int rows, int cols, std::vector<unsigned char>& sources,
                    std::string* error)
{
    LandscapeGrid grid;
    double cellSize = 1.0;
    std::optional<int> noData;
    std::string why;
    if (!readMeasurableGrid(path, grid, cellSize, noData, &why)) {
        if (error)
            *error = "cannot read the source grid " + path + ": " + why;
        return false;
    }
    if (static_cast<int>(grid.size()) != rows || (rows > 0 && static_cast<int>(grid.front().size()) != cols)) {
        if (error)
            *error = "the source grid " + path + " is not of " + std::to_string(rows) + " x " + std::to_string(cols) +
                     " cells";
        return false;
    }
    sources.assign(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols), 0);
    bool any = false;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            const int v = grid[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
            const bool source = v != 0 && !(noData && v == *noData);
            sources[static_cast<std::size_t>(r) * cols + c] = source;
            any = any || source;
        }
    if (!any && error)
        *error = "the source grid " + path + " holds no source cell (a value other than 0 and no-data)";
    return any;
}

// The builders, each reading its parameters from the choice; drawn parameters are drawn first.

bool buildRandom(const ModelChoice&, int rows, int cols, ReplicateRandom& random, Surface& out, std::string*)
{
    out.resize(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols));
    setUniformDraws(out, random);
    return true;
}

bool buildFractal(const ModelChoice& s, int rows, int cols, ReplicateRandom& random, Surface& out, std::string* error)
{
    const int size = std::max(rows, cols);
    MidpointSurface surface;
    // As the comparison makes it: the top bits of the first draw seed the surface.
    const int seed = static_cast<int>(random.next() >> 33);
    if (!surface.generateSurface(s.number("h"), size, surfaceLevelsFor(size), seed)) {
        if (error)
            *error = surface.error();
        return false;
    }
    out.resize(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols));
    for (int r = 0; r < rows; ++r)
        std::copy_n(surface.grid()[r], cols, out.data() + static_cast<std::size_t>(r) * cols);
    return true;
}

bool buildFbm(const ModelChoice& s, int rows, int cols, ReplicateRandom& random, Surface& out, std::string*)
{
    fbmSurface(rows, cols, s.number("h"), random, out);
    return true;
}

bool buildGaussian(const ModelChoice& s, int rows, int cols, ReplicateRandom& random, Surface& out, std::string*)
{
    gaussianFieldSurface(rows, cols, s.number("range"), s.number("smoothness"), random, out);
    return true;
}

bool buildCluster(const ModelChoice& s, int rows, int cols, ReplicateRandom& random, Surface& out, std::string*)
{
    const auto n = static_cast<Neighbourhood>(static_cast<int>(s.number("neighbourhood")));
    randomClusterNN(rows, cols, s.number("p"), n, random, out);
    return true;
}

bool buildElement(const ModelChoice& s, int rows, int cols, ReplicateRandom& random, Surface& out, std::string*)
{
    randomElementNN(rows, cols, static_cast<std::int64_t>(s.number("n")), random, out);
    return true;
}

bool buildPlanar(const ModelChoice& s, int rows, int cols, ReplicateRandom& random, Surface& out, std::string*)
{
    planarGradient(rows, cols, drawnOr(s, "direction", random, 360.0), out);
    return true;
}

bool buildEdge(const ModelChoice& s, int rows, int cols, ReplicateRandom& random, Surface& out, std::string*)
{
    edgeGradient(rows, cols, drawnOr(s, "direction", random, 360.0), out);
    return true;
}

bool buildDistance(const ModelChoice& s, int rows, int cols, ReplicateRandom& random, Surface& out, std::string* error)
{
    std::vector<unsigned char> sources;
    if (const std::optional<ParameterValue> file = s.value("source")) {
        if (!readSourceGrid(file->text, rows, cols, sources, error))
            return false;
    } else {
        sources = randomSources(rows, cols, static_cast<std::int64_t>(s.number("n")), random);
    }
    distanceGradient(sources, rows, cols, out);
    return true;
}

bool buildWave(const ModelChoice& s, int rows, int cols, ReplicateRandom& random, Surface& out, std::string*)
{
    waveSurface(rows, cols, s.number("periods"), drawnOr(s, "direction", random, 360.0), out);
    return true;
}

bool buildRectangles(const ModelChoice& s, int rows, int cols, ReplicateRandom& random, Surface& out, std::string*)
{
    randomRectangularCluster(rows, cols, static_cast<int>(s.number("min")), static_cast<int>(s.number("max")), random,
                             out);
    return true;
}

bool buildCurds(const ModelChoice& s, int rows, int cols, ReplicateRandom& random, Surface& out, std::string*)
{
    randomCurds(rows, cols, s.value("proportions")->list, s.value("subdivisions")->list, random, out);
    return true;
}

bool buildPercolation(const ModelChoice& s, int rows, int cols, ReplicateRandom& random, Surface& out, std::string*)
{
    percolationSurface(rows, cols, s.number("p"), random, out);
    return true;
}

bool buildMosaic(const ModelChoice& s, int rows, int cols, ReplicateRandom& random, Surface& out, std::string*)
{
    voronoiMosaic(rows, cols, static_cast<std::int64_t>(s.number("n")), random, out);
    return true;
}

bool buildNeigh(const ModelChoice& s, int rows, int cols, ReplicateRandom& random, Surface& out, std::string*)
{
    const int neighbours = s.number("neighbourhood") == 0 ? 4 : 8;
    neighbourhoodClusters(rows, cols, s.number("p_neigh"), s.number("p_empty"), static_cast<int>(s.number("categories")),
                          neighbours, random, out);
    return true;
}

bool buildPerlin(const ModelChoice& s, int rows, int cols, ReplicateRandom& random, Surface& out, std::string*)
{
    perlinNoise(rows, cols, static_cast<int>(s.number("periods")), static_cast<int>(s.number("octaves")),
                static_cast<int>(s.number("lacunarity")), s.number("persistence"), random, out);
    return true;
}

bool buildBspTiles(const ModelChoice& s, int rows, int cols, ReplicateRandom& random, std::vector<ValueTile>& out)
{
    const auto orientation = static_cast<PartOrientation>(static_cast<int>(s.number("orientation")));
    out = binarySpacePartitionTiles(rows, cols, static_cast<std::int64_t>(s.number("n")), orientation,
                                    s.number("ratio"), random);
    return true;
}

bool buildBsp(const ModelChoice& s, int rows, int cols, ReplicateRandom& random, Surface& out, std::string*)
{
    std::vector<ValueTile> leaves;
    buildBspTiles(s, rows, cols, random, leaves);
    paintTiles(leaves, rows, cols, out);
    return true;
}

ModelParameter aka(ModelParameter p, std::string alias)
{
    p.alias = std::move(alias);
    return p;
}

ModelParameter real(std::string name, double low, bool lowOpen, double high, bool highOpen, std::string defaultText,
                    std::string help)
{
    ModelParameter p;
    p.name = std::move(name);
    p.type = ParameterType::Real;
    p.low = low;
    p.lowOpen = lowOpen;
    p.high = high;
    p.highOpen = highOpen;
    p.defaultText = std::move(defaultText);
    p.required = p.defaultText.empty();
    p.help = std::move(help);
    return p;
}

ModelParameter whole(std::string name, double low, double high, std::string defaultText, std::string help)
{
    ModelParameter p = real(std::move(name), low, false, high, false, std::move(defaultText), std::move(help));
    p.type = ParameterType::Integer;
    return p;
}

ModelParameter choice(std::string name, std::vector<std::string> choices, std::string help)
{
    ModelParameter p;
    p.name = std::move(name);
    p.type = ParameterType::Choice;
    p.defaultText = choices.front();
    p.choices = std::move(choices);
    p.help = std::move(help);
    return p;
}

ModelParameter cellCount(std::string name, std::string defaultText, std::string help)
{
    ModelParameter p = whole(std::move(name), 1, 100000000, std::move(defaultText), std::move(help));
    p.countsCells = true;
    return p;
}

ModelParameter direction()
{
    ModelParameter p = real("direction", 0, false, 360, false, "", "bearing of the gradient in degrees from north");
    p.required = false;
    p.drawn = true;
    return p;
}

std::vector<NeutralModelDef> buildTable()
{
    std::vector<NeutralModelDef> t;
    const auto add = [&t](std::string name, std::string title, std::string reference, std::string formula,
                          std::vector<ModelParameter> parameters, SurfaceBuilder build, double bytesPerCell) {
        NeutralModelDef d;
        d.name = std::move(name);
        d.title = std::move(title);
        d.reference = std::move(reference);
        d.formula = std::move(formula);
        d.parameters = std::move(parameters);
        d.build = build;
        d.bytesPerCell = bytesPerCell;
        t.push_back(std::move(d));
        return &t.back();
    };
    add("random", "spatially random", "NLMpy random; NLMR nlm_random",
        "Every cell an independent uniform draw in [0, 1). At an exact habitat count this is the habitat "
        "placed uniformly at random; the comparison places it by a partial Fisher-Yates shuffle.",
        {}, buildRandom, 8);
    add("fractal", "midpoint displacement",
        "Saupe 1988, two-dimensional midpoint displacement; NLMpy mpd; NLMR nlm_mpd",
        "Midpoint displacement on a grid of 2^n + 1 points a side with displacements shrinking by 2^-h a stage; "
        "the window of the landscape's size is kept and rescaled to [0, 1]. The comparison's fractal:H is this model.",
        {real("h", 0, true, 1, false, "", "Hurst exponent: higher is smoother")}, buildFractal, 24)
        ->maxSide = MaxSurfaceSize;
    add("fbm", "fractional Brownian motion (spectral synthesis)",
        "Saupe 1988 spectral synthesis; Keitt 2000, Spectral representation of neutral landscapes; NLMR nlm_fbm",
        "Complex Gaussian noise whose amplitude falls as |k|^-(h + 1) (power |k|^-(2h + 2)), one inverse FFT; any "
        "size. The grid is extended to a fast FFT size and its top-left part kept; opposite edges of the extended "
        "grid match.",
        {real("h", 0, true, 1, false, "", "Hurst exponent: higher is smoother")}, buildFbm, 18);
    add("gaussian", "Gaussian random field (Matern covariance)",
        "NLMR nlm_gaussianfield (exponential variogram); Lantuejoul 2002 spectral simulation",
        "Complex Gaussian noise shaped by the Matern spectral density (1 + (2 pi range |k|)^2)^-(smoothness + 1), one "
        "inverse FFT on a grid extended by three ranges. smoothness 0.5 gives the exponential covariance "
        "exp(-r / range) that nlm_gaussianfield simulates; larger values are smoother.",
        {real("range", 0, true, 100000, false, "10", "autocorrelation range in cells"),
         real("smoothness", 0, true, 10, false, "0.5", "Matern smoothness nu: 0.5 exponential, large values Gaussian")},
        buildGaussian, 40);
    add("cluster", "random cluster nearest-neighbour", "Saura and Martinez-Millan 2000; NLMpy randomClusterNN",
        "A uniform random share p of the cells (cells - floor((1 - p) cells) of them) percolates; its clusters "
        "under the neighbourhood are labelled in order of their first cell, each takes one uniform value, and "
        "every other cell takes the value of its nearest cluster cell (exact Euclidean feature transform).",
        {real("p", 0, true, 1, false, "0.5", "share of cells that form the clusters"),
         choice("neighbourhood", {"4", "8", "diagonal"},
                "cluster rule: 4, 8 or NLMpy's diagonal structure [0 1 1; 1 1 1; 1 1 0]")},
        buildCluster, 36);
    add("element", "random element nearest-neighbour", "NLMpy randomElementNN",
        "n distinct cells drawn uniformly are numbered in draw order; every cell takes the number of its nearest "
        "one (exact Euclidean feature transform), rescaled to [0, 1].",
        {cellCount("n", "100", "number of seed cells, at most the cell count")}, buildElement, 24);
    add("planar", "planar gradient", "NLMpy planarGradient",
        "southness x row + eastness x column, with eastness = sin(direction) and southness = -cos(direction), "
        "rescaled to [0, 1]; exactly linear in the direction.",
        {direction()}, buildPlanar, 8);
    add("edge", "edge gradient", "NLMpy edgeGradient",
        "1 - 2 |0.5 - planar|, rescaled: highest along the middle line across the direction, lowest at both ends.",
        {direction()}, buildEdge, 8);
    {
        ModelParameter source;
        source.name = "source";
        source.type = ParameterType::File;
        source.help = "grid of the landscape's size whose cells other than 0 and no-data are the sources; replaces n";
        add("distance", "distance gradient", "NLMpy distanceGradient",
            "The exact Euclidean distance of every cell to its nearest source cell (Felzenszwalb and Huttenlocher's "
            "transform), rescaled to [0, 1]: n distinct source cells drawn uniformly, or those of a source grid.",
            {cellCount("n", "1", "number of random source cells, at most the cell count"), source}, buildDistance, 24);
    }
    add("wave", "wave surface", "NLMpy waveSurface",
        "sin(2 pi periods planar) with planar the planar gradient rescaled to [0, 1], rescaled.",
        {aka(real("periods", 0, true, 100000, false, "3", "complete waves (crest and trough) along the direction"), "period"),
         direction()},
        buildWave, 8);
    add("rectangles", "random rectangular cluster", "Gardner 1999 (RULE); NLMpy randomRectangularCluster",
        "Rectangles with sides drawn uniformly in min..max (NLMpy: min..max-1) and corners in -max+1.. so that "
        "edge cells are painted as often as any, each painted with one uniform value over the earlier ones, until "
        "every cell is painted.",
        {whole("min", 1, 100000, "4", "shortest side in cells"), whole("max", 1, 100000, "8", "longest side in cells")},
        buildRectangles, 11);
    {
        ModelParameter proportions = real("proportions", 0, false, 1, false, "0.25/0.25/0.5",
                                          "share of the still whole blocks cut at each level, separated by '/'");
        proportions.type = ParameterType::List;
        ModelParameter subdivisions =
            whole("subdivisions", 1, 256, "4/4/4", "blocks a side each block is split into at each level, by '/'");
        subdivisions.type = ParameterType::List;
        add("curds", "random curdling", "Keitt 2000; NLMR nlm_curds",
            "Level i splits every block into s_i x s_i and cuts a share p_i (rounded) of the blocks still whole, "
            "drawn uniformly. A cell's value is the level it was cut at (levels + 1 when never), so the highest "
            "cells are the curds' habitat, plus a uniform draw of its own in [0, 1) so that an exact count beyond a "
            "level takes random cells of the next one. The grid of prod(s_i) blocks a side (at most 4096) is "
            "stretched over the landscape.",
            {proportions, subdivisions}, buildCurds, 16);
    }
    add("percolation", "percolation map", "Gardner et al. 1987; NLMR nlm_percolation",
        "Each cell 1 with probability p, else 0, plus a uniform draw of its own in [0, 1). At an exact habitat count "
        "of the share p this is the percolation map; at any other count it is random.",
        {real("p", 0, false, 1, false, "0.5", "probability of a habitat cell")}, buildPercolation, 8);
    add("mosaic", "random tessellation (Voronoi mosaic)", "NLMR nlm_mosaictess",
        "n points uniform over the landscape, each with a uniform value; every cell takes the value of the point "
        "nearest its centre (the earlier point on a tie), so classes fall on whole tiles at random.",
        {whole("n", 1, 10000000, "50", "number of points (tiles)")}, buildMosaic, 8);
    add("neigh", "neighbourhood clustering", "Scherer et al. 2016; NLMR nlm_neigh",
        "Categories categories-1 down to 1 each take floor(cells / categories) cells, one at a time: a cell beside "
        "a filled one (the edges wrapping) is taken with probability p_neigh, any other with p_empty; the rest is "
        "category 0. The kept cell is drawn with those weights directly, which is what nlm_neigh's repeated tries "
        "give. A cell's value is its category plus a uniform draw of its own in [0, 1).",
        {aka(real("p_neigh", 0, true, 1, false, "0.1", "probability for a cell beside a filled one"), "p"),
         real("p_empty", 0, true, 1, false, "0.001", "probability for a cell with no filled neighbour"),
         whole("categories", 2, 255, "3", "number of categories"),
         choice("neighbourhood", {"4", "8"}, "cells that count as beside")},
        buildNeigh, 24);
    add("perlin", "Perlin noise", "Perlin 2002; NLMpy perlinNoise",
        "Octave o is gradient noise with periods x lacunarity^o periods across the longer side (quintic fade, "
        "uniform gradient angles) weighted by persistence^o; the sum rescaled to [0, 1].",
        {aka(whole("periods", 1, 1024, "4", "periods of the first octave across the longer side"), "period"),
         whole("octaves", 1, 16, "1", "number of octaves"), whole("lacunarity", 1, 16, "2", "period growth per octave"),
         real("persistence", 0, true, 1, false, "0.5", "amplitude factor per octave")},
        buildPerlin, 8);
    add("bsp", "binary space partitioning", "Etherington et al. 2022; NLMpy bsp",
        "Until there are n rectangles: a uniform cell picks a leaf, which is halved across its longer side "
        "(orientation longest) or as orientation and ratio say; a leaf one cell thin is halved the other way. Each "
        "rectangle then takes a uniform value.",
        {cellCount("n", "16", "number of rectangles, at most the cell count"),
         choice("orientation", {"longest", "random", "horizontal", "vertical"}, "which way leaves are halved"),
         real("ratio", 2, false, 1000, false, "2", "largest length to width ratio (not for longest)")},
        buildBsp, 12)
        ->tiles = buildBspTiles;
    return t;
}

}  // namespace

std::string ModelParameter::rangeText() const
{
    switch (type) {
    case ParameterType::Real:
        return std::string(lowOpen ? "(" : "[") + boundText(low) + ", " + boundText(high) + (highOpen ? ")" : "]");
    case ParameterType::Integer:
        return wholeText(low) + ".." + wholeText(high);
    case ParameterType::Choice: {
        std::string text;
        for (std::size_t i = 0; i < choices.size(); ++i)
            text += (i ? "|" : "") + choices[i];
        return text;
    }
    case ParameterType::List:
        return "LIST, each " +
               (wholeNumbers() ? wholeText(low) + ".." + wholeText(high)
                               : std::string(lowOpen ? "(" : "[") + boundText(low) + ", " + boundText(high) +
                                     (highOpen ? ")" : "]"));
    case ParameterType::File:
        return "FILE";
    }
    return {};
}

bool ModelParameter::wholeNumbers() const
{
    return type == ParameterType::Integer || (type == ParameterType::List && name == "subdivisions");
}

std::string ModelParameter::check(const std::string& text) const
{
    const auto outside = [&](const std::string& what) { return name + "=" + what + " is outside " + rangeText(); };
    const auto number = [&](const std::string& part) -> std::string {
        double v = 0.0;
        if (!readNumber(part, v))
            return name + "=" + text + ": '" + part + "' is not a number";
        if (wholeNumbers() && v != std::floor(v))
            return name + "=" + text + ": '" + part + "' is not a whole number";
        if (!inRange(*this, v))
            return outside(part);
        return {};
    };
    switch (type) {
    case ParameterType::Real:
    case ParameterType::Integer:
        return number(text);
    case ParameterType::Choice:
        if (std::find(choices.begin(), choices.end(), text) == choices.end())
            return name + "=" + text + " is not one of " + rangeText();
        return {};
    case ParameterType::List:
        for (const std::string& part : splitOn(text, "/,"))
            if (std::string why = number(part); !why.empty())
                return why;
        return {};
    case ParameterType::File:
        return text.empty() ? name + " needs a file name" : std::string();
    }
    return {};
}

const ModelParameter* NeutralModelDef::parameter(const std::string& wanted) const
{
    for (const ModelParameter& p : parameters)
        if (p.name == wanted || (!p.alias.empty() && p.alias == wanted))
            return &p;
    return nullptr;
}

std::string NeutralModelDef::parameterList() const
{
    if (parameters.empty())
        return "none";
    std::string text;
    for (const ModelParameter& p : parameters) {
        if (!text.empty())
            text += "; ";
        text += p.shownName() + " " + p.rangeText();
        if (!p.defaultText.empty())
            text += ", default " + p.defaultText;
        else if (p.drawn)
            text += ", drawn when absent";
        else if (p.required)
            text += ", required";
    }
    return text;
}

const std::vector<NeutralModelDef>& neutralModels()
{
    static const std::vector<NeutralModelDef> table = buildTable();
    return table;
}

const NeutralModelDef* findNeutralModel(const std::string& name)
{
    for (const NeutralModelDef& d : neutralModels())
        if (d.name == name)
            return &d;
    return nullptr;
}

std::string neutralModelNames()
{
    std::string names;
    for (const NeutralModelDef& d : neutralModels())
        names += (names.empty() ? "" : ", ") + d.name;
    return names;
}

std::string ModelChoice::text() const
{
    std::string text = model ? model->name : std::string();
    for (std::size_t i = 0; model && i < given.size(); ++i)
        if (given[i])
            text += ":" + model->parameters[i].name + "=" + valueText(model->parameters[i], *given[i]);
    return text;
}

std::optional<ParameterValue> ModelChoice::value(const std::string& name) const
{
    for (std::size_t i = 0; model && i < model->parameters.size(); ++i) {
        const ModelParameter& p = model->parameters[i];
        if (p.name != name)
            continue;
        if (i < given.size() && given[i])
            return given[i];
        if (p.defaultText.empty())
            return std::nullopt;
        return readValue(p, p.defaultText);
    }
    return std::nullopt;
}

bool ModelChoice::set(const std::string& assignment, std::string* error)
{
    const auto refuse = [&](const std::string& why) {
        if (error)
            *error = model->name + ": " + why + "; its parameters: " + model->parameterList();
        return false;
    };
    if (model->parameters.empty()) {
        if (error)
            *error = model->name + " takes no parameters ('" + assignment + "')";
        return false;
    }
    const std::size_t equals = assignment.find('=');
    const std::string name = equals == std::string::npos ? model->parameters.front().name : assignment.substr(0, equals);
    const std::string text = equals == std::string::npos ? assignment : assignment.substr(equals + 1);
    if (assignment.empty())
        return refuse("an empty parameter");
    const ModelParameter* p = model->parameter(name);
    if (!p)
        return refuse("unknown parameter '" + name + "'");
    if (const std::string why = p->check(text); !why.empty())
        return refuse(why);
    given.resize(model->parameters.size());
    given[static_cast<std::size_t>(p - model->parameters.data())] = readValue(*p, text);
    return true;
}

std::string ModelChoice::checkComplete() const
{
    const auto refuse = [&](const std::string& why) {
        return model->name + ": " + why + "; its parameters: " + model->parameterList();
    };
    for (std::size_t i = 0; i < model->parameters.size(); ++i) {
        const ModelParameter& p = model->parameters[i];
        if (p.required && !(i < given.size() && given[i]))
            return refuse(p.name + " is required, in " + p.rangeText());
    }
    if (model->name == "rectangles" && number("min") > number("max"))
        return refuse("min=" + wholeText(number("min")) + " is above max=" + wholeText(number("max")));
    if (model->name == "curds") {
        const std::vector<double> p = value("proportions")->list, s = value("subdivisions")->list;
        if (p.size() != s.size())
            return refuse("proportions and subdivisions must have as many levels (" + std::to_string(p.size()) + " and " +
                          std::to_string(s.size()) + ")");
        double side = 1.0;
        for (double v : s)
            side *= v;
        if (side > 4096.0)
            return refuse("the subdivisions make " + shortestText(side) + " blocks a side; at most 4096");
    }
    if (model->name == "perlin" &&
        number("periods") * std::pow(number("lacunarity"), number("octaves") - 1.0) > 1024.0)
        return refuse("periods x lacunarity^(octaves - 1) is above 1024");
    return {};
}

std::optional<ModelChoice> parseModelChoice(const std::string& text, std::string* error)
{
    const std::vector<std::string> parts = splitOn(text, ":");
    ModelChoice choice;
    choice.model = findNeutralModel(parts.front());
    if (!choice.model) {
        if (error)
            *error = "unknown neutral model '" + parts.front() + "' (models: " + neutralModelNames() + ")";
        return std::nullopt;
    }
    for (std::size_t i = 1; i < parts.size(); ++i) {
        // Commas separate assignments, but a file's name may hold one: after a file parameter, a
        // piece that names no parameter is part of the name.
        std::vector<std::string> assignments;
        const auto named = [&](const std::string& assignment) {
            const std::size_t equals = assignment.find('=');
            return equals == std::string::npos ? nullptr : choice.model->parameter(assignment.substr(0, equals));
        };
        for (const std::string& piece : splitOn(parts[i], ",")) {
            const ModelParameter* before = assignments.empty() ? nullptr : named(assignments.back());
            if (before && before->type == ParameterType::File && !named(piece))
                assignments.back() += "," + piece;
            else
                assignments.push_back(piece);
        }
        for (const std::string& assignment : assignments)
            if (!choice.set(assignment, error))
                return std::nullopt;
    }
    if (const std::string why = choice.checkComplete(); !why.empty()) {
        if (error)
            *error = why;
        return std::nullopt;
    }
    return choice;
}

std::vector<std::string> splitModelList(const std::string& text)
{
    std::vector<std::string> models;
    for (const std::string& item : splitOn(text, ",")) {
        const std::size_t equals = item.find('=');
        const std::string name = item.substr(0, equals);
        const bool assignment = equals != std::string::npos &&
                                name.find_first_of(":*+") == std::string::npos && !findNeutralModel(name);
        if (assignment && !models.empty())
            models.back() += "," + item;
        else
            models.push_back(item);
    }
    return models;
}

std::string checkModelSize(const ModelChoice& choice, int rows, int cols)
{
    if (rows < 1 || cols < 1)
        return "a landscape needs at least one row and one column";
    const auto cells = static_cast<std::int64_t>(rows) * cols;
    if (cells > INT_MAX)
        return std::to_string(rows) + " x " + std::to_string(cols) + " cells is above the " + std::to_string(INT_MAX) +
               " cells a landscape may hold";
    const NeutralModelDef& d = *choice.model;
    if (d.maxSide > 0 && std::max(rows, cols) > d.maxSide)
        return d.name + " makes landscapes of at most " + std::to_string(d.maxSide) + " cells a side";
    for (const ModelParameter& p : d.parameters)
        if (p.countsCells && !choice.value("source") && choice.number(p.name) > static_cast<double>(cells))
            return d.name + ": " + p.name + "=" + wholeText(choice.number(p.name)) + " is above the " +
                   std::to_string(cells) + " cells of the landscape";
    if (const std::optional<ParameterValue> file = choice.value("source")) {
        std::vector<unsigned char> sources;
        std::string why;
        if (!readSourceGrid(file->text, rows, cols, sources, &why))
            return d.name + ": " + why;
    }
    return {};
}

bool buildSurface(const ModelChoice& choice, int rows, int cols, ReplicateRandom& random, Surface& out, std::string* error)
{
    return choice.model->build(choice, rows, cols, random, out, error);
}

std::string modelsMarkdown()
{
    std::string md =
        "# Neutral models\n"
        "\n"
        "Written from the models' table (`src/core/neutral/NeutralModels.cpp`) by `models-doc`; a test checks that\n"
        "this page and the table agree. `orvalis-cli neutral --list-models` and `orvalis-cli neutral --help` read\n"
        "the same table, and so do `compare --models` and its charts.\n"
        "\n"
        "Each model makes a surface: one value per cell. A landscape is made from it by ranking: habitat is the\n"
        "cells of the highest values, exactly as many as asked (ties go to the earlier cell, row after row), or\n"
        "k classes at given proportions, each exactly its rounded count (counts rounded down, then the cells\n"
        "left over go one each to the classes of the largest remainders, the earlier class on a tie), class 1\n"
        "holding the lowest values. A model that makes categories (curds, percolation, neigh) adds to each\n"
        "cell a uniform draw of its own in [0, 1), so that a count that splits a category takes random cells of\n"
        "it rather than its first rows. In the models of patches of one value (cluster, element, rectangles,\n"
        "mosaic, bsp) every patch falls in one class but those, one at most for each boundary between classes,\n"
        "whose value the boundary falls on: such a patch is cut, its earlier cells in the higher class, so\n"
        "that the counts stay exact. A blend (`--blend 0.5*fbm:h=0.8+0.5*planar`) is NLMpy's blendArray:\n"
        "each surface rescaled to [0, 1], weighted, summed and rescaled.\n"
        "\n"
        "A model is written `NAME`, `NAME:VALUE` (its first parameter) or `NAME:PARAMETER=VALUE:PARAMETER=VALUE`\n"
        "(or with commas: `cluster:p=0.55,neighbourhood=8`); a parameter's NLMpy or NLMR name, given in its\n"
        "table, works as well. Lists are separated by `/`. Every replicate draws from its own splitmix64\n"
        "state, derived from the seed, and all draws are made by the program's own code, so the same options\n"
        "give the same bytes whatever the number of jobs; the FFT (FFTW, planned with FFTW_ESTIMATE) is the\n"
        "same on every run of one machine.\n"
        "\n"
        "| model | what | follows |\n"
        "| --- | --- | --- |\n";
    for (const NeutralModelDef& d : neutralModels())
        md += "| [`" + d.name + "`](#" + d.name + ") | " + d.title + " | " + d.reference + " |\n";
    for (const NeutralModelDef& d : neutralModels()) {
        md += "\n## " + d.name + "\n\n" + d.title + ". Follows " + d.reference + ".\n\n" + d.formula + "\n\n";
        if (d.parameters.empty()) {
            md += "No parameters.\n";
            continue;
        }
        md += "| parameter | range | default | meaning |\n| --- | --- | --- | --- |\n";
        for (const ModelParameter& p : d.parameters) {
            std::string range = p.rangeText();
            std::replace(range.begin(), range.end(), '|', '/');
            const std::string given = !p.defaultText.empty() ? "`" + p.defaultText + "`"
                                      : p.drawn              ? "drawn uniformly for every replicate"
                                      : p.required           ? "required"
                                                             : "none";
            md += "| `" + p.name + "`" + (p.alias.empty() ? "" : " (or `" + p.alias + "`)") + " | " + range + " | " + given + " | " + p.help + " |\n";
        }
    }
    md += "\n## References\n\n"
          "- Etherington, T. R., Holland, E. P. and O'Sullivan, D. (2015). NLMpy: a python software package for the\n"
          "  creation of neutral landscape models within a general numerical framework. Methods in Ecology and\n"
          "  Evolution 6, 164-168.\n"
          "- Sciaini, M., Fritsch, M., Scherer, C. and Simpkins, C. E. (2018). NLMR and landscapetools: an integrated\n"
          "  environment for simulating and modifying neutral landscape models in R. Methods in Ecology and\n"
          "  Evolution 9, 2240-2248.\n"
          "- Saupe, D. (1988). Algorithms for random fractals. In The Science of Fractal Images, Springer.\n"
          "- Keitt, T. H. (2000). Spectral representation of neutral landscapes. Landscape Ecology 15, 479-493.\n"
          "- Gardner, R. H. (1999). RULE: map generation and a spatial analysis program. In Landscape Ecological\n"
          "  Analysis, Springer.\n"
          "- Gardner, R. H., Milne, B. T., Turner, M. G. and O'Neill, R. V. (1987). Neutral models for the analysis\n"
          "  of broad-scale landscape pattern. Landscape Ecology 1, 19-28.\n"
          "- Saura, S. and Martinez-Millan, J. (2000). Landscape patterns simulation with a modified random clusters\n"
          "  method. Landscape Ecology 15, 661-678.\n"
          "- Scherer, C. et al. (2016). Merging trait-based and individual-based modelling. Ecological Modelling\n"
          "  326, 75-89.\n"
          "- Perlin, K. (2002). Improving noise. ACM Transactions on Graphics 21, 681-682.\n"
          "- Etherington, T. R., Morgan, F. J. and O'Sullivan, D. (2022). Binary space partitioning generates\n"
          "  hierarchical and rectilinear neutral landscape models suitable for human-dominated landscapes.\n"
          "  Landscape Ecology 37, 1761-1769.\n"
          "- Felzenszwalb, P. F. and Huttenlocher, D. P. (2012). Distance transforms of sampled functions. Theory\n"
          "  of Computing 8, 415-428.\n"
          "- Lantuejoul, C. (2002). Geostatistical Simulation: Models and Algorithms. Springer.\n";
    return md;
}

}  // namespace orvalis
