#include "settings/Config.h"

namespace orvalis {

ConfigResult readConfig(const std::string&, Settings&)
{
    return {false, "not implemented"};
}

ConfigResult writeConfig(const std::string&, const Settings&)
{
    return {false, "not implemented"};
}

}  // namespace orvalis
