// Arbitrary bytes as a coded-lines file, decoded with a fixed table: every line stays within its
// buffer and 255 characters, the reading loop ends, and the lines re-coded by the writer read back
// the same.
#include "builder/CodedLinesWriter.h"
#include "builder/HuffmanTableBuilder.h"
#include "engine/hfile.h"

#include <cstdlib>
#include <cstring>

namespace {

std::vector<uint8_t> fixedTable()
{
    SymbolCounts counts{};
    countSymbols(counts, CodedLinesWriter::officialBodiesLine("MINISTERIO DE ECONOMIA", "PROVINCI", "4349-5000"));
    countSymbols(counts, CodedLinesWriter::officialBodiesLine("Direccion de Rentas", "INDT", "(0221) 429-4400"));
    for (int c = 1; c < 256; ++c)
        counts[c] += 1; // every byte codable, the rare ones with long codes
    const auto table = buildHuffmanTable(counts);
    return {table.begin(), table.end()};
}

SourceOpener openerFor(const uint8_t* data, size_t size, const std::vector<uint8_t>& table)
{
    return [=, &table](const std::string& path) -> std::unique_ptr<ByteSource> {
        if (path == "t.hfm")
            return std::make_unique<MemoryByteSource>(table);
        return std::make_unique<MemoryByteSource>(std::vector<uint8_t>(data, data + size));
    };
}

std::vector<std::string> readAll(hfile& f, size_t inputSize)
{
    std::vector<std::string> lines;
    size_t reads = 0;
    char buffer[hfile::kLineCapacity];
    while (!f.IsEof()) {
        std::memset(buffer, 'x', sizeof buffer);
        const int32_t n = f.ReadLine(buffer);
        if (n < 0 || n > 255 || buffer[n] != 0 || std::strlen(buffer) != static_cast<size_t>(n))
            std::abort();
        if (++reads > inputSize + 1)
            std::abort(); // every read takes at least its length byte
        if (!f.IsEof())
            lines.emplace_back(buffer, static_cast<size_t>(n));
    }
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::vector<uint8_t> table = fixedTable();
    hfile f;
    if (!f.OpenCoded("d.dat", "t.hfm", openerFor(data, size, table)))
        std::abort();
    const std::vector<std::string> lines = readAll(f, size);

    huffman codes;
    codes.loadBytes(table.data(), table.size());
    std::vector<uint8_t> recoded;
    if (!CodedLinesWriter::encodeLines(codes, lines, recoded))
        return 0; // a decoded line whose own code with its terminator passes 255 bytes
    if (!f.OpenCoded("d.dat", "t.hfm", openerFor(recoded.data(), recoded.size(), table)))
        std::abort();
    if (readAll(f, recoded.size()) != lines)
        std::abort();
    return 0;
}
