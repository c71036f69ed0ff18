#include "search/VerTambien.h"

#include "search/QdLocs.h"

#include <charconv>

void VerTambien::AttachLink(SeeAlsoLabel* label)
{
    for (Slot& s : m_slots) {
        if (s.label == nullptr) {
            s.label = label;
            s.id = 0;
            label->setVisible(false);
            break;
        }
    }
    LayoutLinks();
}

void VerTambien::LayoutLinks()
{
    if (m_slots[0].label == nullptr)
        return;
    m_slots[0].label->setVisible(true);
    for (size_t i = 1; i < m_slots.size() && m_slots[i].label != nullptr; ++i) {
        const SeeAlsoLabel* prev = m_slots[i - 1].label;
        m_slots[i].label->setLeft(prev->left() + prev->width() + kGap);
        m_slots[i].label->setVisible(true);
    }
}

void VerTambien::ShowLinks(bool visible)
{
    for (Slot& s : m_slots) {
        if (s.label != nullptr)
            s.label->setVisible(visible);
    }
}

void VerTambien::ClearLinks()
{
    for (Slot& s : m_slots) {
        s.id = 0;
        if (s.label != nullptr)
            s.label->setText({});
    }
}

void VerTambien::SetLink(int slot, int32_t rubroId, const std::string& text)
{
    if (slot < 0 || slot >= kSlots)
        return;
    Slot& s = m_slots[static_cast<size_t>(slot)];
    s.id = rubroId;
    if (s.label != nullptr)
        s.label->setText(text);
    LayoutLinks();
}

int32_t VerTambien::LinkId(const SeeAlsoLabel* label) const
{
    for (const Slot& s : m_slots) {
        if (label != nullptr && s.label == label)
            return s.id;
    }
    return 0;
}

int32_t VerTambien::idAt(int slot) const
{
    return slot >= 0 && slot < kSlots ? m_slots[static_cast<size_t>(slot)].id : 0;
}

int VerTambien::Fill(std::string_view seeAlso, const QdLocs& locs)
{
    ClearLinks();
    if (seeAlso.empty())
        return 0;
    ShowLinks(true);
    int made = 0;
    size_t pos = 0;
    while (made < kSlots && pos <= seeAlso.size()) {
        const size_t comma = seeAlso.find(',', pos);
        const std::string_view piece = seeAlso.substr(pos, comma == std::string_view::npos ? comma : comma - pos);
        int32_t id = 0;
        const auto [end, ec] = std::from_chars(piece.data(), piece.data() + piece.size(), id);
        if (piece.empty() || ec != std::errc() || end != piece.data() + piece.size())
            break;
        SetLink(made++, id, locs.RubroName(id));
        if (comma == std::string_view::npos)
            break;
        pos = comma + 1;
    }
    return made;
}
