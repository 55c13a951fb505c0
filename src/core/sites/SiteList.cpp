#include "core/sites/SiteList.h"

#include "core/map/GdalSupport.h"

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>

namespace orvalis {

namespace {

std::string lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

bool endsWith(const std::string& s, const std::string& tail)
{
    return s.size() >= tail.size() && lower(s.substr(s.size() - tail.size())) == tail;
}

// One CSV record's fields (RFC 4180: quoted fields may hold commas, doubled quotes and line
// breaks); false at the end of the text.
bool nextRecord(std::istream& in, std::vector<std::string>& fields)
{
    fields.clear();
    std::string field;
    bool quoted = false, any = false;
    for (int ch; (ch = in.get()) != EOF;) {
        any = true;
        const char c = static_cast<char>(ch);
        if (quoted) {
            if (c == '"') {
                if (in.peek() == '"') {
                    field += '"';
                    in.get();
                } else {
                    quoted = false;
                }
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.push_back(field);
            field.clear();
        } else if (c == '\n') {
            if (!field.empty() && field.back() == '\r')
                field.pop_back();
            fields.push_back(field);
            return true;
        } else {
            field += c;
        }
    }
    if (!any)
        return false;
    if (!field.empty() && field.back() == '\r')
        field.pop_back();
    fields.push_back(field);
    return true;
}

std::string trimmed(const std::string& s)
{
    const std::size_t from = s.find_first_not_of(" \t");
    const std::size_t to = s.find_last_not_of(" \t");
    return from == std::string::npos ? std::string() : s.substr(from, to - from + 1);
}

std::optional<double> number(const std::string& text)
{
    const std::string t = trimmed(text);
    if (t.empty())
        return std::nullopt;
    char* end = nullptr;
    const double v = std::strtod(t.c_str(), &end);
    if (end != t.c_str() + t.size() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

// The position of the column asked for, or of the first of the usual names; -1 when none.
int column(const std::vector<std::string>& header, const std::string& asked, std::initializer_list<const char*> usual)
{
    for (std::size_t i = 0; i < header.size(); ++i) {
        const std::string name = lower(trimmed(header[i]));
        if (!asked.empty() ? name == lower(asked) : std::any_of(usual.begin(), usual.end(), [&](const char* u) { return name == u; }))
            return static_cast<int>(i);
    }
    return -1;
}

bool fail(SiteListError& error, const std::string& message, bool argument)
{
    error.message = message;
    error.argument = argument;
    return false;
}

// Moves every site with coordinates from one system into another; a site that cannot be moved
// gets a problem.
bool transformSites(const OGRSpatialReference& from, const std::string& mapWkt, std::vector<Site>& sites, SiteListError& error)
{
    OGRSpatialReference to;
    if (mapWkt.empty() || to.importFromWkt(mapWkt.c_str()) != OGRERR_NONE)
        return fail(error, "the map has no coordinate system to move the sites into", false);
    OGRSpatialReference source(from);
    source.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    to.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    if (source.IsSame(&to))
        return true;
    std::unique_ptr<OGRCoordinateTransformation> t(OGRCreateCoordinateTransformation(&source, &to));
    if (!t)
        return fail(error, GdalErrorScope::message("the sites' coordinates cannot be moved into the map's system"), false);
    for (Site& s : sites) {
        if (!s.problem.empty())
            continue;
        double x = s.x, y = s.y;
        if (!t->Transform(1, &x, &y) || !std::isfinite(x) || !std::isfinite(y))
            s.problem = "its coordinates cannot be moved into the map's system";
        s.x = x;
        s.y = y;
    }
    return true;
}

bool readCsv(const std::string& path, const SiteListOptions& o, std::vector<Site>& sites, std::vector<std::string>& warnings,
             SiteListError& error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return fail(error, "cannot open it", false);
    std::vector<std::string> header, fields;
    if (!nextRecord(in, header))
        return fail(error, "it is empty: a header row naming the columns is needed", false);
    if (!header.empty() && header[0].rfind("\xEF\xBB\xBF", 0) == 0)
        header[0].erase(0, 3);  // a spreadsheet's byte-order mark
    const int xc = column(header, o.xField, {"x", "lon", "long", "longitude", "easting"});
    const int yc = column(header, o.yField, {"y", "lat", "latitude", "northing"});
    const int ic = column(header, o.idField, {"id", "site", "name"});
    auto names = [&] {
        std::string list;
        for (const std::string& h : header)
            list += (list.empty() ? "" : ", ") + trimmed(h);
        return list;
    };
    if (xc < 0 || yc < 0)
        return fail(error, "no " + std::string(xc < 0 ? (o.xField.empty() ? "x" : "'" + o.xField + "'") : (o.yField.empty() ? "y" : "'" + o.yField + "'")) +
                               " column (columns: " + names() + "); name them with --x and --y",
                    true);
    if (!o.idField.empty() && ic < 0)
        return fail(error, "no '" + o.idField + "' column (columns: " + names() + ")", true);
    const std::string xName = lower(trimmed(header[static_cast<std::size_t>(xc)]));
    for (std::size_t row = 1; nextRecord(in, fields); ++row) {
        if (fields.size() == 1 && trimmed(fields[0]).empty())
            continue;  // a blank line
        Site s;
        s.id = ic >= 0 && static_cast<std::size_t>(ic) < fields.size() ? trimmed(fields[static_cast<std::size_t>(ic)])
                                                                          : std::to_string(row);
        const auto x = static_cast<std::size_t>(xc) < fields.size() ? number(fields[static_cast<std::size_t>(xc)]) : std::nullopt;
        const auto y = static_cast<std::size_t>(yc) < fields.size() ? number(fields[static_cast<std::size_t>(yc)]) : std::nullopt;
        if (!x || !y)
            s.problem = "row " + std::to_string(row + 1) + " has no number for x or y";
        else {
            s.x = *x;
            s.y = *y;
        }
        sites.push_back(std::move(s));
    }
    if (!o.sitesCrs.empty()) {
        OGRSpatialReference from;
        if (from.SetFromUserInput(o.sitesCrs.c_str()) != OGRERR_NONE)
            return fail(error, "--sites-crs '" + o.sitesCrs + "' is no coordinate system GDAL knows (e.g. EPSG:4326)", true);
        return transformSites(from, o.mapWkt, sites, error);
    }
    if ((xName == "lon" || xName == "long" || xName == "longitude") && !o.mapWkt.empty()) {
        OGRSpatialReference map;
        if (map.importFromWkt(o.mapWkt.c_str()) == OGRERR_NONE && map.IsProjected())
            warnings.push_back("the column '" + xName + "' is read in the map's coordinate system; if it holds degrees, "
                               "give --sites-crs EPSG:4326");
    }
    return true;
}

bool readLayer(const std::string& path, const SiteListOptions& o, std::vector<Site>& sites, std::vector<std::string>& warnings,
               SiteListError& error)
{
    GdalErrorScope errors;
    GDALDatasetUniquePtr ds(GDALDataset::Open(path.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY | GDAL_OF_VERBOSE_ERROR));
    if (!ds)
        return fail(error, GdalErrorScope::message("GDAL cannot read it as a vector layer"), false);
    if (ds->GetLayerCount() < 1)
        return fail(error, "it holds no layer", false);
    if (ds->GetLayerCount() > 1)
        warnings.push_back("it holds " + std::to_string(ds->GetLayerCount()) + " layers; the first, '" +
                           std::string(ds->GetLayer(0)->GetName()) + "', is read");
    OGRLayer* layer = ds->GetLayer(0);
    OGRFeatureDefn* defn = layer->GetLayerDefn();
    int idField = -1;
    if (!o.idField.empty()) {
        idField = defn->GetFieldIndex(o.idField.c_str());
        if (idField < 0)
            return fail(error, "the layer has no field '" + o.idField + "'", true);
    } else {
        for (const char* name : {"id", "site", "name"})
            if ((idField = defn->GetFieldIndex(name)) >= 0)
                break;
    }
    if (!o.xField.empty() || !o.yField.empty())
        warnings.push_back("--x and --y are for CSV files; the layer's point geometries are read");
    layer->ResetReading();
    std::size_t row = 0;
    for (auto& feature : *layer) {
        ++row;
        Site s;
        s.id = idField >= 0 ? feature->GetFieldAsString(idField) : std::to_string(row);
        const OGRGeometry* g = feature->GetGeometryRef();
        const OGRPoint* p = nullptr;
        if (g && wkbFlatten(g->getGeometryType()) == wkbPoint)
            p = g->toPoint();
        else if (g && wkbFlatten(g->getGeometryType()) == wkbMultiPoint && g->toMultiPoint()->getNumGeometries() == 1)
            p = g->toMultiPoint()->getGeometryRef(0);
        if (!p || p->IsEmpty())
            s.problem = "feature " + std::to_string(row) + " is not a point";
        else {
            s.x = p->getX();
            s.y = p->getY();
        }
        sites.push_back(std::move(s));
    }
    if (const OGRSpatialReference* srs = layer->GetSpatialRef())
        return transformSites(*srs, o.mapWkt, sites, error);
    if (!o.sitesCrs.empty()) {
        OGRSpatialReference from;
        if (from.SetFromUserInput(o.sitesCrs.c_str()) != OGRERR_NONE)
            return fail(error, "--sites-crs '" + o.sitesCrs + "' is no coordinate system GDAL knows (e.g. EPSG:4326)", true);
        return transformSites(from, o.mapWkt, sites, error);
    }
    warnings.push_back("the layer has no coordinate system; its points are read in the map's");
    return true;
}

}  // namespace

bool readSiteList(const std::string& path, const SiteListOptions& options, std::vector<Site>& sites,
                  std::vector<std::string>& warnings, SiteListError& error)
{
    sites.clear();
    if (const std::string why = specialFileRefusal(path); !why.empty())
        return fail(error, why, false);
    registerGdal();
    const bool ok = endsWith(path, ".csv") ? readCsv(path, options, sites, warnings, error)
                                           : readLayer(path, options, sites, warnings, error);
    if (ok && sites.empty())
        return fail(error, "it names no site", false);
    return ok;
}

}  // namespace orvalis
