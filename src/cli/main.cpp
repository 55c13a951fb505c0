#include "cli/Commands.h"

#include <cstdio>
#include <cstring>

namespace {

void usage(std::FILE* out)
{
    std::fprintf(out,
                 "usage: orvalis-cli COMMAND [OPTIONS]\n"
                 "\n"
                 "Commands:\n"
                 "  sample   cut windows at whole-percentage habitat levels from a TGA image\n"
                 "  random   write a series of random landscapes\n"
                 "  fractal  write a series of fractal (midpoint-displacement) landscapes\n"
                 "\n"
                 "'orvalis-cli COMMAND --help' describes each command's options.\n");
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        usage(stderr);
        return 2;
    }
    const char* command = argv[1];
    if (std::strcmp(command, "--help") == 0 || std::strcmp(command, "-h") == 0) {
        usage(stdout);
        return 0;
    }
    if (std::strcmp(command, "sample") == 0)
        return runSampleCommand(argc - 2, argv + 2);
    if (std::strcmp(command, "random") == 0)
        return runRandomCommand(argc - 2, argv + 2);
    if (std::strcmp(command, "fractal") == 0)
        return runFractalCommand(argc - 2, argv + 2);
    std::fprintf(stderr, "orvalis-cli: unknown command '%s'\n", command);
    usage(stderr);
    return 2;
}
