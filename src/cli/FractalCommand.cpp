#include "cli/Commands.h"

#include <cstdio>

int runFractalCommand(int, char**)
{
    std::fprintf(stderr, "orvalis-cli: this command is not available yet\n");
    return 1;
}
