#include "platform/SingleInstance.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

constexpr size_t kMaxEscaped = 180; // well under the 255-byte limit of a file name

bool keptAsIs(unsigned char c, size_t position)
{
    if (c == '.')
        return position > 0; // never a hidden file, never "." or ".."
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ' || c == '-' ||
           c == '_';
}

uint64_t fnv1a(const std::string& text)
{
    uint64_t h = 1469598103934665603ULL;
    for (const char c : text) {
        h ^= static_cast<unsigned char>(c);
        h *= 1099511628211ULL;
    }
    return h;
}

} // namespace

SingleInstance::SingleInstance(std::string caption, std::string folder)
{
    if (folder.empty())
        folder = runtimeFolder();
    if (folder.back() != '/')
        folder.push_back('/');
    m_path = folder + lockFileName(caption, static_cast<unsigned>(::getuid()));
}

SingleInstance::~SingleInstance()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

SingleInstance::Result SingleInstance::acquire()
{
    if (m_fd >= 0)
        return Result::Acquired;
    // O_NOFOLLOW: in a shared /tmp a planted link must not make us create or lock another file.
    const int fd = ::open(m_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return Result::Unavailable;
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        const bool taken = errno == EWOULDBLOCK;
        ::close(fd);
        return taken ? Result::HeldElsewhere : Result::Unavailable;
    }
    m_fd = fd;
    return Result::Acquired;
}

std::string SingleInstance::runtimeFolder(const EnvLookup& env)
{
    return env("XDG_RUNTIME_DIR").value_or("/tmp");
}

std::string SingleInstance::lockFileName(const std::string& caption, unsigned uid)
{
    std::string escaped;
    for (size_t i = 0; i < caption.size(); ++i) {
        const auto c = static_cast<unsigned char>(caption[i]);
        if (keptAsIs(c, i)) {
            escaped.push_back(static_cast<char>(c));
        } else {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", c);
            escaped += hex;
        }
    }
    if (escaped.size() > kMaxEscaped) {
        char hash[20];
        std::snprintf(hash, sizeof hash, "~%016llx", static_cast<unsigned long long>(fnv1a(caption)));
        escaped.resize(kMaxEscaped);
        escaped += hash;
    }
    return escaped + "." + std::to_string(uid) + ".lock";
}
