#include "builder/CodedLinesWriter.h"
#include "builder/HuffmanTableBuilder.h"
#include "engine/hfile.h"
#include "tests/support/MemoryFiles.h"

#include <gtest/gtest.h>

#include <random>

namespace {

std::vector<uint8_t> tableBytes(const std::array<uint8_t, huffman::kTableSize>& table)
{
    return {table.begin(), table.end()};
}

// Codes lines with the writer and puts "d.dat" and "d.hfm" into fs.
void putLines(MemoryFiles& fs, const std::vector<std::string>& lines)
{
    CodedLinesWriter writer;
    for (const std::string& line : lines)
        ASSERT_TRUE(writer.add(line));
    std::vector<uint8_t> data;
    std::array<uint8_t, huffman::kTableSize> table{};
    std::string error;
    ASSERT_TRUE(writer.finish(data, table, &error)) << error;
    fs.put("d.dat", data);
    fs.put("d.hfm", tableBytes(table));
}

// Runs the documented reading loop and returns every line it produced.
std::vector<std::string> readAll(hfile& f)
{
    std::vector<std::string> lines;
    std::string line;
    while (!f.IsEof()) {
        if (f.ReadLine(line))
            lines.push_back(line);
        if (lines.size() > 100000)
            break; // a reader that never ends
    }
    return lines;
}

// A source that counts how many sources are alive, to see that a failed open keeps none.
class CountedSource final : public ByteSource {
public:
    CountedSource(std::vector<uint8_t> bytes, int* alive) : m_inner(std::move(bytes)), m_alive(alive) { ++*m_alive; }
    ~CountedSource() override { --*m_alive; }
    int64_t size() override { return m_inner.size(); }
    int64_t readAt(int64_t pos, void* dst, int64_t n) override { return m_inner.readAt(pos, dst, n); }

private:
    MemoryByteSource m_inner;
    int* m_alive;
};

TEST(hfile, EmptyFileEndsOnTheFirstReadWithoutALine)
{
    MemoryFiles fs;
    putLines(fs, {});
    hfile f;
    ASSERT_TRUE(f.OpenCoded("d.dat", "d.hfm", fs.opener()));
    EXPECT_FALSE(f.IsEof());
    char buffer[hfile::kLineCapacity] = {'x'};
    EXPECT_EQ(f.ReadLine(buffer), 0);
    EXPECT_EQ(buffer[0], 0);
    EXPECT_TRUE(f.IsEof());
    EXPECT_EQ(f.ReadLine(buffer), 0); // stays at the end
    EXPECT_TRUE(f.IsEof());
}

TEST(hfile, ThreeLinesThenTheEnd)
{
    MemoryFiles fs;
    putLines(fs, {"PROVINCIA DE BUENOS AIRES", "Ministerio de Salud", "Mesa de entradas 4321-0000"});
    hfile f;
    ASSERT_TRUE(f.OpenCoded("d.dat", "d.hfm", fs.opener()));
    char buffer[hfile::kLineCapacity];
    EXPECT_EQ(f.ReadLine(buffer), 25);
    EXPECT_STREQ(buffer, "PROVINCIA DE BUENOS AIRES");
    EXPECT_EQ(f.ReadLine(buffer), 19);
    EXPECT_STREQ(buffer, "Ministerio de Salud");
    EXPECT_EQ(f.ReadLine(buffer), 26);
    EXPECT_STREQ(buffer, "Mesa de entradas 4321-0000");
    EXPECT_FALSE(f.IsEof()); // the end is only found by the read that finds no length byte
    EXPECT_EQ(f.ReadLine(buffer), 0);
    EXPECT_TRUE(f.IsEof());
}

TEST(hfile, EmptyLinesDoNotEndTheFile)
{
    // A length byte of 0 (hand-made) and a stream holding only the code of 0 (the writer's form).
    MemoryFiles fs;
    putLines(fs, {"uno", "", "dos"});
    CodedLinesWriter writer;
    ASSERT_TRUE(writer.add("uno"));
    ASSERT_TRUE(writer.add("dos"));
    std::vector<uint8_t> data;
    std::array<uint8_t, huffman::kTableSize> table{};
    ASSERT_TRUE(writer.finish(data, table));
    data.insert(data.begin() + 1 + data[0], 0); // a 0 length byte after the first line
    fs.put("z.dat", data);
    fs.put("z.hfm", tableBytes(table));

    hfile f;
    ASSERT_TRUE(f.OpenCoded("d.dat", "d.hfm", fs.opener()));
    EXPECT_EQ(readAll(f), (std::vector<std::string>{"uno", "", "dos"}));
    ASSERT_TRUE(f.OpenCoded("z.dat", "z.hfm", fs.opener()));
    EXPECT_EQ(readAll(f), (std::vector<std::string>{"uno", "", "dos"}));
}

TEST(hfile, FailedOpensLeaveNoFile)
{
    MemoryFiles fs;
    putLines(fs, {"a"});
    int alive = 0;
    const auto counted = [&](const std::string& path) -> std::unique_ptr<ByteSource> {
        auto inner = fs.opener()(path);
        if (!inner)
            return nullptr;
        std::vector<uint8_t> bytes(static_cast<size_t>(inner->size()));
        if (!bytes.empty()) {
            EXPECT_EQ(inner->readAt(0, bytes.data(), static_cast<int64_t>(bytes.size())),
                      static_cast<int64_t>(bytes.size()));
        }
        return std::make_unique<CountedSource>(std::move(bytes), &alive);
    };
    hfile f;
    EXPECT_FALSE(f.OpenCoded("d.dat", "missing.hfm", counted));
    EXPECT_EQ(alive, 0);
    EXPECT_TRUE(f.IsEof());
    char buffer[hfile::kLineCapacity] = {'x'};
    EXPECT_EQ(f.ReadLine(buffer), 0);
    EXPECT_EQ(buffer[0], 0);

    EXPECT_FALSE(f.OpenCoded("missing.dat", "d.hfm", counted));
    EXPECT_TRUE(f.IsEof());

    // A good open followed by a failed one drops the first file too.
    ASSERT_TRUE(f.OpenCoded("d.dat", "d.hfm", counted));
    EXPECT_EQ(alive, 1);
    EXPECT_FALSE(f.OpenCoded("d.dat", "missing.hfm", counted));
    EXPECT_EQ(alive, 0);
    EXPECT_TRUE(f.IsEof());

    hfile never;
    EXPECT_TRUE(never.IsEof());
}

TEST(hfile, StreamWithoutTerminatorEndsWithWhatWasDecoded)
{
    // Codes b = 0, 0 = 10, a = 11 and no terminator: "abbaa" fills one byte exactly, so the line
    // ends where its bytes end, and the next line is read from the right place.
    SymbolCounts counts{};
    countSymbols(counts, "aaaabbbb");
    const huffman table = makeHuffman(counts);
    uint8_t stream[8];
    ASSERT_EQ(table.Encode(stream, sizeof stream, "abbaa", huffman::kNoTerminator), 8);
    std::vector<uint8_t> data{1, stream[0]};
    std::vector<uint8_t> next;
    ASSERT_TRUE(CodedLinesWriter::encodeLines(table, {"ab"}, next));
    data.insert(data.end(), next.begin(), next.end());

    MemoryFiles fs;
    fs.put("d.dat", data);
    fs.put("d.hfm", {table.raw().begin(), table.raw().end()});
    hfile f;
    ASSERT_TRUE(f.OpenCoded("d.dat", "d.hfm", fs.opener()));
    EXPECT_EQ(readAll(f), (std::vector<std::string>{"abbaa", "ab"}));
}

TEST(hfile, TruncatedLastLineGivesItsDecodedStartThenTheEnd)
{
    const std::string second = "segunda linea bastante larga";
    CodedLinesWriter writer;
    ASSERT_TRUE(writer.add("primera"));
    ASSERT_TRUE(writer.add(second));
    std::vector<uint8_t> data;
    std::array<uint8_t, huffman::kTableSize> table{};
    ASSERT_TRUE(writer.finish(data, table));
    data.resize(data.size() - 4);
    MemoryFiles fs;
    fs.put("d.dat", data);
    fs.put("d.hfm", tableBytes(table));
    hfile f;
    ASSERT_TRUE(f.OpenCoded("d.dat", "d.hfm", fs.opener()));
    const auto lines = readAll(f);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "primera");
    EXPECT_FALSE(lines[1].empty());
    EXPECT_LT(lines[1].size(), second.size());
    EXPECT_EQ(second.compare(0, lines[1].size(), lines[1]), 0);

