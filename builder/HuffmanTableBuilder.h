// Builds an 11264-byte Huffman table from symbol counts: weights, left-aligned canonical codes, code
// lengths and the decoding tree with node 0 as root. Code lengths never exceed 32 bits (counts are
// flattened until they fit) and the tree never exceeds 511 nodes. Symbols that never occur get no
// code. The byte 0 always gets a code, since every coded string ends with it.
#pragma once

#include "engine/huffman.h"

#include <array>
#include <cstdint>
#include <string_view>

using SymbolCounts = std::array<uint64_t, 256>;

// Adds the bytes of text and one terminating 0 to the counts.
void countSymbols(SymbolCounts& counts, std::string_view text);

[[nodiscard]] std::array<uint8_t, huffman::kTableSize> buildHuffmanTable(const SymbolCounts& counts);

// Convenience: the built table loaded into a huffman object.
[[nodiscard]] huffman makeHuffman(const SymbolCounts& counts);
