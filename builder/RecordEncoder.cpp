#include "builder/RecordEncoder.h"

#include "engine/Bytes.h"
#include "engine/registro.h"

namespace {

bool refuse(std::string* why, const char* text)
{
    if (why)
        *why = text;
    return false;
}

bool clean(const std::string& s)
{
    return s.find('\x01') == std::string::npos && s.find('\0') == std::string::npos;
}

} // namespace

// Calls f with each string the record stores, in storage order.
template <class F>
void forEachStoredString(const RecordFields& r, F f)
{
    if (!r.nameInherited)
        f(r.name);
    if (!r.addressInherited)
        f(r.address);
    if (!r.web.empty())
        f(r.web);
    if (!r.mail.empty())
        f(r.mail);
}

std::string recordText(const RecordFields& r)
{
    std::string text;
    bool first = true;
    forEachStoredString(r, [&](const std::string& s) {
        if (!first)
            text.push_back('\x01');
        text += s;
        first = false;
    });
    return text;
}

void countRecordSymbols(std::array<uint64_t, 256>& counts, const RecordFields& r)
{
    int parts = 0;
    forEachStoredString(r, [&](const std::string& s) {
        for (char ch : s)
            ++counts[static_cast<uint8_t>(ch)];
        ++parts;
    });
    if (parts > 1)
        counts[1] += static_cast<uint64_t>(parts - 1);
    ++counts[0];
}

bool encodeRecord(const RecordFields& r, const huffman& codes, std::vector<uint8_t>& out, std::string* why)
{
    if (r.rubroId < 0 || r.rubroId > 0x7FFF)
        return refuse(why, "rubro number outside 0..32767");
    if (r.localityId < 0 || r.localityId > (r.rubroId ? 0xFFFF : 0x7FFF))
        return refuse(why, "locality number outside its field");
    if (r.adNumber < 0 || r.adNumber > 0xFFFFFF)
        return refuse(why, "ad number outside 24 bits");
    if (r.adNumber != 0 && ((r.adFlags & registro::kHasAd) == 0 || (r.adFlags & ~registro::kHasAd) != 0))
        return refuse(why, "ad flag bits must be within 0x30");
    if (r.areaCode < 0 || r.areaCode > 0xFFFF || r.phonePrefix < 0 || r.phonePrefix > 0xFFFF || r.phoneLine < 0 ||
        r.phoneLine > 0xFFFF)
        return refuse(why, "telephone part outside 16 bits");
    if (!clean(r.name) || !clean(r.address) || !clean(r.web) || !clean(r.mail))
        return refuse(why, "text holds a control byte 0x00 or 0x01");

    uint8_t flags = 0;
    if (r.nameInherited)
        flags |= registro::kNameInherited;
    if (r.addressInherited)
        flags |= registro::kAddressInherited;
    if (r.adNumber != 0)
        flags |= r.adFlags;
    if (!r.web.empty())
        flags |= registro::kHasWeb;
    if (!r.mail.empty())
        flags |= registro::kHasMail;
    switch (r.areaCode) {
    case 11: flags |= 1; break;
    case 341: flags |= 2; break;
    case 351: flags |= 3; break;
    default: break;
    }

    const size_t start = out.size();
    out.push_back(flags);
    if (r.rubroId != 0) {
        bytes::putLe16(out, 0x8000u | static_cast<uint32_t>(r.rubroId));
        bytes::putLe16(out, static_cast<uint32_t>(r.localityId));
    } else {
        bytes::putLe16(out, static_cast<uint32_t>(r.localityId));
    }
    if (r.adNumber != 0)
        bytes::putLe24(out, static_cast<uint32_t>(r.adNumber));
    if ((flags & registro::kAreaMask) == 0)
        bytes::putLe16(out, static_cast<uint32_t>(r.areaCode));
    bytes::putLe16(out, static_cast<uint32_t>(r.phonePrefix));
    bytes::putLe16(out, static_cast<uint32_t>(r.phoneLine));

    const std::string text = recordText(r);
    if (text.size() + 1 > registro::kMaxTextBytes) {
        out.resize(start);
        return refuse(why, "record text longer than 511 bytes");
    }
    uint8_t coded[registro::kMaxRecordBytes];
    const int room = registro::kMaxRecordBytes - static_cast<int>(out.size() - start);
    const int32_t bits = codes.Encode(coded, room, text, 0);
    // Encode skips characters without a code and stops at the buffer's end; either would store a
    // different text, so compare against the full expected length.
    int64_t expected = codes.codeLength(0);
    for (char ch : text) {
        const int len = codes.codeLength(static_cast<uint8_t>(ch));
        if (len == 0) {
            out.resize(start);
            return refuse(why, "a character of the text has no code in the table");
        }
        expected += len;
    }
    if (bits != expected || codes.codeLength(0) == 0) {
        out.resize(start);
        return refuse(why, "coded record longer than 512 bytes");
    }
    out.insert(out.end(), coded, coded + (bits + 7) / 8);
    return true;
}
