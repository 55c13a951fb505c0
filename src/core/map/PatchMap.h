#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orvalis {

// Where the patch map of a landscape file goes in folder: NAME_patches.tif, NAME the file's
// name without its extension.
std::string patchMapPath(const std::string& folder, const std::string& file);

// Writes rows x cols patch ids (row after row, 0 outside the landscape) as a GeoTIFF at path,
// in source's frame and coordinate system when source is a raster that has them.
bool writePatchMap(const std::string& source, const std::string& path, int rows, int cols,
                   const std::vector<std::int32_t>& ids, std::string* error);

}  // namespace orvalis