    // A length byte with nothing after it: one empty line, then the end.
    fs.put("e.dat", {200});
    fs.put("e.hfm", tableBytes(table));
    ASSERT_TRUE(f.OpenCoded("e.dat", "e.hfm", fs.opener()));
    EXPECT_EQ(readAll(f), std::vector<std::string>{""});
}

TEST(hfile, FailedSeekReadsAsTheEnd)
{
    MemoryFiles fs;
    putLines(fs, {"alfa", "beta", "gamma"});
    std::vector<uint8_t> data;
    {
        auto src = fs.opener()("d.dat");
        data.resize(static_cast<size_t>(src->size()));
        ASSERT_EQ(src->readAt(0, data.data(), src->size()), src->size());
    }
    const int64_t secondLine = 1 + data[0];
    auto opener = [&](const std::string& path) -> std::unique_ptr<ByteSource> {
        if (path == "d.dat")
            return std::make_unique<FailingSource>(data, secondLine, nullptr);
        return fs.opener()(path);
    };
    hfile f;
    ASSERT_TRUE(f.OpenCoded("d.dat", "d.hfm", opener));
    EXPECT_EQ(readAll(f), std::vector<std::string>{"alfa"});
}

TEST(hfile, NonsenseTablesNeverReadOutsideTheLine)
{
    std::mt19937 rng(7);
    for (int round = 0; round < 50; ++round) {
        std::vector<uint8_t> table(huffman::kTableSize);
        for (auto& b : table)
            b = static_cast<uint8_t>(rng());
        std::vector<uint8_t> data(2000);
        for (auto& b : data)
            b = static_cast<uint8_t>(rng());
        MemoryFiles fs;
        fs.put("d.dat", data);
        fs.put("d.hfm", table);
        hfile f;
        ASSERT_TRUE(f.OpenCoded("d.dat", "d.hfm", fs.opener()));
        int reads = 0;
        char buffer[hfile::kLineCapacity];
        while (!f.IsEof()) {
            const int32_t n = f.ReadLine(buffer);
            ASSERT_GE(n, 0);
            ASSERT_LE(n, 255);
            ASSERT_EQ(buffer[n], 0);
            ASSERT_LE(++reads, 2001); // every read takes at least its length byte
        }
    }
}

