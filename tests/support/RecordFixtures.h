// Helpers that build record-store bytes with the real writers, for the engine tests and fuzzers.
#pragma once

#include "builder/HuffmanTableBuilder.h"
#include "builder/RecordEncoder.h"
#include "builder/RecordStoreWriter.h"

#include <stdexcept>

#include <random>
#include <string>
#include <vector>

struct BuiltStore {
    std::vector<uint8_t> data;
    std::vector<uint8_t> offsets;
    std::array<uint8_t, huffman::kTableSize> table{};
};

// Encodes the records with a table built from their own text; offsets follow the records.
inline BuiltStore buildStore(const std::vector<RecordFields>& records)
{
    SymbolCounts counts{};
    for (const auto& r : records)
        countSymbols(counts, recordText(r));
    BuiltStore s;
    s.table = buildHuffmanTable(counts);
    huffman codes;
    codes.loadBytes(s.table.data(), s.table.size());
    std::vector<uint32_t> offsets;
    for (const auto& r : records) {
        offsets.push_back(static_cast<uint32_t>(s.data.size()));
        std::string why;
        if (!encodeRecord(r, codes, s.data, &why))
            throw std::runtime_error("fixture record refused: " + why);
    }
    s.offsets = offsetTableBytes(offsets);
    return s;
}

// Random records in runs of one subscriber: later lines of a run inherit name and/or address.
inline std::vector<RecordFields> randomRecords(std::mt19937& rng, int n)
{
    static const char* const words[] = {"GARCIA",  "PEREZ",   "SAN MARTIN", "AV. RIVADAVIA", "MUÑOZ", "Ñandú",
                                        "CÓRDOBA", "ROSARIO", "SRL",        "E HIJOS",       "123",   "4500"};
    auto text = [&](int maxWords) {
        std::string s;
        const int k = 1 + static_cast<int>(rng() % static_cast<unsigned>(maxWords));
        for (int i = 0; i < k; ++i) {
            if (i)
                s.push_back(' ');
            s += words[rng() % 12];
        }
        return s;
    };
    std::vector<RecordFields> out;
    while (static_cast<int>(out.size()) < n) {
        RecordFields head;
        head.name = text(4);
        head.address = text(3);
        const int run = 1 + static_cast<int>(rng() % 4);
        for (int i = 0; i < run && static_cast<int>(out.size()) < n; ++i) {
            RecordFields r = head;
            if (i > 0) {
                r.nameInherited = rng() % 4 != 0;
                r.addressInherited = rng() % 3 != 0;
                if (!r.nameInherited)
                    r.name = text(4);
                if (!r.addressInherited)
                    r.address = text(3);
            }
            r.rubroId = rng() % 3 == 0 ? static_cast<int32_t>(rng() % 0x8000) : 0;
            r.localityId = static_cast<int32_t>(rng() % (r.rubroId ? 0x10000 : 0x8000));
            static const int areas[] = {11, 341, 351, 2966, 0, 220};
            r.areaCode = areas[rng() % 6];
            r.phonePrefix = static_cast<int32_t>(rng() % 10000);
            r.phoneLine = static_cast<int32_t>(rng() % 10000);
            r.adNumber = rng() % 5 == 0 ? static_cast<int32_t>(1 + rng() % 0xFFFFFF) : 0;
            r.adFlags = static_cast<uint8_t>(0x10 << (rng() % 2));
            r.web = rng() % 4 == 0 ? "WWW.EJEMPLO" + std::to_string(rng() % 100) + ".COM.AR" : "";
            r.mail = rng() % 4 == 0 ? "info@ejemplo.com.ar" : "";
            out.push_back(r);
        }
    }
    return out;
}
