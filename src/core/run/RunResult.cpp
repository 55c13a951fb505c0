#include "core/run/RunResult.h"

namespace orvalis {

std::string runSummary(const RunResult& result, const std::string& noun, std::size_t listed)
{
    std::string text = std::to_string(result.files.size()) + " of " + std::to_string(result.asked) + " " + noun +
                       " written";
    if (result.shortLevels.empty())
        return text;
    text += "; short: ";
    for (std::size_t i = 0; i < result.shortLevels.size() && i < listed; ++i) {
        const LevelShortfall& s = result.shortLevels[i];
        text += (i ? ", " : "") + s.level + " (" + std::to_string(s.written) + " of " + std::to_string(s.asked) + ")";
    }
    if (result.shortLevels.size() > listed)
        text += " and " + std::to_string(result.shortLevels.size() - listed) + " more";
    return text;
}

}  // namespace orvalis
