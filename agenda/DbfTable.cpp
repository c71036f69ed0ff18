#include "agenda/DbfTable.h"

#include "agenda/DbfLayout.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>

namespace {

constexpr int kLockAttempts = 5;
constexpr size_t kHeaderStampBytes = 32; // version to the language driver id: what a write changes

} // namespace

std::string DbfTable::memoPathFor(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.find_last_of('.');
    const bool hasExt = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    const std::string base = hasExt ? path.substr(0, dot) : path;
    const bool upper = hasExt && path.size() > dot + 1 && path[dot + 1] == 'D';
    return base + (upper ? ".DBT" : ".dbt");
}

DbfStatus DbfTable::open(const std::string& path, std::unique_ptr<DbfTable>& out)
{
    std::unique_ptr<DbfTable> t(new DbfTable);
    t->m_path = path;
    // The lock follows the inode: a table replaced by a pack between our open and our lock would
    // leave us holding the old file, so open again until the locked file is the one at the path.
    for (int attempt = 0;; ++attempt) {
        if (DbfStatus s = DbfFileHandle::open(path, false, t->m_file); !s.isOk())
            return s;
        if (DbfStatus s = t->m_file.lockExclusive(); !s.isOk())
            return s;
        if (t->m_file.samePathInode(path))
            break;
        if (attempt + 1 == kLockAttempts)
            return DbfStatus::inUse(path + " keeps being replaced");
    }
    uint64_t size = 0;
    if (DbfStatus s = t->m_file.size(size); !s.isOk())
        return s;
    if (size > (1ull << 31))
        return DbfStatus::damaged(path + ": too large for a table");
    std::vector<uint8_t> fixed(std::min<uint64_t>(size, dbf::kHeaderSize));
    if (DbfStatus s = t->m_file.readAt(0, fixed.data(), fixed.size()); !s.isOk())
        return s;
    size_t headerLength = 0;
    if (DbfStatus s = DbfHeader::headerLength(fixed.data(), fixed.size(), headerLength); !s.isOk())
        return DbfStatus::damaged(path + ": " + s.reason());
    if (headerLength > size)
        return DbfStatus::damaged(path + ": table header cut short");
    std::vector<uint8_t> all(static_cast<size_t>(size));
    if (DbfStatus s = t->m_file.readAt(0, all.data(), all.size()); !s.isOk())
        return s;
    if (DbfStatus s = DbfHeader::decode(all.data(), all.size(), t->m_header); !s.isOk())
        return DbfStatus::damaged(path + ": " + s.reason());
    const size_t rowLength = t->m_header.rowLength();
    const size_t body = all.size() - headerLength;
    t->m_rowCount = static_cast<int32_t>(body / rowLength);
    const size_t tail = body - static_cast<size_t>(t->m_rowCount) * rowLength;
    t->m_tailClean = tail == 0 || (tail == 1 && all.back() == dbf::kEndOfFile);
    t->m_rows.assign(all.begin() + static_cast<std::ptrdiff_t>(headerLength),
                     all.begin() + static_cast<std::ptrdiff_t>(headerLength + t->m_rowCount * rowLength));
    if (t->m_header.hasMemo()) {
        const std::string memoPath = memoPathFor(path);
        if (DbfStatus s = DbtMemoFile::open(memoPath, t->m_memo); !s.isOk())
            return s.kind() == DbfStatus::Kind::Missing ? DbfStatus::damaged(memoPath + ": memo file missing") : s;
    }
    out = std::move(t);
    return DbfStatus::ok();
}

DbfStatus DbfTable::create(const std::string& path, const std::vector<DbfField>& fields)
{
    DbfHeader header;
    if (DbfStatus s = DbfHeader::make(fields, header); !s.isOk())
        return s;
    auto place = [](const std::string& final, auto&& write) -> DbfStatus {
        const std::string temp = final + ".new";
        if (DbfStatus s = write(temp); !s.isOk()) {
            std::remove(temp.c_str());
            return s;
        }
        if (std::rename(temp.c_str(), final.c_str()) != 0) {
            const int err = errno;
            std::remove(temp.c_str());
            return DbfStatus::fromErrno(err, final);
        }
        return DbfFileHandle::syncFolderOf(final);
    };
    if (header.hasMemo())
        if (DbfStatus s = place(memoPathFor(path), [](const std::string& p) { return DbtMemoFile::create(p); });
            !s.isOk())
            return s;
    return place(path, [&header](const std::string& p) {
        DbfFileHandle f;
        if (DbfStatus s = DbfFileHandle::open(p, true, f); !s.isOk())
            return s;
        std::vector<uint8_t> bytes = header.bytes();
        bytes.push_back(dbf::kEndOfFile);
        if (DbfStatus s = f.writeAt(0, bytes.data(), bytes.size()); !s.isOk())
            return s;
        return f.sync();
    });
}

uint64_t DbfTable::rowOffset(int32_t row) const
{
    return m_header.headerLength() + static_cast<uint64_t>(row - 1) * m_header.rowLength();
}

bool DbfTable::isDeleted(int32_t row) const
{
    return row >= 1 && row <= m_rowCount &&
           m_rows[static_cast<size_t>(row - 1) * m_header.rowLength()] == dbf::kDeleted;
}

DbfRecord DbfTable::record(int32_t row) const
{
    return DbfRecord(m_header, m_rows.data() + static_cast<size_t>(row - 1) * m_header.rowLength());
}

DbfRecord DbfTable::blankRecord() const
{
    std::vector<uint8_t> bytes(m_header.rowLength(), ' ');
    DbfRecord r(m_header, bytes.data());
    for (size_t i = 0; i < m_header.fields().size(); ++i)
        if (m_header.fields()[i].type == 'I')
            r.setInteger(static_cast<int>(i), std::nullopt);
    return r;
}

