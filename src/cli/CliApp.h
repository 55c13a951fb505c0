#pragma once

#include <CLI/CLI.hpp>

// The program's App, set up alike by orvalis-cli's quick start and by the GDAL module that runs
// every command, so that help, version and errors read the same whichever runs them.
namespace orvalis::cli {

// Title, help flag, --version, the "Commands" group's footer and one command required.
void setUpApp(CLI::App& app);

// Parses argv into app. -1 when the chosen command is to run; otherwise the exit status of what
// was done instead: 0 after help or version, 2 after reporting bad arguments.
int parseCommandLine(CLI::App& app, int argc, char** argv);

}  // namespace orvalis::cli
