#include "engine/Indice.h"

#include "engine/Bytes.h"
#include "engine/WordFold.h"

#include <algorithm>
#include <new>

namespace {
constexpr int kTrieTrailerFixed = 11; // X0, X1, R, D, type
constexpr uint32_t kInnerEntrySize = 5;
constexpr uint32_t kLeafEntrySize = 10;
constexpr uint8_t kGroupEnd = 0xFF;
constexpr uint8_t kFirstRun = 0xC1;
} // namespace

Indice::Indice(std::string path, int32_t blockSize, SourceOpener opener) : Archivo(std::move(path), blockSize, opener)
{
    if (!IsOpen() || Size() == 0)
        return; // no key space, no trie, and the list reader stays without a file
    uint8_t t = 0;
    if (ReadAt(&t, 1, Size() - 1) != 1)
        return;
    m_type = static_cast<int8_t>(t);
    if (m_type == kTrieType)
        loadTrie();
    else
        loadListIndex();
    m_lists.OpenLists(this->path(), opener);
}

Indice::~Indice()
{
    m_lists.CloseLists();
}

void Indice::loadListIndex()
{
    if (m_type < 0)
        return;
    m_spaces = m_type == 0 ? 1 : std::min<int>(m_type, kMaxKeySpaces);
    const int64_t size = Size();
    int64_t position = size - 1;
    for (int i = 0; i < m_spaces; ++i) {
        position -= 8;
        KeySpace& ks = m_keySpaces[static_cast<size_t>(i)];
        uint8_t pair[8];
        if (position < 0 || ReadAt(pair, 8, static_cast<uint32_t>(position)) != 8)
            break; // a trailer cut short: this key space and the ones after it hold no key
        const auto offset = static_cast<int32_t>(bytes::le32(pair));
        const auto keys = static_cast<int32_t>(bytes::le32(pair + 4));
        ks.tableOffset = offset;
        // A table that does not lie inside the file is not loaded: the key space holds no key.
        if (keys <= 0 || offset < 0 || static_cast<int64_t>(offset) + 4 * static_cast<int64_t>(keys) > size)
            continue;
        std::unique_ptr<int32_t[]> table(new (std::nothrow) int32_t[static_cast<size_t>(keys)]);
        if (!table)
            continue;
        std::vector<uint8_t> chunk(static_cast<size_t>(std::min<int64_t>(keys, 1 << 16)) * 4);
        bool ok = true;
        for (int32_t k = 0; k < keys && ok;) {
            const int32_t n = std::min<int32_t>(keys - k, static_cast<int32_t>(chunk.size() / 4));
            const uint32_t from = static_cast<uint32_t>(offset) + 4u * static_cast<uint32_t>(k);
            ok = ReadAt(chunk.data(), 4 * n, from) == 4 * n;
            for (int32_t j = 0; ok && j < n; ++j)
                table[static_cast<size_t>(k + j)] =
                    static_cast<int32_t>(bytes::le32(&chunk[4 * static_cast<size_t>(j)]));
            k += n;
        }
        if (!ok)
            continue;
        ks.keys = keys;
        ks.table = std::move(table);
    }
}

void Indice::loadTrie()
{
    const int64_t size = Size();
    if (size < kTrieTrailerFixed)
        return;
    uint8_t tail[3];
    if (ReadAt(tail, 3, static_cast<uint32_t>(size - 3)) != 3)
        return;
    const int levels = tail[1];
    if (levels > kMaxLevels || size < kTrieTrailerFixed + 4 * static_cast<int64_t>(levels))
        return;
    const int64_t start = size - kTrieTrailerFixed - 4 * static_cast<int64_t>(levels);
    std::vector<uint8_t> trailer(8 + 4 * static_cast<size_t>(levels));
    if (ReadAt(trailer.data(), static_cast<int32_t>(trailer.size()), static_cast<uint32_t>(start)) !=
        static_cast<int32_t>(trailer.size()))
        return;
    m_area[0] = bytes::le32(&trailer[0]);
    m_area[1] = bytes::le32(&trailer[4]);
    for (int d = 0; d < levels; ++d)
        m_level[static_cast<size_t>(d)] = bytes::le32(&trailer[8 + 4 * static_cast<size_t>(d)]);
    m_rootEntries = tail[0];
    m_levels = levels;
    m_trieValid = true;
}

