// ProfileFolder: the folder that holds the user's agenda table. USERPROFILE when set, else HOME,
// else the temporary folder (TMP, TMPDIR, /tmp); the answer ends with "/". Pure over an injected
// environment; any thread.
#pragma once

#include "platform/EnvLookup.h"

#include <string>

class ProfileFolder {
public:
    [[nodiscard]] static std::string find(const EnvLookup& env = systemEnvironment);
};
