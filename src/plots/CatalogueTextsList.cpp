// Prints src/gui/translations/catalogue-texts.cpp, the tables' texts for lupdate; scripts/update-translations.sh writes it in place.
#include "plots/CatalogueTexts.h"

#include <cstdio>

int main()
{
    const std::string source = orvalis::catalogue::lupdateSource();
    std::fwrite(source.data(), 1, source.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
