// huffman: one code table of a data-file family ("QD.hfm", "ixpal.hfm", "AVI.hfm", "da2.hfm") with
// decoding and encoding of 0-terminated Windows-1252 strings. Read-only after loading, so one table
// may serve several threads; Decode and Encode keep their state in locals.
//
// Table file: one block of 11264 bytes, integers 32-bit little-endian.
//   Part A, code table, 256 entries of 12 bytes at 12*c (c = byte value):
//     +0  4  weight (kept by the building tool, unused here)
//     +4  4  code bits, left-aligned (first bit is bit 31)
//     +8  4  code length in bits, 0..32; 0 = no code
//   Part B, decoding tree, 512 nodes of 16 bytes at 3072 + 16*n; node 0 is the root:
//     +0  1  symbol of a leaf
//     +1  3  padding
//     +4  4  link kept by the building tool (unused here)
//     +8  4  child for bit 0; 0 = this node is a leaf
//     +12 4  child for bit 1
// Coded streams are read from bit 7 to bit 0 of each byte, bytes in increasing address; every
// string ends with the code of the byte 0, and the rest of the last byte is padding.
#pragma once

#include "engine/ByteSource.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

class huffman {
public:
    static constexpr int kTableSize = 11264;
    static constexpr int kNodes = 512;
    static constexpr int kNoTerminator = 1; // Encode option: do not code the terminating 0

    huffman();

    // Reads up to 11264 bytes over the table; false (table unchanged) when the file cannot be opened.
    bool LoadTable(const std::string& path, const SourceOpener& opener = openFileSource);
    // Replaces the leading bytes of the table with the given block (at most 11264 are used).
    void loadBytes(const uint8_t* data, size_t length);

    // Decodes one string into dst and 0-terminates it. Stops at the code of 0, when srcLength bytes
    // are used up, or when dstCapacity - 1 characters are written. Returns the characters before
    // the terminating 0. Never reads or writes outside the given buffers, whatever the table holds.
    int32_t Decode(char* dst, int32_t dstCapacity, const uint8_t* src, int32_t srcLength) const;

    // Codes text (and the terminating 0 unless option bit 0 is set) into dst, MSB first. Returns the
    // number of bits written; stops early, with whole bytes only, when dstCapacity is reached.
    // Characters without a code add no bits.
    int32_t Encode(uint8_t* dst, int32_t dstCapacity, std::string_view text, int options) const;

    [[nodiscard]] uint32_t codeOf(uint8_t c) const { return m_code[c]; }
    [[nodiscard]] int codeLength(uint8_t c) const { return m_length[c]; }
    [[nodiscard]] const std::array<uint8_t, kTableSize>& raw() const { return m_raw; }

private:
    void parse();

    std::array<uint8_t, kTableSize> m_raw{};
    // Parsed views of m_raw. m_step[2 * node + bit] is where one bit leads from a node: the child's
    // number, or kLeaf | symbol when the child is a leaf, or kStop when the child lies outside the
    // tree; a decode step is then one array read.
    static constexpr uint32_t kLeaf = 0x10000;
    static constexpr uint32_t kStop = 0x20000;
    std::array<uint32_t, 256> m_code{};
    std::array<uint8_t, 256> m_length{};
    std::array<uint32_t, 2 * kNodes> m_step{};
};
