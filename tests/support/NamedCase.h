#pragma once

#include <ostream>
#include <string>

namespace orvalis::test {

// Base of a parameterised test's case: its name names the test and is what a failure prints.
struct NamedCase {
    const char* name;
};

inline std::ostream& operator<<(std::ostream& os, const NamedCase& c)
{
    return os << c.name;
}

// For INSTANTIATE_TEST_SUITE_P: each test is called after its case.
struct CaseName {
    template <typename Info>
    std::string operator()(const Info& info) const
    {
        return info.param.name;
    }
};

}  // namespace orvalis::test
