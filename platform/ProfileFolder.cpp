#include "platform/ProfileFolder.h"

std::string ProfileFolder::find(const EnvLookup& env)
{
    // HOME comes before the temporary folder: USERPROFILE is rarely set here, and falling back to
    // TMP alone would leave the agenda in "/" whenever TMP is unset too, or in a folder that is
    // emptied at every boot.
    for (const char* name : {"USERPROFILE", "HOME", "TMP", "TMPDIR"}) {
        if (std::optional<std::string> value = env(name)) {
            std::string folder = std::move(*value);
            if (folder.back() != '/')
                folder.push_back('/');
            return folder;
        }
    }
    return "/tmp/";
}
