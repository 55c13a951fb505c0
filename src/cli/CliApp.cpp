#include "cli/CliApp.h"

#include "cli/CliSupport.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#ifndef ORVALIS_VERSION
#error "ORVALIS_VERSION must be the project's version (see src/cli/CMakeLists.txt)"
#endif

namespace orvalis::cli {

namespace {

// Bad arguments to a command: the reason, where to read more, and the status for bad arguments.
int usageFailure(const std::string& command, const std::string& message)
{
    std::fprintf(stderr, "orvalis-cli %s: %s\n", command.c_str(), message.c_str());
    std::fprintf(stderr, "Try 'orvalis-cli %s --help'.\n", command.c_str());
    return 2;
}

}  // namespace

void setUpApp(CLI::App& app)
{
    app.formatter(std::make_shared<HelpFormatter>());
    // A repeated option counts with its last value.
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app.require_subcommand(1);
    addHelpFlag(app);
    app.set_version_flag("--version", "orvalis-cli " ORVALIS_VERSION, "show the program's version");
    app.footer("'orvalis-cli COMMAND --help' describes each command's options.");
}

int parseCommandLine(CLI::App& app, int argc, char** argv)
{
    if (argc < 2) {
        std::fputs(app.help().c_str(), stderr);
        return 2;
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        // The help of the command asked about, or the program's.
        std::fputs(app.help().c_str(), stdout);
        return 0;
    } catch (const CLI::CallForVersion& e) {
        std::printf("%s\n", e.what());
        return 0;
    } catch (const CLI::ParseError& e) {
        const std::vector<CLI::App*> commands = app.get_subcommands();
        if (!commands.empty()) {
            const std::vector<std::string> extra = commands.front()->remaining();
            // CLI11 lists the unexpected arguments last first; the first one is the mistake to name.
            if (dynamic_cast<const CLI::ExtrasError*>(&e) && !extra.empty())
                return usageFailure(commands.front()->get_name(), "unexpected argument '" + extra.front() + "'");
            return usageFailure(commands.front()->get_name(), e.what());
        }
        const std::vector<std::string> unknown = app.remaining();
        const std::string message = unknown.empty() ? e.what() : "unknown command '" + unknown.front() + "'";
        std::fprintf(stderr, "orvalis-cli: %s\n", message.c_str());
        std::fputs(app.help().c_str(), stderr);
        return 2;
    }
    return -1;
}

}  // namespace orvalis::cli
