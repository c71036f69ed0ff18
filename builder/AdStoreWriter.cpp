#include "builder/AdStoreWriter.h"

#include "builder/HuffmanTableBuilder.h"
#include "builder/OutputFile.h"
#include "engine/Bytes.h"

#include <cstdint>

namespace {

constexpr char kSeparator = '\x01';
constexpr uint64_t kMaxDataSize = INT32_MAX; // the reader takes offsets as signed 32-bit

bool hasImageNumber(int8_t kind)
{
    return kind == 0 || kind == 5;
}

void setError(std::string* error, std::string text)
{
    if (error)
        *error = std::move(text);
}

} // namespace

std::string AdStoreWriter::textOf(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += kSeparator;
    }
    return text;
}

bool AdStoreWriter::add(Ad ad)
{
    if (ad.text.size() > kMaxTextLength || ad.text.find('\0') != std::string::npos)
        return false;
    m_ads.push_back(std::move(ad));
    return true;
}

bool AdStoreWriter::addLines(int8_t kind, int32_t reference, int32_t imageNumber, const std::vector<std::string>& lines)
{
    for (const std::string& line : lines)
        if (line.find(kSeparator) != std::string::npos)
            return false;
    return add({kind, reference, imageNumber, textOf(lines)});
}

bool AdStoreWriter::finish(Files& out, std::string* error) const
{
    SymbolCounts counts{};
    for (const Ad& ad : m_ads)
        countSymbols(counts, ad.text);
    out.table = buildHuffmanTable(counts);
    huffman codes;
    codes.loadBytes(out.table.data(), out.table.size());

    out.data.clear();
    out.offsets.clear();
    for (size_t i = 0; i < m_ads.size(); ++i) {
        const Ad& ad = m_ads[i];
        uint64_t bits = codes.codeLength(0);
        for (char ch : ad.text)
            bits += codes.codeLength(static_cast<uint8_t>(ch));
        const size_t header = hasImageNumber(ad.kind) ? 9 : 5;
        const size_t size = header + static_cast<size_t>((bits + 7) / 8);
        if (size > kMaxEntryBytes) {
            setError(error,
                     "ad " + std::to_string(i + 1) + " codes to " + std::to_string(size) + " bytes, more than 8000");
            return false;
        }
        if (out.data.size() + size > kMaxDataSize) {
            setError(error, "ad " + std::to_string(i + 1) + " does not fit below 2 GiB");
            return false;
        }
        bytes::putLe32(out.offsets, static_cast<uint32_t>(out.data.size()));
        out.data.push_back(static_cast<uint8_t>(ad.kind));
        bytes::putLe32(out.data, static_cast<uint32_t>(ad.reference));
        if (hasImageNumber(ad.kind))
            bytes::putLe32(out.data, static_cast<uint32_t>(ad.imageNumber));
        const size_t at = out.data.size();
        out.data.resize(at + (size - header));
        codes.Encode(out.data.data() + at, static_cast<int32_t>(size - header), ad.text, 0);
    }
    return true;
}

bool AdStoreWriter::save(const std::string& dataPath, const std::string& offsetPath, const std::string& tablePath,
                         std::string* error) const
{
    Files files;
    if (!finish(files, error))
        return false;
    const std::vector<uint8_t> table(files.table.begin(), files.table.end());
    const std::pair<const std::string*, const std::vector<uint8_t>*> outputs[] = {
        {&dataPath, &files.data}, {&offsetPath, &files.offsets}, {&tablePath, &table}};
    for (const auto& [path, content] : outputs) {
        if (!writeFile(*path, *content)) {
            setError(error, "cannot write " + *path);
            return false;
        }
    }
    return true;
}
