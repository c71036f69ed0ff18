#include "agenda/DbfFileHandle.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

DbfFileHandle::~DbfFileHandle()
{
    close();
}

DbfFileHandle::DbfFileHandle(DbfFileHandle&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)), m_path(std::move(other.m_path))
{}

DbfFileHandle& DbfFileHandle::operator=(DbfFileHandle&& other) noexcept
{
    if (this != &other) {
        close();
        m_fd = std::exchange(other.m_fd, -1);
        m_path = std::move(other.m_path);
    }
    return *this;
}

DbfStatus DbfFileHandle::open(const std::string& path, bool create, DbfFileHandle& out)
{
    const int flags = O_RDWR | O_CLOEXEC | (create ? O_CREAT | O_TRUNC : 0);
    const int fd = ::open(path.c_str(), flags, 0644);
    if (fd < 0)
        return DbfStatus::fromErrno(errno, path);
    struct stat st {};
    if (::fstat(fd, &st) == 0 && !S_ISREG(st.st_mode)) {
        ::close(fd);
        return DbfStatus::damaged(path + ": not a regular file");
    }
    out.close();
    out.m_fd = fd;
    out.m_path = path;
    return DbfStatus::ok();
}

DbfStatus DbfFileHandle::lockExclusive()
{
    if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0)
        return DbfStatus::ok();
    const int err = errno;
    if (err == EWOULDBLOCK)
        return DbfStatus::inUse(m_path + " is open in another program");
    return DbfStatus::fromErrno(err, m_path);
}

bool DbfFileHandle::samePathInode(const std::string& path) const
{
    struct stat a {
    }, b{};
    return ::fstat(m_fd, &a) == 0 && ::stat(path.c_str(), &b) == 0 && a.st_ino == b.st_ino && a.st_dev == b.st_dev;
}

DbfStatus DbfFileHandle::readAt(uint64_t offset, void* dst, size_t count) const
{
    auto* p = static_cast<char*>(dst);
    while (count > 0) {
        const ssize_t n = ::pread(m_fd, p, count, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return DbfStatus::fromErrno(errno, m_path);
        if (n == 0)
            return DbfStatus::damaged(m_path + ": cut short at " + std::to_string(offset));
        p += n;
        offset += static_cast<uint64_t>(n);
        count -= static_cast<size_t>(n);
    }
    return DbfStatus::ok();
}

DbfStatus DbfFileHandle::writeAt(uint64_t offset, const void* src, size_t count)
{
    const auto* p = static_cast<const char*>(src);
    while (count > 0) {
        const ssize_t n = ::pwrite(m_fd, p, count, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return DbfStatus::fromErrno(n < 0 ? errno : EIO, m_path);
        p += n;
        offset += static_cast<uint64_t>(n);
        count -= static_cast<size_t>(n);
    }
    return DbfStatus::ok();
}

DbfStatus DbfFileHandle::size(uint64_t& out) const
{
    struct stat st {};
    if (::fstat(m_fd, &st) != 0)
        return DbfStatus::fromErrno(errno, m_path);
    out = static_cast<uint64_t>(st.st_size);
    return DbfStatus::ok();
}

DbfStatus DbfFileHandle::truncate(uint64_t size)
{
    if (::ftruncate(m_fd, static_cast<off_t>(size)) != 0)
        return DbfStatus::fromErrno(errno, m_path);
    return DbfStatus::ok();
}

DbfStatus DbfFileHandle::sync()
{
    if (::fsync(m_fd) != 0)
        return DbfStatus::fromErrno(errno, m_path);
    return DbfStatus::ok();
}

void DbfFileHandle::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

DbfStatus DbfFileHandle::syncFolderOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return DbfStatus::fromErrno(errno, folder);
    const int rc = ::fsync(fd);
    const int err = errno;
    ::close(fd);
    return rc == 0 ? DbfStatus::ok() : DbfStatus::fromErrno(err, folder);
}
