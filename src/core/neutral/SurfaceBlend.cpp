#include "core/neutral/SurfaceBlend.h"

#include "core/io/NumberText.h"
#include "core/neutral/ModelSurfaces.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace orvalis {

namespace {

bool single(const SurfaceBlend& b)
{
    return b.parts.size() == 1 && b.parts.front().weight == 1.0;
}

}  // namespace

std::string SurfaceBlend::text() const
{
    if (single(*this))
        return parts.front().choice.text();
    std::string text;
    for (const Part& p : parts)
        text += (text.empty() ? "" : "+") + shortestText(p.weight) + "*" + p.choice.text();
    return text;
}

std::string SurfaceBlend::checkSize(int rows, int cols) const
{
    for (const Part& p : parts)
        if (std::string why = checkModelSize(p.choice, rows, cols); !why.empty())
            return why;
    return {};
}

double SurfaceBlend::bytesPerCell() const
{
    double most = 0.0;
    for (const Part& p : parts)
        most = std::max(most, p.choice.model->bytesPerCell);
    // A blend also holds the sum while each part is built.
    return single(*this) ? most : most + 8.0;
}

bool SurfaceBlend::build(int rows, int cols, ReplicateRandom& random, Surface& out, std::string* error) const
{
    if (single(*this))
        return buildSurface(parts.front().choice, rows, cols, random, out, error);
    out.assign(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols), 0.0);
    Surface part;
    for (const Part& p : parts) {
        if (!buildSurface(p.choice, rows, cols, random, part, error))
            return false;
        rescale01(part);
        for (std::size_t i = 0; i < out.size(); ++i)
            out[i] += part[i] * p.weight;
    }
    for (double& v : out)
        v /= static_cast<double>(parts.size());
    rescale01(out);
    return true;
}

bool SurfaceBlend::buildTiles(int rows, int cols, ReplicateRandom& random, std::vector<ValueTile>& out) const
{
    if (!single(*this) || !parts.front().choice.model->tiles)
        return false;
    return parts.front().choice.model->tiles(parts.front().choice, rows, cols, random, out);
}

std::optional<SurfaceBlend> SurfaceBlend::parse(const std::string& text, std::string* error)
{
    SurfaceBlend blend;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t plus = std::min(text.find('+', start), text.size());
        std::string term = text.substr(start, plus - start);
        Part part;
        if (const std::size_t star = term.find('*'); star != std::string::npos) {
            const char* begin = term.data();
            const auto r = std::from_chars(begin, begin + star, part.weight);
            if (star == 0 || r.ec != std::errc() || r.ptr != begin + star || !std::isfinite(part.weight)) {
                if (error)
                    *error = "'" + term + "': a blend's term is WEIGHT*MODEL, the weight a number";
                return std::nullopt;
            }
            term = term.substr(star + 1);
        }
        std::optional<ModelChoice> choice = parseModelChoice(term, error);
        if (!choice)
            return std::nullopt;
        part.choice = std::move(*choice);
        blend.parts.push_back(std::move(part));
        start = plus + 1;
    }
    return blend;
}

}  // namespace orvalis