TEST(hfile, RandomLinesRoundTrip)
{
    std::mt19937 rng(42);
    for (int round = 0; round < 20; ++round) {
        std::vector<std::string> lines(rng() % 300);
        // Mostly text-like bytes, so the codes stay short enough for 255-character lines.
        std::uniform_int_distribution<int> letter(' ', 'z');
        for (auto& line : lines) {
            line.resize(rng() % 4 == 0 ? 255 : rng() % 256);
            for (char& ch : line)
                ch = static_cast<char>(rng() % 50 == 0 ? 1 + rng() % 255 : letter(rng));
        }
        MemoryFiles fs;
        putLines(fs, lines);
        hfile f;
        ASSERT_TRUE(f.OpenCoded("d.dat", "d.hfm", fs.opener()));
        ASSERT_EQ(readAll(f), lines) << "round " << round;
    }
}

TEST(CodedLinesWriter, RejectsWhatTheReaderCannotGiveBack)
{
    CodedLinesWriter writer;
    EXPECT_TRUE(writer.add(std::string(255, 'a')));
    EXPECT_FALSE(writer.add(std::string(256, 'a')));
    EXPECT_FALSE(writer.add(std::string("a\0b", 3)));
    EXPECT_EQ(writer.lineCount(), 1u);

    // 255 rare symbols among a flood of one common letter get long codes: more than 255 bytes.
    std::string rare;
    for (int c = 1; c < 256; ++c)
        rare.push_back(static_cast<char>(c));
    for (int i = 0; i < 3000; ++i)
        ASSERT_TRUE(writer.add(std::string(255, 'a')));
    ASSERT_TRUE(writer.add(rare));
    std::vector<uint8_t> data;
    std::array<uint8_t, huffman::kTableSize> table{};
    std::string error;
    EXPECT_FALSE(writer.finish(data, table, &error));
    EXPECT_EQ(error, "line 3002 does not fit in 255 coded bytes");

    // A given table without a code for a character cannot code the line.
    SymbolCounts counts{};
    countSymbols(counts, "ab");
    EXPECT_FALSE(CodedLinesWriter::encodeLines(makeHuffman(counts), {"abc"}, data));
}

TEST(CodedLinesWriter, OfficialBodiesLineColumns)
{
    const std::string line = CodedLinesWriter::officialBodiesLine("Ministerio", "INDD", "4342-3100");
    ASSERT_EQ(line.size(), 45u + 9u);
    EXPECT_EQ(line.substr(0, 35), "Ministerio" + std::string(25, ' '));
    EXPECT_EQ(line.substr(35, 8), "INDD    ");
    EXPECT_EQ(line.substr(43, 2), "  ");
    EXPECT_EQ(line.substr(45), "4342-3100");

    // Fields are cut to their widths; without a value the trailing blanks go.
    const std::string longest =
        CodedLinesWriter::officialBodiesLine(std::string(40, 'n'), "ALPHAHEDX", std::string(120, 'v'));
    EXPECT_EQ(longest, std::string(35, 'n') + "ALPHAHED  " + std::string(100, 'v'));
    EXPECT_EQ(CodedLinesWriter::officialBodiesLine("Salud", "*", ""), "Salud" + std::string(30, ' ') + "*");
    EXPECT_EQ(CodedLinesWriter::officialBodiesLine("", "", ""), "");
}

} // namespace