int32_t Indice::keyCount(int32_t keySpace) const
{
    if (keySpace < 0 || keySpace >= m_spaces)
        return 0;
    return m_keySpaces[static_cast<size_t>(keySpace)].keys;
}

bool Indice::SeekList(int32_t key, int32_t keySpace)
{
    // A list left unfinished would otherwise go on feeding the caller the old key's numbers, even
    // after a seek that fails (the caller reads the list of a failed seek as empty).
    m_lists.Abandon();
    if (m_type < 1 || keySpace < 0 || keySpace >= m_type || keySpace >= m_spaces)
        return false;
    const KeySpace& ks = m_keySpaces[static_cast<size_t>(keySpace)];
    if (key == ks.keys)
        key = 0; // the key one past the table lives in entry 0
    if (key < 0 || key >= ks.keys)
        return false;
    (void)m_lists.Position(ks.table[static_cast<size_t>(key)]);
    return true;
}

int32_t Indice::nextOf(int32_t keySpace)
{
    if (m_type < 1 || keySpace < 0 || keySpace >= m_type)
        return 0;
    const int32_t r = m_lists.NextInList();
    return r > 0 ? r : 0;
}

int32_t Indice::ListFirst(int32_t keySpace)
{
    return nextOf(keySpace);
}

int32_t Indice::ListNext(int32_t keySpace)
{
    return nextOf(keySpace);
}

bool Indice::LoadCodeTable(const std::string& path, const SourceOpener& opener)
{
    return m_table.LoadTable(path, opener);
}

uint32_t Indice::readEntry(uint64_t pos, Entry& e)
{
    if (pos >= Size())
        return 0;
    uint8_t b[kLeafEntrySize];
    const int32_t got = ReadAt(b, kLeafEntrySize, static_cast<uint32_t>(pos));
    if (got < static_cast<int32_t>(kInnerEntrySize))
        return 0;
    e.key = b[0];
    e.children = b[1];
    if (e.children > 0) {
        e.child = bytes::le24(b + 2);
        return kInnerEntrySize;
    }
    if (got < static_cast<int32_t>(kLeafEntrySize))
        return 0;
    e.list[0] = bytes::le32(b + 2);
    e.list[1] = bytes::le32(b + 6);
    return kLeafEntrySize;
}

int32_t Indice::CountMatches(int level, uint32_t base, int count, uint8_t value, uint8_t mask, int area,
                             uint32_t& first, int64_t& budget)
{
    if (count <= 0)
        return 0;
    if (level >= m_levels) {
        budget = -1; // deeper than the trie claims to be
        return 0;
    }
    int32_t result = 0;
    uint64_t pos = static_cast<uint64_t>(m_level[static_cast<size_t>(level)]) + base;
    for (int i = 0; i < count; ++i) {
        if (--budget < 0)
            return result;
        Entry e;
        const uint32_t n = readEntry(pos, e);
        if (n == 0) {
            budget = -1; // a node running off the end of the file
            return result;
        }
        pos += n;
        if ((value & mask) < (e.key & mask))
            break;
        if ((value & mask) != (e.key & mask))
            continue;
        if (e.children > 0) {
            result += CountMatches(level + 1, e.child, e.children, 0, 0, area, first, budget);
            if (budget < 0)
                return result;
        } else if (e.list[area] != 0) {
            ++result;
            if (first == 0)
                first = e.list[area];
        }
    }
    return result;
}

