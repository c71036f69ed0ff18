#include "online/HttpClient.h"

#include <algorithm>

namespace {

bool sameWithoutCase(std::string_view a, std::string_view b)
{
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

} // namespace

std::string HttpAnswer::field(std::string_view name) const
{
    for (const auto& [fieldName, value] : fields) {
        if (!sameWithoutCase(fieldName, name))
            continue;
        size_t from = 0, to = value.size();
        while (from < to && (value[from] == ' ' || value[from] == '\t'))
            ++from;
        while (to > from &&
               (value[to - 1] == ' ' || value[to - 1] == '\t' || value[to - 1] == '\r' || value[to - 1] == '\n'))
            --to;
        return value.substr(from, to - from);
    }
    return {};
}
