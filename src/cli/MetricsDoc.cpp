// Prints docs/METRICS.md as the metric table gives it; scripts/metrics-doc.sh writes it in place.
#include "core/metrics/MetricDocs.h"

#include <cstdio>

int main()
{
    const std::string md = orvalis::metricsMarkdown();
    std::fwrite(md.data(), 1, md.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
