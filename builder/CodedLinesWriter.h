// CodedLinesWriter: writes a file of individually Huffman-coded lines (the format hfile reads, e.g.
// "da2.dat") with its code table ("da2.hfm"), built from the symbol counts of the lines themselves.
// Collects the lines, then codes them all at once. One thread.
#pragma once

#include "engine/huffman.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class CodedLinesWriter {
public:
    static constexpr size_t kMaxLineLength = 255;
    static constexpr size_t kMaxCodedBytes = 255;

    // Column layout of an official-bodies line (from column 1): name, line type, two unused
    // columns, value.
    static constexpr size_t kNameWidth = 35;
    static constexpr size_t kTypeWidth = 8;
    static constexpr size_t kValueColumn = 46;
    static constexpr size_t kValueWidth = 100;

    // False (the line is not taken) when it is longer than 255 characters or holds a byte 0.
    bool add(std::string_view line);
    [[nodiscard]] size_t lineCount() const { return m_lines.size(); }

    // Builds the table from the lines and codes them. False when a line codes to more than 255
    // bytes (rare symbols with long codes); error then names the line, counted from 1.
    bool finish(std::vector<uint8_t>& data, std::array<uint8_t, huffman::kTableSize>& table,
                std::string* error = nullptr) const;
    // finish, then writes both files.
    bool save(const std::string& dataPath, const std::string& tablePath, std::string* error = nullptr) const;

    // Codes lines with a given table, each as its length byte and its stream. False as finish.
    static bool encodeLines(const huffman& table, const std::vector<std::string>& lines, std::vector<uint8_t>& data,
                            std::string* error = nullptr);

    // One line of the official-bodies file: the name in columns 1-35, the type in 36-43 and the
    // value from column 46, each cut to its width; the line's trailing blanks are dropped, as the
    // reader drops them from every field anyway.
    static std::string officialBodiesLine(std::string_view name, std::string_view type, std::string_view value);

private:
    std::vector<std::string> m_lines;
};
