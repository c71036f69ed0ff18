// VerTambien: the see-also line under the result list: five link slots, each a rubro id and a link
// label shown on the line. The labels belong to the window (SeeAlsoLabel is their small interface,
// so the line is laid out and tested without widgets); this object only points at them. Filled
// from a rubro's see-also text by Fill. Main thread only.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

class QdLocs;

class SeeAlsoLabel {
public:
    virtual ~SeeAlsoLabel() = default;
    virtual void setText(const std::string& windows1252) = 0;
    virtual void setVisible(bool visible) = 0;
    [[nodiscard]] virtual int left() const = 0;
    [[nodiscard]] virtual int width() const = 0;
    virtual void setLeft(int left) = 0;

protected:
    SeeAlsoLabel() = default;
    SeeAlsoLabel(const SeeAlsoLabel&) = default;
    SeeAlsoLabel& operator=(const SeeAlsoLabel&) = default;
};

class VerTambien {
public:
    static constexpr int kSlots = 5;
    static constexpr int kGap = 10;

    // The label goes into the first slot without one, id 0, hidden; then LayoutLinks.
    void AttachLink(SeeAlsoLabel* label);
    // Each label after the first is placed kGap pixels right of the previous one; all shown.
    void LayoutLinks();
    void ShowLinks(bool visible);
    void ClearLinks();
    void SetLink(int slot, int32_t rubroId, const std::string& text);
    // The rubro id of the slot holding the label; 0 when none does.
    [[nodiscard]] int32_t LinkId(const SeeAlsoLabel* label) const;
    [[nodiscard]] int32_t idAt(int slot) const;

    // ClearLinks, then one link per comma-separated id of seeAlso (at most five, named after the
    // rubro with that id); a piece that is not a number ends the filling. Returns the links made.
    // The line shows for any text but an empty one, links or not.
    int Fill(std::string_view seeAlso, const QdLocs& locs);

private:
    struct Slot {
        int32_t id = 0;
        SeeAlsoLabel* label = nullptr;
    };
    std::array<Slot, kSlots> m_slots{};
};
