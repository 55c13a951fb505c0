#include "core/io/NumberText.h"

#include <charconv>

namespace orvalis {

std::string shortestText(double value)
{
    char text[64];
    const auto r = std::to_chars(text, text + sizeof text, value);
    return std::string(text, r.ptr);
}

}  // namespace orvalis
