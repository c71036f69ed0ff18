#include "engine/QdData.h"

#include "engine/DataFiles.h"

#include <algorithm>

QdData::QdData(const std::string& dataPath, const std::string& offsetPath, int32_t blockSize, SourceOpener opener)
    : m_opener(std::move(opener)), m_data(std::make_unique<Archivo>(dataPath, blockSize, m_opener)),
      m_offsets(std::make_unique<PkTable>(offsetPath, blockSize, m_opener)),
      m_recordCount(static_cast<int32_t>(std::min<uint32_t>(m_offsets->Count(), INT32_MAX)))
{}

QdData::~QdData() = default;

bool QdData::LoadCodeTable(const std::string& path)
{
    return m_codes.LoadTable(path, m_opener);
}

int32_t QdData::RecordLength(int32_t n)
{
    if (!m_offsets)
        return -1;
    const int32_t o = m_offsets->OffsetOf(n);
    if (o == -1)
        return 0;
    // Damaged tables can hold any 32-bit value: work in 64 bits and saturate, so the caller's
    // "negative or above 512" rule sees the true sign.
    auto saturate = [](int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };
    if (n == m_recordCount)
        return saturate(static_cast<int64_t>(m_data->Size()) - o);
    const int32_t o2 = m_offsets->OffsetOf(n + 1);
    return o2 == -1 ? 0 : saturate(static_cast<int64_t>(o2) - o);
}

bool QdData::ReadRecord(registro& dst, int32_t n, bool resolve)
{
    if (!m_data || !m_offsets || !m_data->IsOpen())
        return false;
    const int32_t o = m_offsets->OffsetOf(n);
    if (o == -1)
        return false;
    int32_t length = RecordLength(n);
    if (length > registro::kMaxRecordBytes || length < 0)
        length = registro::kMaxRecordBytes;
    uint8_t buffer[registro::kMaxRecordBytes];
    const int32_t got = m_data->ReadAt(buffer, length, static_cast<uint32_t>(o));
    dst.DecodeRecord(buffer, got, m_codes);
    dst.recno = n;
    if (!resolve)
        return true;

    constexpr uint8_t inherited = registro::kNameInherited | registro::kAddressInherited;
    for (int32_t p = n - 1; (dst.flags & inherited) && p >= 1; --p) {
        if (m_previous.recno != p) {
            m_previous.Clear();
            if (!ReadRecord(m_previous, p, false))
                break;
        }
        if ((dst.flags & registro::kNameInherited) && !(m_previous.flags & registro::kNameInherited)) {
            dst.name = m_previous.name;
            dst.flags &= static_cast<uint8_t>(~registro::kNameInherited);
        }
        if ((dst.flags & registro::kAddressInherited) && !(m_previous.flags & registro::kAddressInherited)) {
            dst.address = m_previous.address;
            dst.flags &= static_cast<uint8_t>(~registro::kAddressInherited);
        }
    }
    // Only what the next read's walk consults: its number, flags, name and address.
    m_previous.recno = dst.recno;
    m_previous.flags = dst.flags;
    m_previous.name = dst.name;
    m_previous.address = dst.address;
    return true;
}

int QdData::AddIndex(const std::string& path, int32_t blockSize)
{
    for (int slot = 0; slot < kSlots; ++slot) {
        if (!m_slots[static_cast<size_t>(slot)]) {
            m_slots[static_cast<size_t>(slot)] = std::make_unique<Indice>(path, blockSize, m_opener);
            return slot + 1;
        }
    }
    return 0;
}

int QdData::AddWordIndex(const std::string& indexPath, const std::string& codeTablePath, int32_t blockSize)
{
    const int slot = AddIndex(indexPath, blockSize);
    if (slot != 0)
        m_slots[static_cast<size_t>(slot - 1)]->LoadCodeTable(codeTablePath, m_opener);
    return slot;
}

Indice* QdData::IndexAt(int slot) const
{
    if (slot < 1 || slot > kSlots)
        return nullptr;
    return m_slots[static_cast<size_t>(slot - 1)].get();
}
