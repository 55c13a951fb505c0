#pragma once

#include <string>

// orvalis-cli starts with the engines that need neither GDAL nor Qt; what reads maps and what
// draws charts are modules loaded the first time they are needed, so that a run that needs
// neither never pays for loading those libraries.
namespace orvalis::cli {

// The core's files that call GDAL (`orvalis_gdal_api`, see GdalApi.h).
inline constexpr const char* GdalModule = "orvalis-gdal.so";
// The charts of a comparison, drawn with Qt Charts (`orvalis_draw_compare_plots`).
inline constexpr const char* ChartsModule = "orvalis-charts.so";

// The address of symbol in module, found beside the running program (the build tree) or in the
// installed modules' folder relative to it; loaded once. Null with the reason in error when the
// module is missing or does not load.
void* moduleSymbol(const char* module, const char* symbol, std::string& error);

}  // namespace orvalis::cli
