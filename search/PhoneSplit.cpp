#include "search/PhoneSplit.h"

#include <charconv>

namespace {

// The value of s when it is all decimal digits and fits; -1 otherwise (the empty text included).
int32_t digitsValue(std::string_view s)
{
    if (s.empty())
        return -1;
    for (char c : s)
        if (c < '0' || c > '9')
            return -1;
    int32_t v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    return ec == std::errc() && end == s.data() + s.size() ? v : -1;
}

} // namespace

PhoneParts SplitPhoneNumber(std::string_view s)
{
    constexpr size_t kLineDigits = 4;
    PhoneParts p;
    const size_t split = s.size() > kLineDigits ? s.size() - kLineDigits : 0;
    p.line = digitsValue(s.substr(split));
    p.prefix = split == 0 ? 0 : digitsValue(s.substr(0, split));
    return p;
}

int32_t lineCriterion(int32_t line)
{
    if (line == 0)
        return 10000;
    return line < 0 ? 0 : line;
}
