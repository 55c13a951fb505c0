#include "cli/Commands.h"
#include "cli/SurfaceCommand.h"

namespace orvalis::cli {

CLI::App* addSurfaceCommand(CLI::App& app, SurfaceOptions& o)
{
    CLI::App* cmd = app.add_subcommand("surface", "Moving-window metrics over a whole map, as a GeoTIFF.");
    addHelpFlag(*cmd);
    cmd->add_option("MAP", o.map, "the land-cover map")->required();
    return cmd;
}

int runSurfaceCommand(const SurfaceOptions&)
{
    std::fprintf(stderr, "orvalis-cli surface: not built yet\n");
    return 1;
}

}  // namespace orvalis::cli
