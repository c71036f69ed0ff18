// registro: one decoded directory record, the object every part that shows, prints, posts or stores
// a record passes around. Plain value type; copies are deep.
//
// Stored record (in "QD.dat"; multi-byte integers little-endian; only the first 512 bytes are read):
//   Size  Present when           Field
//   1     always                 flags (below)
//   2     always                 W1: locality number, or (bit 15 set) the rubro number in bits 0-14
//   2     W1 bit 15 set          W2: locality number
//   3     flags & 0x30           ad number, 24-bit
//   2     (flags & 0x03) == 0    area code
//   2     always                 telephone prefix
//   2     always                 telephone line (last four digits)
//   rest  always                 text block, Huffman-coded with "QD.hfm": name, address, web, mail,
//                                each present or not by the flags, separated by the byte 0x01
// Flags: 0x80 name inherited from the nearest earlier record storing one; 0x40 the same for the
// address; 0x30 an ad number follows; 0x08 web present; 0x04 mail present; bits 1-0 the area code:
// 00 stored, 01 = 11, 10 = 341, 11 = 351.
#pragma once

#include <cstdint>
#include <string>

class huffman;

class registro {
public:
    static constexpr uint8_t kNameInherited = 0x80;
    static constexpr uint8_t kAddressInherited = 0x40;
    static constexpr uint8_t kHasAd = 0x30;
    static constexpr uint8_t kHasWeb = 0x08;
    static constexpr uint8_t kHasMail = 0x04;
    static constexpr uint8_t kAreaMask = 0x03;
    static constexpr int kMaxRecordBytes = 512;
    static constexpr int kMaxTextBytes = 512;

    int32_t recno = 0;
    int32_t agendaRef = 0;
    uint8_t flags = 0;
    int32_t localityId = 0;
    int32_t adNumber = 0;
    int32_t areaCode = 0;
    int32_t phonePrefix = 0;
    int32_t phoneLine = 0;
    std::string phoneText;
    int32_t rubroId = 0;
    std::string name;
    std::string address;
    std::string localityText;
    std::string provinceText;
    std::string web;
    std::string mail;
    bool hasNote = false;

    // Resets every field; the texts keep their storage, so a reused object decodes without allocating.
    void Clear();

    // Fills the fields from one stored record of the given length. Fields whose string is absent
    // keep their value (inherited fields are resolved by the record store). A record whose bytes end
    // inside its fixed fields leaves the remaining fixed fields 0 and no text; returns false then.
    bool DecodeRecord(const uint8_t* bytes, int32_t length, const huffman& codes);

    // "(0" + area + ") " + prefix + "-" + four-digit line; empty when the area code is 0.
    [[nodiscard]] std::string DisplayPhone() const;
};

[[nodiscard]] std::string DisplayPhone(int32_t areaCode, int32_t prefix, int32_t line);
