// SplitPhoneNumber: the telephone field of the search panel split into the two telephone criteria.
// Pure function, any thread.
#pragma once

#include <cstdint>
#include <string_view>

struct PhoneParts {
    int32_t prefix = 0; // the digits before the last four; 0 when there are none
    int32_t line = -1;  // the last four digits (all of them when fewer); -1 when they are not a number
};

// s: the digits typed. A part holding anything but digits, or too long for 32 bits, is not a number
// and reads as -1: no line criterion for the line, a key that no index holds for the prefix.
[[nodiscard]] PhoneParts SplitPhoneNumber(std::string_view s);

// What the Search button asks for: line 0 (0000) becomes 10000, the index's key for it, and a line
// that is not a number becomes 0 (no line criterion).
[[nodiscard]] int32_t lineCriterion(int32_t line);
