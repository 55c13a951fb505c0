#pragma once

#include "core/neutral/NeutralModels.h"

#include <optional>
#include <string>
#include <vector>

namespace orvalis {

// One model, or several blended as NLMpy's blendArray does: each surface rescaled to [0, 1],
// weighted, summed and rescaled. A single model of weight 1 is its own surface, unchanged.
struct SurfaceBlend {
    struct Part {
        double weight = 1.0;
        ModelChoice choice;
    };
    std::vector<Part> parts;

    // The choice's text for one model of weight 1; "0.5*fbm:h=0.8+0.5*planar" for a blend.
    std::string text() const;
    // Why rows x cols landscapes cannot be made: the first part's reason (checkModelSize).
    std::string checkSize(int rows, int cols) const;
    // Bytes a build holds per cell at its peak.
    double bytesPerCell() const;
    // The parts' surfaces, drawn one after the other from random.
    bool build(int rows, int cols, ReplicateRandom& random, Surface& out, std::string* error = nullptr) const;
    // The surface as tiles, drawn as build draws it, for one model of weight 1 made of rectangles;
    // false, nothing drawn, for any other.
    bool buildTiles(int rows, int cols, ReplicateRandom& random, std::vector<ValueTile>& out) const;

    // "MODEL" or "W*MODEL+W*MODEL..." (a weight of 1 may be left out); nullopt with *error set.
    static std::optional<SurfaceBlend> parse(const std::string& text, std::string* error = nullptr);
};

}  // namespace orvalis