std::unique_ptr<IxQuery> Indice::Query(std::string_view key, int32_t area)
{
    if (m_type != kTrieType || !m_trieValid || area < 0 || area > 1)
        return nullptr;
    const wordfold::SearchKey sk = wordfold::normaliseKey(key);
    uint8_t coded[kCodeBufferSize] = {};
    const int32_t bits = m_table.Encode(coded, kCodeBufferSize, sk.key, sk.wholeWord ? 0 : huffman::kNoTerminator);
    // A key that codes to nothing (no table, or no codable character) would match every word.
    if (bits <= 0)
        return nullptr;
    const int32_t whole = bits / 8;
    const int partial = bits % 8;
    const auto mask = static_cast<uint8_t>(partial ? (0xFF << (8 - partial)) & 0xFF : 0);

    int level = 0;
    uint32_t base = 0;
    int count = m_rootEntries;
    bool leaf = false;
    uint32_t lists[2] = {0, 0};
    for (int32_t i = 0; i < whole; ++i) {
        if (level >= m_levels || count == 0)
            return nullptr;
        uint64_t pos = static_cast<uint64_t>(m_level[static_cast<size_t>(level)]) + base;
        Entry e;
        bool found = false;
        for (int k = 0; k < count; ++k) {
            const uint32_t n = readEntry(pos, e);
            if (n == 0)
                return nullptr;
            pos += n;
            if (e.key >= coded[i]) {
                found = e.key == coded[i];
                break;
            }
        }
        if (!found)
            return nullptr;
        ++level;
        count = e.children;
        leaf = e.children == 0;
        if (leaf) {
            base = e.list[0];
            lists[0] = e.list[0];
            lists[1] = e.list[1];
        } else {
            base = e.child;
        }
    }

    auto q = std::unique_ptr<IxQuery>(new IxQuery());
    q->m_key = sk.key;
    q->m_area = area;
    uint32_t first = 0;
    if (!leaf) {
        int64_t budget = Size() / kInnerEntrySize + 1;
        const int32_t groups = CountMatches(level, base, count, static_cast<uint8_t>(partial ? coded[whole] & mask : 0),
                                            mask, area, first, budget);
        q->m_groups = budget < 0 ? 0 : groups; // a damaged subtree answers nothing
    } else {
        first = lists[area];
        q->m_groups = first != 0 ? 1 : 0;
    }
    const uint64_t position = static_cast<uint64_t>(m_area[area]) + first;
    if (q->m_groups == 0 || position >= Size()) {
        q->m_groups = 0;
        q->m_position = Size();
    } else {
        q->m_position = static_cast<uint32_t>(position);
    }
    return q;
}

int32_t Indice::QueryNext(IxQuery& q)
{
    auto finish = [&q]() {
        q.m_group = q.m_groups;
        q.m_runRemaining = 0;
        q.m_current = 0;
        return 0;
    };
    while (q.m_group < q.m_groups) {
        if (q.m_runRemaining > 0) {
            if (q.m_current == INT32_MAX)
                return finish();
            ++q.m_current;
            --q.m_runRemaining;
            return q.m_current;
        }
        uint8_t b[3];
        const int32_t got = ReadAt(b, 3, q.m_position);
        if (got < 1)
            return finish(); // a group that never closes ends with the file
        if (b[0] == kGroupEnd) {
            ++q.m_group;
            ++q.m_position;
            q.m_current = 0;
            continue;
        }
        if (b[0] >= kFirstRun) {
            if (q.m_current == INT32_MAX)
                return finish();
            q.m_runRemaining = (b[0] & 0x3F) - 1;
            ++q.m_position;
            ++q.m_current;
            return q.m_current;
        }
        if (got < 3)
            return finish();
        const auto value = static_cast<int32_t>(bytes::be24(b));
        // Numbers ascend within a group; a number that does not belongs to a damaged group.
        if (value <= q.m_current)
            return finish();
        q.m_current = value;
        q.m_position += 3;
        q.m_runRemaining = 0;
        return q.m_current;
    }
    return q.m_current;
}

void Indice::FreeQuery(std::unique_ptr<IxQuery> q)
{
    q.reset();
}
