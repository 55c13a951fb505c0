#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orvalis {

// The land-cover classes a map's habitat is made of, as the user lists them: whole numbers
// and ranges separated by commas, e.g. "41-43" or "11, 41-43, 90".
class HabitatClasses {
public:
    // More classes than this in one list is a typing slip, not a classification.
    static constexpr std::int64_t MaxClasses = 1000000;

    // Replaces the classes with those of text; false, keeping nothing, with a message that
    // says what is wrong and how a list is written.
    bool parse(const std::string& text, std::string* error);

    bool contains(std::int64_t value) const;
    // Position of value among values(), or -1 when it is not a habitat class.
    std::int64_t indexOf(std::int64_t value) const;

    // Every class, ascending, once.
    const std::vector<std::int64_t>& values() const { return values_; }
    // The classes listed on their own rather than inside a range, ascending: one of them that
    // the map does not hold is most likely a mistake worth a warning.
    const std::vector<std::int64_t>& listedSingly() const { return singly_; }
    bool empty() const { return values_.empty(); }
    std::size_t size() const { return values_.size(); }

    // How a list is written, for messages and help texts.
    static const char* syntax();

private:
    std::vector<std::int64_t> values_;
    std::vector<std::int64_t> singly_;
};

}  // namespace orvalis
