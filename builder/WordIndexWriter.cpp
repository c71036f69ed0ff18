#include "builder/WordIndexWriter.h"

#include "builder/HuffmanTableBuilder.h"
#include "builder/OutputFile.h"
#include "engine/Bytes.h"
#include "engine/WordFold.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kRecordBits = 24;
constexpr int kKeyShift = 25;
constexpr uint64_t kRecordMask = (1u << kRecordBits) - 1;
constexpr uint8_t kGroupEnd = 0xFF;
constexpr int kMaxRun = 62;
constexpr uint8_t kRunBase = 0xC0;
constexpr size_t kCodedCapacity = 64; // 11 characters and the terminator, 32 bits each at most
constexpr int kMaxLevels = 100;
constexpr uint32_t kMaxChildOffset = 0xFFFFFF;
constexpr size_t kMaxEntries = 255;

uint32_t hashKey(std::string_view key)
{
    uint32_t h = 2166136261u;
    for (char c : key)
        h = (h ^ static_cast<uint8_t>(c)) * 16777619u;
    return h;
}

// One group: runs for consecutive numbers (one byte for up to 62), absolute numbers otherwise.
void putGroup(std::vector<uint8_t>& out, const uint64_t* begin, const uint64_t* end)
{
    uint32_t previous = 0;
    for (const uint64_t* p = begin; p != end;) {
        const auto r = static_cast<uint32_t>(*p & kRecordMask);
        if (r == previous + 1) {
            int n = 1;
            while (n < kMaxRun && p + n != end &&
                   static_cast<uint32_t>(p[n] & kRecordMask) == r + static_cast<uint32_t>(n))
                ++n;
            out.push_back(static_cast<uint8_t>(kRunBase | n));
            previous = r + static_cast<uint32_t>(n) - 1;
            p += n;
        } else {
            bytes::putBe24(out, r);
            previous = r;
            ++p;
        }
    }
    out.push_back(kGroupEnd);
}

} // namespace

WordIndexWriter::WordIndexWriter() : m_hash(1024, 0) {}

std::string_view WordIndexWriter::keyAt(uint64_t id) const
{
    const char* slot = &m_keys[id * kSlot];
    return {slot, static_cast<size_t>(static_cast<uint8_t>(slot[kSlot - 1]))};
}

void WordIndexWriter::growHash()
{
    std::vector<uint32_t> bigger(m_hash.size() * 2, 0);
    const size_t mask = bigger.size() - 1;
    for (uint32_t v : m_hash) {
        if (v == 0)
            continue;
        size_t i = hashKey(keyAt(v - 1)) & mask;
        while (bigger[i] != 0)
            i = (i + 1) & mask;
        bigger[i] = v;
    }
    m_hash.swap(bigger);
}

uint64_t WordIndexWriter::internKey(std::string_view key)
{
    const size_t mask = m_hash.size() - 1;
    size_t i = hashKey(key) & mask;
    while (m_hash[i] != 0) {
        if (keyAt(m_hash[i] - 1) == key)
            return m_hash[i] - 1;
        i = (i + 1) & mask;
    }
    const uint64_t id = m_keyCount++;
    m_keys.resize(m_keyCount * kSlot, 0);
    char* slot = &m_keys[id * kSlot];
    std::memcpy(slot, key.data(), key.size());
    slot[kSlot - 1] = static_cast<char>(key.size());
    m_hash[i] = static_cast<uint32_t>(id + 1);
    if (m_keyCount * 2 > m_hash.size())
        growHash();
    return id;
}

bool WordIndexWriter::checkPosting(int area, int32_t record)
{
    if (area != 0 && area != 1) {
        m_error = "area must be 0 or 1";
        return false;
    }
    if (record < 1 || record > kMaxRecord) {
        m_error = "record number " + std::to_string(record) + " outside 1.." + std::to_string(kMaxRecord);
        return false;
    }
    return true;
}

bool WordIndexWriter::addWord(std::string_view word, int area, int32_t record)
{
    if (!checkPosting(area, record))
        return false;
    addKey(wordfold::normaliseKey(word).key, area, record);
    return true;
}

void WordIndexWriter::addKey(std::string_view key, int area, int32_t record)
{
    if (key.empty())
        return;
    const uint64_t id = internKey(key);
    m_postings.push_back((id << kKeyShift) | (static_cast<uint64_t>(area) << kRecordBits) |
                         static_cast<uint64_t>(record));
}

