// RecordEncoder: the writer side of the stored record layout of "QD.dat" (see engine/registro.h):
// flags byte, W1/W2, 24-bit ad number, the three area-code shortcuts, inherited name/address flags
// and the 0x01-separated Huffman-coded text block.
#pragma once

#include "engine/huffman.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct RecordFields {
    bool nameInherited = false;    // the name equals the nearest earlier record's stored name
    bool addressInherited = false; // the same for the address
    uint8_t adFlags = 0x10;        // the flag bit(s) written when adNumber is not 0 (0x10, 0x20 or 0x30)
    int32_t rubroId = 0;           // 0..32767
    int32_t localityId = 0;        // 0..65535 (0..32767 when there is no rubro)
    int32_t adNumber = 0;          // 0..0xFFFFFF
    int32_t areaCode = 0;          // 0..65535
    int32_t phonePrefix = 0;
    int32_t phoneLine = 0;
    std::string name, address, web, mail; // Windows-1252
};

// The decoded text block of a record: the strings that are stored, separated by 0x01. Its bytes
// plus one terminating 0 are what the record code table must be able to code.
[[nodiscard]] std::string recordText(const RecordFields& r);
// The same as countSymbols(counts, recordText(r)), without building the text.
void countRecordSymbols(std::array<uint64_t, 256>& counts, const RecordFields& r);

// Appends the stored bytes of one record. False when a value does not fit its field (a locality
// above 32767 without a rubro is fine only with bit 15 clear, so it is refused), when a text holds
// the separator 0x01 or a 0, or when the coded record would exceed the 512 bytes a reader takes.
[[nodiscard]] bool encodeRecord(const RecordFields& r, const huffman& codes, std::vector<uint8_t>& out,
                                std::string* why = nullptr);
