#include "cli/Modules.h"
#include "plots/ComparePlots.h"

namespace orvalis {

// The charts come from the charts module, so that Qt is loaded only when a comparison is drawn.
PlotsResult drawComparePlots(const std::filesystem::path& folder, const std::function<bool()>& keepGoing)
{
    using Entry = void (*)(const std::filesystem::path&, const std::function<bool()>&, PlotsResult&);
    std::string error;
    PlotsResult result;
    if (auto entry = reinterpret_cast<Entry>(cli::moduleSymbol(cli::ChartsModule, "orvalis_draw_compare_plots", error))) {
        entry(folder, keepGoing, result);
        return result;
    }
    PlotsResult missing;
    missing.ok = false;
    missing.message = "chart drawing is not installed: " + error;
    return missing;
}

}  // namespace orvalis
