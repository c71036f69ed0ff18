#include "builder/CodedLinesWriter.h"

#include "builder/HuffmanTableBuilder.h"
#include "builder/OutputFile.h"

namespace {

// The exact stream size of text and its terminator, or -1 when a character has no code.
int64_t codedBits(const huffman& table, std::string_view text)
{
    int64_t bits = table.codeLength(0);
    for (char ch : text) {
        const int n = table.codeLength(static_cast<uint8_t>(ch));
        if (n == 0)
            return -1;
        bits += n;
    }
    return table.codeLength(0) == 0 ? -1 : bits;
}

void setError(std::string* error, std::string text)
{
    if (error)
        *error = std::move(text);
}

} // namespace

bool CodedLinesWriter::add(std::string_view line)
{
    if (line.size() > kMaxLineLength || line.find('\0') != std::string_view::npos)
        return false;
    m_lines.emplace_back(line);
    return true;
}

bool CodedLinesWriter::finish(std::vector<uint8_t>& data, std::array<uint8_t, huffman::kTableSize>& table,
                              std::string* error) const
{
    SymbolCounts counts{};
    for (const std::string& line : m_lines)
        countSymbols(counts, line);
    table = buildHuffmanTable(counts);
    huffman codes;
    codes.loadBytes(table.data(), table.size());
    return encodeLines(codes, m_lines, data, error);
}

bool CodedLinesWriter::save(const std::string& dataPath, const std::string& tablePath, std::string* error) const
{
    std::vector<uint8_t> data;
    std::array<uint8_t, huffman::kTableSize> table{};
    if (!finish(data, table, error))
        return false;
    if (!writeFile(dataPath, data)) {
        setError(error, "cannot write " + dataPath);
        return false;
    }
    if (!writeFile(tablePath, std::vector<uint8_t>(table.begin(), table.end()))) {
        setError(error, "cannot write " + tablePath);
        return false;
    }
    return true;
}

bool CodedLinesWriter::encodeLines(const huffman& table, const std::vector<std::string>& lines,
                                   std::vector<uint8_t>& data, std::string* error)
{
    data.clear();
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        const int64_t bits = codedBits(table, line);
        if (line.size() > kMaxLineLength || line.find('\0') != std::string::npos) {
            setError(error, "line " + std::to_string(i + 1) + " is longer than 255 characters or holds a byte 0");
            return false;
        }
        if (bits < 0 || (bits + 7) / 8 > static_cast<int64_t>(kMaxCodedBytes)) {
            setError(error, "line " + std::to_string(i + 1) + " does not fit in 255 coded bytes");
            return false;
        }
        const auto size = static_cast<size_t>((bits + 7) / 8);
        data.push_back(static_cast<uint8_t>(size));
        const size_t at = data.size();
        data.resize(at + size);
        table.Encode(data.data() + at, static_cast<int32_t>(size), line, 0);
    }
    return true;
}

std::string CodedLinesWriter::officialBodiesLine(std::string_view name, std::string_view type, std::string_view value)
{
    std::string line(kValueColumn - 1, ' ');
    line.replace(0, std::min(name.size(), kNameWidth), name.substr(0, kNameWidth));
    line.replace(kNameWidth, std::min(type.size(), kTypeWidth), type.substr(0, kTypeWidth));
    line.append(value.substr(0, kValueWidth));
    const size_t last = line.find_last_not_of(' ');
    line.resize(last == std::string::npos ? 0 : last + 1);
    return line;
}
