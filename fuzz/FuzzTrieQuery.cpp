// Arbitrary bytes as a word-index trie read with a fixed code table: levels, child offsets, level
// counts and posting groups may all be nonsense. Lookups and answers must stay inside the file and
// end.
#include "builder/HuffmanTableBuilder.h"
#include "engine/Indice.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

// Letters, digits and the full stop, with the skew of real words; seeds made with the same counts
// hold tries that this table reads.
const std::vector<uint8_t>& tableBytes()
{
    static const std::vector<uint8_t> bytes = [] {
        SymbolCounts counts{};
        countSymbols(counts, "MARTINEZ GARCIA RODRIGUEZ SAN MARTIN RIVADAVIA BELGRANO CONSTRUCTORA");
        for (unsigned char c : std::string("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.\xD1"))
            ++counts[c];
        const auto table = buildHuffmanTable(counts);
        return std::vector<uint8_t>(table.begin(), table.end());
    }();
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 1 << 16)
        return 0;
    const std::vector<uint8_t> bytes(data, data + size);
    // A run byte yields at most 62 numbers: no answer may hold more than that per byte of file.
    const int64_t maxNumbers = 62 * static_cast<int64_t>(size) + 1;
    SourceOpener opener = [&bytes](const std::string& path) -> std::unique_ptr<ByteSource> {
        return std::make_unique<MemoryByteSource>(path == "ixpal.hfm" ? tableBytes() : bytes);
    };
    Indice ix("ixpal.idx", 256, opener);
    if (!ix.LoadCodeTable("ixpal.hfm", opener))
        __builtin_trap();
    for (const char* key : {"M", "MAR", "MARTIN", "MARTIN.", "SAN.", "A", "Z.", "CONSTRUCTORAS", "  garcia", "1",
                            "0123456789ABCDEF", "."}) {
        for (int32_t area = 0; area < 2; ++area) {
            auto q = ix.Query(key, area);
            if (!q)
                continue;
            int64_t n = 0;
            while (ix.QueryNext(*q) != 0)
                if (++n > maxNumbers)
                    __builtin_trap();
            if (ix.QueryNext(*q) != 0)
                __builtin_trap(); // an exhausted answer stays exhausted
            ix.FreeQuery(std::move(q));
        }
    }
    return 0;
}
