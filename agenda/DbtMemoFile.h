// DbtMemoFile: the memo file beside a table (".dbt", dBase IV style blocks, layout in DbfLayout.h).
// Reads memos of any block size, with or without the block signature; writes every memo at the
// end of the file, so a text already posted is never overwritten and a crash mid-write leaves
// only an unreferenced tail. Owned by its DbfTable; one thread at a time.
#pragma once

#include "agenda/DbfFileHandle.h"
#include "agenda/DbfStatus.h"

#include <cstdint>
#include <string>
#include <string_view>

class DbtMemoFile {
public:
    static constexpr uint32_t kMaxMemoBytes = 16u << 20;

    static DbfStatus open(const std::string& path, DbtMemoFile& out);
    // A new, empty memo file (header block only), synced.
    static DbfStatus create(const std::string& path, uint32_t blockSize = 512);

    // The text of the memo starting at `block` (0 is no memo: empty text).
    DbfStatus read(uint32_t block, std::string& text) const;
    // Writes a memo after every block in use and returns its first block; synced when `sync`.
    DbfStatus append(std::string_view text, uint32_t& block, bool sync = true);

    [[nodiscard]] uint32_t blockSize() const { return m_blockSize; }
    [[nodiscard]] bool isOpen() const { return m_file.isOpen(); }
    void close() { m_file.close(); }

private:
    DbfFileHandle m_file;
    uint32_t m_blockSize = 512;
    uint64_t m_size = 0; // no one else writes the file while the table is open (exclusive)
};
