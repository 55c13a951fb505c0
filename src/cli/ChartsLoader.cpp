#include "cli/Modules.h"
#include "plots/ComparePlots.h"

namespace orvalis {

// The charts come from the charts module, so that Qt is loaded only when a comparison is drawn.
PlotsResult drawComparePlots(const std::filesystem::path& folder)
{
    using Entry = void (*)(const std::filesystem::path&, PlotsResult&);
    std::string error;
    PlotsResult result;
    if (auto entry = reinterpret_cast<Entry>(cli::moduleSymbol(cli::ChartsModule, "orvalis_draw_compare_plots", error))) {
        entry(folder, result);
        return result;
    }
    return {false, "chart drawing is not installed: " + error, {}};
}

}  // namespace orvalis
