// AdStoreWriter: writes the ad store: the entries "AVI.dat", their offsets "AVI.pk" and the code
// table "AVI.hfm", built from the symbol counts of every ad text. Collects the ads (numbered from 1
// in the order added), then codes them all at once. One thread.
#pragma once

#include "engine/huffman.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class AdStoreWriter {
public:
    static constexpr size_t kMaxTextLength = 9999;
    static constexpr size_t kMaxEntryBytes = 8000;

    struct Ad {
        int8_t kind = 8;
        int32_t reference = 0;
        int32_t imageNumber = 0; // stored only for kinds 0 and 5
        std::string text;        // lines separated by 0x01
    };

    struct Files {
        std::vector<uint8_t> data;                        // "AVI.dat"
        std::vector<uint8_t> offsets;                     // "AVI.pk"
        std::array<uint8_t, huffman::kTableSize> table{}; // "AVI.hfm"
    };

    // The text of an ad made of lines: every line ends with 0x01, so empty lines, a last one
    // included, read back as they were. Lines must not hold 0x01.
    static std::string textOf(const std::vector<std::string>& lines);

    // False (the ad is not taken) when its text is longer than 9999 characters or holds a byte 0.
    bool add(Ad ad);
    // add with textOf(lines); also false when a line holds 0x01.
    bool addLines(int8_t kind, int32_t reference, int32_t imageNumber, const std::vector<std::string>& lines);
    [[nodiscard]] size_t adCount() const { return m_ads.size(); }

    // Builds the table and codes the entries. False when an entry codes to more than 8000 bytes or
    // "AVI.dat" would pass 2 GiB; error then names the ad.
    bool finish(Files& out, std::string* error = nullptr) const;
    // finish, then writes the three files.
    bool save(const std::string& dataPath, const std::string& offsetPath, const std::string& tablePath,
              std::string* error = nullptr) const;

private:
    std::vector<Ad> m_ads;
};