DbfStatus DbfTable::readMemo(const DbfRecord& record, int field, std::string& text) const
{
    text.clear();
    const std::optional<uint32_t> block = record.memoBlock(field);
    if (!block)
        return DbfStatus::damaged("memo pointer is not a number");
    if (*block == 0)
        return DbfStatus::ok();
    if (!m_memo.isOpen())
        return DbfStatus::damaged("no memo file");
    return m_memo.read(*block, text);
}

DbfStatus DbfTable::writeMemos(DbfRecord& record)
{
    for (auto& [field, text] : record.pendingMemos()) {
        uint32_t block = 0;
        if (!text.empty())
            if (DbfStatus s = m_memo.append(text, block); !s.isOk())
                return s;
        record.setMemoBlock(field, block);
    }
    record.pendingMemos().clear();
    return DbfStatus::ok();
}

DbfStatus DbfTable::writeHeaderStamp(uint32_t rowCount)
{
    m_header.stampForWrite(rowCount);
    return m_file.writeAt(0, m_header.bytes().data(), kHeaderStampBytes);
}

DbfStatus DbfTable::append(DbfRecord& record, int32_t& row)
{
    if (m_rowCount == INT32_MAX - 1)
        return DbfStatus::invalid("table full");
    if (DbfStatus s = writeMemos(record); !s.isOk())
        return s;
    record.setDeleted(false);
    std::vector<uint8_t> bytes = record.bytes();
    bytes.push_back(dbf::kEndOfFile);
    const int32_t newRow = m_rowCount + 1;
    if (DbfStatus s = m_file.writeAt(rowOffset(newRow), bytes.data(), bytes.size()); !s.isOk())
        return s;
    if (DbfStatus s = writeHeaderStamp(static_cast<uint32_t>(newRow)); !s.isOk())
        return s;
    if (DbfStatus s = m_file.sync(); !s.isOk())
        return s;
    m_rows.insert(m_rows.end(), record.bytes().begin(), record.bytes().end());
    m_rowCount = newRow;
    m_tailClean = true;
    row = newRow;
    return DbfStatus::ok();
}

DbfStatus DbfTable::post(int32_t row, DbfRecord& record)
{
    if (row < 1 || row > m_rowCount)
        return DbfStatus::invalid("no row " + std::to_string(row));
    if (DbfStatus s = writeMemos(record); !s.isOk())
        return s;
    if (DbfStatus s = m_file.writeAt(rowOffset(row), record.bytes().data(), record.bytes().size()); !s.isOk())
        return s;
    if (DbfStatus s = writeHeaderStamp(static_cast<uint32_t>(m_rowCount)); !s.isOk())
        return s;
    if (DbfStatus s = m_file.sync(); !s.isOk())
        return s;
    std::copy(record.bytes().begin(), record.bytes().end(),
              m_rows.begin() + static_cast<std::ptrdiff_t>(static_cast<size_t>(row - 1) * m_header.rowLength()));
    return DbfStatus::ok();
}

DbfStatus DbfTable::markDeleted(int32_t row)
{
    if (row < 1 || row > m_rowCount)
        return DbfStatus::invalid("no row " + std::to_string(row));
    const uint8_t flag = dbf::kDeleted;
    if (DbfStatus s = m_file.writeAt(rowOffset(row), &flag, 1); !s.isOk())
        return s;
    if (DbfStatus s = writeHeaderStamp(static_cast<uint32_t>(m_rowCount)); !s.isOk())
        return s;
    if (DbfStatus s = m_file.sync(); !s.isOk())
        return s;
    m_rows[static_cast<size_t>(row - 1) * m_header.rowLength()] = dbf::kDeleted;
    return DbfStatus::ok();
}

bool DbfTable::needsPack() const
{
    if (!m_tailClean || m_header.storedRowCount() != static_cast<uint32_t>(m_rowCount))
        return true;
    for (int32_t row = 1; row <= m_rowCount; ++row)
        if (isDeleted(row))
            return true;
    return false;
}

DbfStatus DbfTable::pack()
{
    const size_t rowLength = m_header.rowLength();
    std::vector<uint8_t> kept;
    kept.reserve(m_rows.size());
    int32_t live = 0;
    for (int32_t row = 1; row <= m_rowCount; ++row) {
        if (isDeleted(row))
            continue;
        const auto begin = m_rows.begin() + static_cast<std::ptrdiff_t>(static_cast<size_t>(row - 1) * rowLength);
        kept.insert(kept.end(), begin, begin + static_cast<std::ptrdiff_t>(rowLength));
        ++live;
    }
    DbfHeader header = m_header;
    header.stampForWrite(static_cast<uint32_t>(live));
    std::vector<uint8_t> bytes = header.bytes();
    bytes.insert(bytes.end(), kept.begin(), kept.end());
    bytes.push_back(dbf::kEndOfFile);

    // The new file is locked before it takes the table's name, so no one can slip in between.
    const std::string temp = m_path + ".pack";
    DbfFileHandle f;
    DbfStatus s = DbfFileHandle::open(temp, true, f);
    if (s.isOk())
        s = f.lockExclusive();
    if (s.isOk())
        s = f.writeAt(0, bytes.data(), bytes.size());
    if (s.isOk())
        s = f.sync();
    if (s.isOk() && std::rename(temp.c_str(), m_path.c_str()) != 0)
        s = DbfStatus::fromErrno(errno, m_path);
    if (!s.isOk()) {
        std::remove(temp.c_str());
        return s;
    }
    m_file = std::move(f);
    m_header = std::move(header);
    m_rows = std::move(kept);
    m_rowCount = live;
    m_tailClean = true;
    return DbfFileHandle::syncFolderOf(m_path);
}
