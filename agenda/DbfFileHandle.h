// DbfFileHandle: one open file descriptor with positioned reads and writes that finish or fail,
// a durable sync, and the exclusive lock that keeps a second process off the table. Owns the
// descriptor (closed, and the lock released, on destruction). One thread at a time.
#pragma once

#include "agenda/DbfStatus.h"

#include <cstdint>
#include <string>

class DbfFileHandle {
public:
    DbfFileHandle() = default;
    ~DbfFileHandle();
    DbfFileHandle(DbfFileHandle&& other) noexcept;
    DbfFileHandle& operator=(DbfFileHandle&& other) noexcept;
    DbfFileHandle(const DbfFileHandle&) = delete;
    DbfFileHandle& operator=(const DbfFileHandle&) = delete;

    // Read-write; `create` makes a new file (truncating one that is there).
    static DbfStatus open(const std::string& path, bool create, DbfFileHandle& out);
    // An exclusive lock on the open file description (flock): refused, not waited for, when another
    // holder has it. The lock follows the file's inode, so a caller that opened a path that was then
    // replaced must check `samePathInode`.
    DbfStatus lockExclusive();
    [[nodiscard]] bool samePathInode(const std::string& path) const;

    DbfStatus readAt(uint64_t offset, void* dst, size_t count) const;
    DbfStatus writeAt(uint64_t offset, const void* src, size_t count);
    DbfStatus size(uint64_t& out) const;
    DbfStatus truncate(uint64_t size);
    DbfStatus sync();
    void close();
    [[nodiscard]] bool isOpen() const { return m_fd >= 0; }
    [[nodiscard]] const std::string& path() const { return m_path; }

    // Makes a rename or a new file in the folder durable.
    static DbfStatus syncFolderOf(const std::string& path);

private:
    int m_fd = -1;
    std::string m_path;
};
