// AdCard: the text card the viewer draws for an ad without a picture: a double frame (rounded for
// kind 2, square for the others), the title (line 0) centred in bold for kind 2 or set into the
// frame's top border for the others, then the body lines centred, bold from the fifth line on for
// kind 2. Pure drawing: the card's picture plus where the viewer puts its separator line. Main
// thread (fonts).
#pragma once

#include <QFont>
#include <QImage>

#include <cstdint>
#include <string>
#include <vector>

struct AdCard {
    QImage picture;      // the card, W x H
    int rows = 0;        // text rows the card was sized for
    int clientWidth = 0; // the window's client width the card asks for
    // The separator line over the card (kind 2 only): its top and width, in card coordinates.
    bool lineShown = false;
    int lineTop = 0;
    int lineWidth = 0;
};

namespace adcard {

constexpr int kLeftInset = 4; // the separator line's left, as designed

// The drawing surface's font: Arial at a size in points, in 96-dpi pixels.
[[nodiscard]] QFont surfaceFont(int points, bool bold = false);

// Draws the card for an ad of this kind with its Windows-1252 lines. clientWidth is the window's
// current client width (the card is at least that wide); toolHeight the tool panel's. An ad
// without lines gives an empty card (null picture).
[[nodiscard]] AdCard draw(int32_t kind, const std::vector<std::string>& lines, int clientWidth);

} // namespace adcard
