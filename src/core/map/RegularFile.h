#pragma once

#include <string>

namespace orvalis {

// "not a regular file" for a FIFO, a device or a socket, which a reader would wait on for ever;
// that the links loop for a symbolic link that leads back to itself;
// empty for a regular file, a folder (some formats are folders) or a path that is not on disk
// (GDAL's /vsi... names). Asks the file system only, so the TGA reader's callers need no GDAL.
std::string nonRegularFileRefusal(const std::string& path);

// Lets every VRT be read, whatever its sources (the command line's --allow-vrt-sources).
void allowVrtSources(bool allow);
bool vrtSourcesAllowed();

}  // namespace orvalis
