#include "cli/Commands.h"

namespace orvalis::cli {

CLI::App* addSitesCommand(CLI::App& app, SitesOptions& o)
{
    CLI::App* cmd = app.add_subcommand("sites", "Metrics of the landscape around field sites, at several radii.");
    addHelpFlag(*cmd);
    cmd->add_option("MAP", o.map, "the land-cover map")->required();
    return cmd;
}

int runSitesCommand(const SitesOptions&)
{
    std::fprintf(stderr, "orvalis-cli sites: not built yet\n");
    return 1;
}

}  // namespace orvalis::cli
