#include "plots/ComparePlots.h"

// orvalis-charts.so: the comparison's charts for orvalis-cli, which loads Qt only through it.
extern "C" void orvalis_draw_compare_plots(const std::filesystem::path& folder, const std::function<bool()>& keepGoing,
                                           orvalis::PlotsResult& result)
{
    result = orvalis::drawComparePlots(folder, keepGoing);
}
