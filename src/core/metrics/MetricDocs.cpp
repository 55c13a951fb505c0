#include "core/metrics/MetricDocs.h"

#include "core/metrics/MetricCatalogue.h"

namespace orvalis {

namespace {

std::string cell(const std::string& text)
{
    std::string out;
    for (char c : text)
        out += c == '|' ? std::string("\\|") : std::string(1, c);
    return out.empty() ? "–" : out;
}

// Where each of FRAGSTATS' differences is established.
const char* const Sources = R"(| Metrics | FRAGSTATS 4.2 | Source |
|---|---|---|
| every `_sd` and `_cv` | population standard deviation (divisor n); a single value has sd 0 | landscapemetrics, article "Differences between FRAGSTATS and landscapemetrics" (vignettes/articles/comparing_tools.Rmd: "slight differences ... for the sd and the cv") and its issues #12, #13; FRAGSTATS' output for landscapemetrics' example map reproduces AREA_CV 147.1030 with divisor n |
| `contag` | each row of the adjacency matrix weighted by its class's share of the landscape: q = P_i g_ik / Σ_k g_ik | FRAGSTATS documentation, contagion ("g_ik = number of adjacencies ... double-count method"); its output for landscapemetrics' example map (26.4538) |
| `para`, `para_mn`, `para_sd` | perimeter (m) over area in hectares, as FRAGSTATS writes it although its manual says m² | comparing_tools.Rmd ("the output of FRAGSTATS gives the result as the ratio of the patch perimeter in meters to area in hectares"); issue #13 |
| `shape`, `shape_mn/sd/cv` | perimeter over the shortest perimeter as many cells can have, both in cell sides | FRAGSTATS 4 help, SHAPE ("divided by the minimum perimeter ... possible for a maximally compact patch"); its output (two cells: 1.0, landscapemetrics 1.0607) |
| `circle`, `circle_mn/sd/cv` | 0 for a patch of one cell | FRAGSTATS help ("CIRCLE = 0 for one cell patches"), quoted in comparing_tools.Rmd and landscapemetrics issue #60 |
| `dcore_mn/sd/cv` | over the area (ha) of each disjunct core area, not over each patch's number of them | FRAGSTATS documentation of DCORE; its output for landscapemetrics' example map equals TCA / NDCA (landscapemetrics issue #294) |
| `nlsi` | above half the landscape, the longest outline is the landscape's outline + 4 × (cells of the landscape − cells of the class) | FRAGSTATS documentation (nLSI) and its output for a class of 53.6 % (0.1631) |
| `pafrac` | at landscape level from 2 patches (not 10); NA when the patches are all of one size | FRAGSTATS documentation of PAFRAC ("... if all patches are the same size or there is only 1 patch") |
| `clumpy` | also NA for a class of every cell but one | FRAGSTATS documentation of CLUMPY, quoted in landscapemetrics issue #232 |
)";

}  // namespace

std::string metricsMarkdown()
{
    std::string md =
        "# Landscape metrics\n"
        "\n"
        "This page is written from the metric table in `src/core/metrics/MetricCatalogue.cpp` "
        "(`scripts/metrics-doc.sh` writes it; a test fails when it is out of date).\n"
        "\n"
        "Orvalis computes every metric of the R package landscapemetrics 2.2.2 (`list_lsm()`: 12 patch, 55 class and "
        "66 landscape metrics) with its definitions and defaults, plus `gyrate_am` and `spanning`. `orvalis-cli metrics "
        "--list-metrics` prints the table as CSV (`metric,level,type,name,unit`).\n"
        "\n"
        "- **Cells**: square, of the side given (`--cell-size`, or the frame of a georeferenced file) in metres; areas in "
        "hectares, lengths in metres. Cells of the no-data value are outside the landscape: no class, no area, no edge.\n"
        "- **Sides**: edges, perimeters and adjacencies count cell sides (4 neighbours) whatever the patch rule; the patch "
        "rule (`--neighbours 4|8`, 8 by default) decides only which cells form a patch.\n"
        "- **Undefined** values are `NA`, never 0: a mean over a class of one patch's undefined values, a spread of one "
        "value, a ratio 0 / 0.\n"
        "- **Patch ids** as landscapemetrics numbers patches: classes ascending, ids going on from one class to the next; "
        "within a class by the first cell met going down the first column, then the next.\n"
        "- **Families** `_mn`, `_sd`, `_cv`: the mean, the sample standard deviation (n − 1) and sd / mean × 100 of the "
        "patch values of the class (class level) or of every patch (landscape level); `NA` when any patch value is.\n"
        "\n"
        "## Options\n"
        "\n"
        "| Option | Default | Meaning |\n"
        "|---|---|---|\n"
        "| `--level patch,class,landscape` | `class,landscape` | the levels measured |\n"
        "| `--metrics LIST` | the standard 26 | codes, types (`area-edge`, `shape`, `core`, `aggregation`, `diversity`, "
        "`complexity`), `all` or `default`; at patch level the default is every patch metric |\n"
        "| `--neighbours 4\\|8` | 8 | the patch rule (landscapemetrics' `directions`) |\n"
        "| `--edge-depth N` | 1 | cells from a patch's edge, in steps across cell sides, that are not core |\n"
        "| `--consider-boundary` | off | cells on the map's edge may be core (otherwise the map's edge is edge) |\n"
        "| `--count-boundary` | off | `te` and `ed` also count sides on the map's edge and facing no-data |\n"
        "| `--cell-center` | off | `gyrate` about the patch's cell nearest its centroid |\n"
        "| `--classes-max N` | none | the classes the map could hold, for `rpr` (`NA` without) |\n"
        "| `--base log2\\|log\\|log10` | `log2` | of `ent`, `condent`, `joinent`, `mutinf` (`shdi` is always natural) |\n"
        "| `--convention landscapemetrics\\|fragstats` | `landscapemetrics` | FRAGSTATS 4.2's values where they differ "
        "(below) |\n"
        "\n"
        "The standard 26, measured when `--metrics` is not given: class level " ;
    std::string standardClass, standardLandscape;
    for (const MetricDef& d : metricCatalogue())
        if (d.standard)
            (d.level == MetricLevel::Class ? standardClass : standardLandscape) += " `" + d.code + "`";
    md += standardClass.substr(1) + "; landscape level " + standardLandscape.substr(1) + ".\n";
    for (const MetricLevel level : {MetricLevel::Patch, MetricLevel::Class, MetricLevel::Landscape}) {
        md += std::string("\n## ") + (level == MetricLevel::Patch ? "Patch" : level == MetricLevel::Class ? "Class" : "Landscape") +
              " level\n\n| Code | Name | Type | Unit | Definition | With `--convention fragstats` |\n|---|---|---|---|---|---|\n";
        for (const MetricDef& d : metricCatalogue())
            if (d.level == level)
                md += "| `" + d.code + "` | " + cell(d.name) + " | " + typeName(d.type) + " | " + cell(d.unit) + " | " +
                      cell(d.definition) + " | " + cell(d.fragstats) + " |\n";
    }
    md += "\n## Where FRAGSTATS differs\n\n"
          "`--convention fragstats` gives the values FRAGSTATS 4.2 reports where its documented definitions or its output "
          "differ from landscapemetrics'. Every other metric agrees: the two were checked against each other on FRAGSTATS' "
          "output for landscapemetrics' example map (pland, np, pd, lpi, te, ed with the map's edge not counted, lsi, ai, "
          "pladj, iji, cohesion, mesh, division, split, the diversity indices, frac, contig, enn, the core area metrics at "
          "an edge depth of one cell). Published FRAGSTATS values are rounded to 4 decimals.\n\n";
    md += Sources;
    return md;
}

}  // namespace orvalis
