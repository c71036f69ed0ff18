#include "engine/registro.h"

#include "engine/Bytes.h"
#include "engine/huffman.h"

#include <cstring>

namespace {

// Reads fixed fields without passing the record's end.
class FieldReader {
public:
    FieldReader(const uint8_t* p, int32_t n) : m_p(p), m_n(n < 0 ? 0 : n) {}
    bool word(int32_t& out)
    {
        if (m_pos + 2 > m_n)
            return fail();
        out = bytes::le16(m_p + m_pos);
        m_pos += 2;
        return true;
    }
    bool triple(int32_t& out)
    {
        if (m_pos + 3 > m_n)
            return fail();
        out = static_cast<int32_t>(bytes::le24(m_p + m_pos));
        m_pos += 3;
        return true;
    }
    [[nodiscard]] bool ok() const { return m_ok; }
    [[nodiscard]] int32_t pos() const { return m_pos; }

private:
    bool fail()
    {
        m_ok = false;
        m_pos = m_n;
        return false;
    }
    const uint8_t* m_p;
    int32_t m_n;
    int32_t m_pos = 0;
    bool m_ok = true;
};

} // namespace

void registro::Clear()
{
    recno = agendaRef = 0;
    flags = 0;
    localityId = adNumber = areaCode = phonePrefix = phoneLine = rubroId = 0;
    for (std::string* s : {&phoneText, &name, &address, &localityText, &provinceText, &web, &mail})
        s->clear();
    hasNote = false;
}

bool registro::DecodeRecord(const uint8_t* bytes, int32_t length, const huffman& codes)
{
    agendaRef = 0;
    hasNote = false;
    if (length < 1) {
        flags = 0;
        localityId = rubroId = areaCode = phonePrefix = phoneLine = 0;
        return false;
    }
    flags = bytes[0];
    FieldReader in(bytes + 1, length - 1);
    int32_t w1 = 0;
    in.word(w1);
    if (w1 & 0x8000) {
        rubroId = w1 & 0x7FFF;
        localityId = 0;
        in.word(localityId);
    } else {
        rubroId = 0;
        localityId = w1;
    }
    if (flags & kHasAd) {
        int32_t ad = 0;
        if (in.triple(ad))
            adNumber = ad;
    }
    static constexpr int32_t kShortAreas[4] = {0, 11, 341, 351};
    areaCode = kShortAreas[flags & kAreaMask];
    if ((flags & kAreaMask) == 0)
        in.word(areaCode);
    phonePrefix = 0;
    phoneLine = 0;
    in.word(phonePrefix);
    in.word(phoneLine);
    if (!in.ok()) {
        // No text block: nothing to take, and no inherited field can be asked for.
        flags &= static_cast<uint8_t>(~(kHasWeb | kHasMail));
        return false;
    }

    char text[kMaxTextBytes];
    const int32_t textStart = 1 + in.pos();
    const int32_t n = codes.Decode(text, kMaxTextBytes, bytes + textStart, length - textStart);
    // The fields in storage order, each taken only when the flags say it is there.
    std::string* fields[4] = {};
    int wanted = 0;
    if (!(flags & kNameInherited))
        fields[wanted++] = &name;
    if (!(flags & kAddressInherited))
        fields[wanted++] = &address;
    if (flags & kHasWeb)
        fields[wanted++] = &web;
    if (flags & kHasMail)
        fields[wanted++] = &mail;
    int32_t start = 0;
    int field = 0;
    for (int32_t i = 0; i <= n && field < wanted; ++i) {
        if (i == n || text[i] == 0x01) {
            fields[field++]->assign(text + start, static_cast<size_t>(i - start));
            start = i + 1;
            if (i == n)
                break;
        }
    }
    return true;
}

std::string DisplayPhone(int32_t areaCode, int32_t prefix, int32_t line)
{
    if (areaCode == 0)
        return {};
    const std::string digits = std::to_string(line + 10000);
    return "(0" + std::to_string(areaCode) + ") " + std::to_string(prefix) + "-" + digits.substr(1);
}

std::string registro::DisplayPhone() const
{
    return ::DisplayPhone(areaCode, phonePrefix, phoneLine);
}
