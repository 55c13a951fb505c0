// Prints docs/MODELS.md as the neutral models' table gives it.
#include "core/neutral/NeutralModels.h"

#include <cstdio>

int main()
{
    const std::string md = orvalis::modelsMarkdown();
    std::fwrite(md.data(), 1, md.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
