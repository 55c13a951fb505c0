#include "cli/Commands.h"

#include <cstdio>

int runSampleCommand(int, char**)
{
    std::fprintf(stderr, "orvalis-cli: this command is not available yet\n");
    return 1;
}
