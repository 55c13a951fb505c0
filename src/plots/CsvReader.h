#pragma once

#include <istream>
#include <string>
#include <vector>

namespace orvalis {

// Reads a CSV table record by record, so that a table of millions of rows never sits in memory:
// fields quoted or not, "" inside quotes, line breaks inside quotes, "\n" or "\r\n" line ends.
class CsvReader {
public:
    explicit CsvReader(std::istream& in) : in_(in) {}

    // The next record's fields; false at the end of the input. An empty line is a record of one
    // empty field.
    bool next(std::vector<std::string>& fields);
    // Records read so far, the header included: the line number of the last one when no
    // field holds a line break.
    long long records() const { return records_; }

private:
    std::istream& in_;
    long long records_ = 0;
};

// The index of each named column in a header, -1 for a missing one; *missing names the first absent.
std::vector<int> csvColumns(const std::vector<std::string>& header, const std::vector<std::string>& names,
                            std::string* missing);

}  // namespace orvalis
