#include "plots/CsvReader.h"

#include <algorithm>

namespace orvalis {

bool CsvReader::next(std::vector<std::string>& fields)
{
    fields.clear();
    std::string line;
    if (!std::getline(in_, line))
        return false;
    ++records_;
    std::string field;
    bool quoted = false;
    std::size_t i = 0;
    for (;;) {
        if (i == line.size()) {
            if (quoted && std::getline(in_, line)) {
                // A line break inside quotes belongs to the field; "\r\n" reads as "\n".
                if (!field.empty() && field.back() == '\r')
                    field.back() = '\n';
                else
                    field += '\n';
                i = 0;
                continue;
            }
            break;
        }
        const char c = line[i++];
        if (quoted) {
            if (c != '"')
                field += c;
            else if (i < line.size() && line[i] == '"')
                field += line[i++];
            else
                quoted = false;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.push_back(std::move(field));
            field.clear();
        } else {
            field += c;
        }
    }
    if (!quoted && !field.empty() && field.back() == '\r')
        field.pop_back();
    fields.push_back(std::move(field));
    return true;
}

std::vector<int> csvColumns(const std::vector<std::string>& header, const std::vector<std::string>& names,
                            std::string* missing)
{
    std::vector<int> columns;
    for (const std::string& name : names) {
        const auto at = std::find(header.begin(), header.end(), name);
        columns.push_back(at == header.end() ? -1 : static_cast<int>(at - header.begin()));
        if (at == header.end() && missing && missing->empty())
            *missing = name;
    }
    return columns;
}

}  // namespace orvalis
