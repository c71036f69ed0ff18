// Arbitrary bytes as an ad store: the first byte gives how many offsets lead the input ("AVI.pk"),
// the rest is "AVI.dat"; the table is fixed. Every ad number reads without leaving its buffers, a
// failed read changes nothing, and a good one holds at most 9999 characters of text.
#include "ads/aviso.h"
#include "builder/HuffmanTableBuilder.h"

#include <algorithm>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::vector<uint8_t> table = [] {
        SymbolCounts counts{};
        countSymbols(counts, "Ferreteria\x01Envios a domicilio\x01Tel. 4555-1234\x01");
        for (int c = 1; c < 256; ++c)
            counts[c] += 1;
        const auto t = buildHuffmanTable(counts);
        return std::vector<uint8_t>(t.begin(), t.end());
    }();
    if (size == 0)
        return 0;
    const size_t pkSize = std::min<size_t>(4u * data[0] + data[0] % 4, size - 1);
    const std::vector<uint8_t> pk(data + 1, data + 1 + pkSize);
    const std::vector<uint8_t> dat(data + 1 + pkSize, data + size);
    const SourceOpener opener = [&](const std::string& path) -> std::unique_ptr<ByteSource> {
        if (path == "AVI.pk")
            return std::make_unique<MemoryByteSource>(pk);
        if (path == "AVI.hfm")
            return std::make_unique<MemoryByteSource>(table);
        return std::make_unique<MemoryByteSource>(dat);
    };
    aviso store("AVI.dat", "AVI.pk", 512, opener);
    if (!store.LoadCodeTable("AVI.hfm", opener) || store.adCount() != static_cast<int32_t>(pkSize / 4))
        std::abort();
    for (int32_t n = -1; n <= store.adCount() + 1; ++n) {
        const int32_t kind = store.kind(), reference = store.reference(), image = store.imageNumber();
        const std::vector<std::string> lines = store.lines();
        const int32_t length = store.EntryLength(n);
        if (!store.Read(n)) {
            if (store.kind() != kind || store.reference() != reference || store.imageNumber() != image ||
                store.lines() != lines)
                std::abort();
            continue;
        }
        if (length < 5 || n < 1 || n > store.adCount())
            std::abort();
        size_t total = 0;
        for (const std::string& line : store.lines())
            total += line.size() + 1;
        if (total > 10000)
            std::abort();
    }
    return 0;
}
