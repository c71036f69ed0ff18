// SingleInstance: the lock that keeps a second copy of the program from running. It is an
// exclusive flock on a file named after the window caption (and the user id) in the user's
// runtime folder, so the system drops it when the process ends, however it ends: a crash leaves
// no stale lock. The descriptor is closed on exec, so a program started from here (a browser, a
// help viewer) never keeps the lock alive. Held from acquire() until the object is destroyed; the
// main window keeps it to the end of the process. Main thread.
#pragma once

#include "platform/EnvLookup.h"

#include <string>

class SingleInstance {
public:
    enum class Result {
        Acquired,      // this copy holds the lock
        HeldElsewhere, // another copy holds it: this one must end
        Unavailable,   // the lock file cannot be used; the copy runs unguarded rather than not at all
    };

    // folder: where the lock file lives; empty means runtimeFolder().
    explicit SingleInstance(std::string caption, std::string folder = {});
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // Takes the lock if it is free. Calling it again while holding the lock answers Acquired.
    Result acquire();
    [[nodiscard]] bool held() const { return m_fd >= 0; }
    [[nodiscard]] const std::string& lockPath() const { return m_path; }

    // XDG_RUNTIME_DIR, else /tmp.
    [[nodiscard]] static std::string runtimeFolder(const EnvLookup& env = systemEnvironment);
    // A file name made from the caption: letters, digits, blanks, '-', '_' and '.' are kept, other
    // bytes become "%XX"; a long caption is cut and marked with a hash of the whole caption, so
    // different captions give different names. The user id keeps users of a shared /tmp apart.
    [[nodiscard]] static std::string lockFileName(const std::string& caption, unsigned uid);

private:
    std::string m_path;
    int m_fd = -1;
};
