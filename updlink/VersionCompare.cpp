#include "updlink/VersionCompare.h"

#include <algorithm>
#include <cctype>

namespace vorlin::updlink {

std::optional<std::vector<unsigned long>> parseVersion(const std::string& text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin])))
        ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1])))
        --end;
    if (begin == end)
        return std::nullopt;
    std::vector<unsigned long> parts;
    unsigned long part = 0;
    bool digits = false;
    for (std::size_t i = begin; i <= end; ++i) {
        if (i == end || text[i] == '.') {
            if (!digits || parts.size() >= 8)
                return std::nullopt;
            parts.push_back(part);
            part = 0;
            digits = false;
        } else if (std::isdigit(static_cast<unsigned char>(text[i])) && part < 100000000ul) {
            part = part * 10 + static_cast<unsigned long>(text[i] - '0');
            digits = true;
        } else {
            return std::nullopt;
        }
    }
    return parts;
}

bool isNewer(const std::vector<unsigned long>& offered, const std::vector<unsigned long>& installed)
{
    const std::size_t n = std::max(offered.size(), installed.size());
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned long a = i < offered.size() ? offered[i] : 0;
        const unsigned long b = i < installed.size() ? installed[i] : 0;
        if (a != b)
            return a > b;
    }
    return false;
}

std::string firstLine(const std::string& text)
{
    const std::size_t end = text.find_first_of("\r\n");
    std::string line = end == std::string::npos ? text : text.substr(0, end);
    if (line.size() >= 3 && line.compare(0, 3, "\xEF\xBB\xBF") == 0)
        line.erase(0, 3);  // a byte-order mark
    return line;
}

}  // namespace vorlin::updlink