bool WordIndexWriter::addText(int32_t record, int area, std::string_view text)
{
    if (!checkPosting(area, record))
        return false;
    m_scratch.clear();
    wordfold::indexKeys(text, area, m_scratch);
    for (const std::string& k : m_scratch)
        addKey(k, area, record);
    return true;
}

bool WordIndexWriter::addRecordText(int32_t record, std::string_view name, std::string_view address)
{
    return addText(record, 0, name) && addText(record, 1, address);
}

bool WordIndexWriter::finish()
{
    std::sort(m_postings.begin(), m_postings.end());
    m_postings.erase(std::unique(m_postings.begin(), m_postings.end()), m_postings.end());
    m_postings.shrink_to_fit();
    m_hash.clear();
    m_hash.shrink_to_fit();

    if (m_fixedTable) {
        m_table = *m_fixedTable;
    } else {
        SymbolCounts counts{};
        for (size_t k = 0; k < m_keyCount; ++k)
            countSymbols(counts, keyAt(k));
        m_table = buildHuffmanTable(counts);
    }
    huffman table;
    table.loadBytes(m_table.data(), m_table.size());
    return buildTrie(table);
}

bool WordIndexWriter::buildTrie(const huffman& table)
{
    const size_t keyCount = m_keyCount;

    // Coded keys, then the keys in coded order: the trie's leaf order.
    std::vector<uint32_t> codedStart(keyCount + 1, 0);
    std::vector<uint8_t> coded;
    coded.reserve(keyCount * 8);
    for (size_t k = 0; k < keyCount; ++k) {
        const std::string_view key = keyAt(k);
        for (char c : key) {
            if (table.codeLength(static_cast<uint8_t>(c)) == 0) {
                m_error = "the code table has no code for a character of \"" + std::string(key) + "\"";
                return false;
            }
        }
        uint8_t buffer[kCodedCapacity];
        const int32_t bits = table.Encode(buffer, kCodedCapacity, key, 0);
        const size_t n = static_cast<size_t>(bits + 7) / 8;
        if (table.codeLength(0) == 0 || n > static_cast<size_t>(kMaxLevels)) {
            m_error = "the code table cannot code the key \"" + std::string(key) + "\"";
            return false;
        }
        coded.insert(coded.end(), buffer, buffer + n);
        codedStart[k + 1] = static_cast<uint32_t>(coded.size());
    }
    auto codeOf = [&](uint32_t k) {
        return std::basic_string_view<uint8_t>(coded.data() + codedStart[k], codedStart[k + 1] - codedStart[k]);
    };
    std::vector<uint32_t> order(keyCount);
    for (size_t k = 0; k < keyCount; ++k)
        order[k] = static_cast<uint32_t>(k);
    std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) { return codeOf(a) < codeOf(b); });

    // Where each key's postings start (they are sorted by key id, then area, then record).
    std::vector<uint64_t> postingStart(keyCount + 1, m_postings.size());
    for (size_t i = m_postings.size(); i-- > 0;)
        postingStart[m_postings[i] >> kKeyShift] = i;
    for (size_t k = keyCount; k-- > 0;)
        postingStart[k] = std::min(postingStart[k], postingStart[k + 1]);

    // Posting areas. Each starts with one pad byte so that no list sits at relative offset 0,
    // which means "no list"; the pad of area 0 is also the file's first byte, never a list
    // version byte.
    std::vector<uint8_t>& out = m_index;
    out.clear();
    std::vector<uint32_t> listOffset(2 * keyCount, 0);
    uint32_t areaStart[2] = {0, 0};
    for (int area = 0; area < 2; ++area) {
        areaStart[area] = static_cast<uint32_t>(out.size());
        out.push_back(kGroupEnd);
        for (uint32_t k : order) {
            const uint64_t* p = m_postings.data() + postingStart[k];
            const uint64_t* end = m_postings.data() + postingStart[k + 1];
            const uint64_t* split = p;
            while (split != end && ((*split >> kRecordBits) & 1) == 0)
                ++split;
            const uint64_t* from = area == 0 ? p : split;
            const uint64_t* to = area == 0 ? split : end;
            if (from == to)
                continue;
            const uint64_t offset = out.size() - areaStart[area];
            if (offset > UINT32_MAX) {
                m_error = "posting area larger than 4 GiB";
                return false;
            }
            listOffset[2 * k + static_cast<size_t>(area)] = static_cast<uint32_t>(offset);
            putGroup(out, from, to);
        }
    }
    m_postings.clear();
    m_postings.shrink_to_fit();

    // Levels, written one after the other. A node is a range of keys (in coded order) sharing
    // their first d bytes; its entries are the distinct bytes at position d.
    struct Range {
        uint32_t lo;
        uint32_t hi;
    };
    auto byteAt = [&](uint32_t i, size_t d) { return coded[codedStart[order[i]] + d]; };
    auto lengthAt = [&](uint32_t i) { return codedStart[order[i] + 1] - codedStart[order[i]]; };
    // The end of the entry group starting at j in a node of depth d.
    auto groupEnd = [&](uint32_t j, uint32_t hi, size_t d) {
        const uint8_t b = byteAt(j, d);
        uint32_t k = j + 1;
        while (k < hi && byteAt(k, d) == b)
            ++k;
        return k;
    };
    // Entries and bytes of the node covering [lo, hi) at depth d.
    auto nodeShape = [&](Range r, size_t d, size_t& entries) {
        uint32_t size = 0;
        entries = 0;
        for (uint32_t j = r.lo; j < r.hi;) {
            const uint32_t k = groupEnd(j, r.hi, d);
            size += (k - j == 1 && lengthAt(j) == d + 1) ? 10 : 5;
            ++entries;
            j = k;
        }
        return size;
    };

    std::vector<uint32_t> levelStart;
    size_t rootEntries = 0;
    std::vector<Range> nodes;
    if (keyCount > 0) {
        nodes.push_back({0, static_cast<uint32_t>(keyCount)});
        nodeShape(nodes[0], 0, rootEntries);
        if (rootEntries > kMaxEntries) {
            m_error = "the root node needs more than 255 entries";
            return false;
        }
    }
    for (size_t d = 0; !nodes.empty(); ++d) {
        if (d >= static_cast<size_t>(kMaxLevels)) {
            m_error = "coded keys longer than 100 bytes";
            return false;
        }
        levelStart.push_back(static_cast<uint32_t>(out.size()));
        std::vector<Range> next;
        uint64_t nextSize = 0;
        for (const Range& node : nodes) {
            for (uint32_t j = node.lo; j < node.hi;) {
                const uint32_t k = groupEnd(j, node.hi, d);
                out.push_back(byteAt(j, d));
                if (k - j == 1 && lengthAt(j) == d + 1) {
                    out.push_back(0);
                    bytes::putLe32(out, listOffset[2 * order[j]]);
                    bytes::putLe32(out, listOffset[2 * order[j] + 1]);
                } else {
                    const Range child{j, k};
                    size_t entries = 0;
                    const uint32_t size = nodeShape(child, d + 1, entries);
                    if (entries > kMaxEntries) {
                        m_error = "a trie node needs more than 255 entries";
                        return false;
                    }
                    if (nextSize > kMaxChildOffset) {
                        m_error = "a trie level too large for 24-bit child offsets";
                        return false;
                    }
                    out.push_back(static_cast<uint8_t>(entries));
                    bytes::putLe24(out, static_cast<uint32_t>(nextSize));
                    nextSize += size;
                    next.push_back(child);
                }
                j = k;
            }
        }
        nodes.swap(next);
    }
    if (out.size() > UINT32_MAX - 512) {
        m_error = "index larger than 4 GiB";
        return false;
    }

    bytes::putLe32(out, areaStart[0]);
    bytes::putLe32(out, areaStart[1]);
    for (uint32_t l : levelStart)
        bytes::putLe32(out, l);
    out.push_back(static_cast<uint8_t>(rootEntries));
    out.push_back(static_cast<uint8_t>(levelStart.size()));
    out.push_back(0xFF);
    return true;
}

bool WordIndexWriter::writeFiles(const std::string& indexPath, const std::string& tablePath) const
{
    const std::vector<uint8_t> table(m_table.begin(), m_table.end());
    return writeFile(indexPath, m_index) && writeFile(tablePath, table);
}
