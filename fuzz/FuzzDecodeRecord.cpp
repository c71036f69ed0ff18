// Arbitrary bytes as one stored record, decoded with a real table: no read past the record, no
// write past the text buffer.
#include "builder/HuffmanTableBuilder.h"
#include "engine/registro.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {
const huffman& table()
{
    static const huffman h = [] {
        SymbolCounts counts{};
        countSymbols(counts, "GARCIA JUAN\x01"
                             "AV. SAN MARTIN 1234\x01"
                             "WWW.EJEMPLO.COM.AR\x01info@ejemplo.com");
        for (int c = 1; c < 256; c += 3)
            ++counts[static_cast<size_t>(c)];
        return makeHuffman(counts);
    }();
    return h;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Copy into an exactly sized heap block so ASan sees any read past the record.
    std::vector<uint8_t> record(data, data + std::min<size_t>(size, 512));
    registro r;
    r.DecodeRecord(record.data(), static_cast<int32_t>(record.size()), table());
    if (r.name.size() + r.address.size() + r.web.size() + r.mail.size() > 512)
        __builtin_trap();
    (void)r.DisplayPhone();
    return 0;
}
