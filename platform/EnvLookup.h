// The environment as the platform services see it: a lookup by variable name, so tests can hand
// in their own variables. A variable set to an empty value counts as not set. Any thread, as long
// as nothing changes the process environment meanwhile.
#pragma once

#include <cstdlib>
#include <functional>
#include <optional>
#include <string>

using EnvLookup = std::function<std::optional<std::string>(const std::string& name)>;

// The process environment.
[[nodiscard]] inline std::optional<std::string> systemEnvironment(const std::string& name)
{
    const char* value = std::getenv(name.c_str());
    if (value == nullptr || *value == '\0')
        return std::nullopt;
    return std::string(value);
}
