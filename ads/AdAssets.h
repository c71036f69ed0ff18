// AdAssets: the pictures of the ad viewer and the reports (ads/assets), drawn from their SVG files
// at their designed pixel sizes: the report logo (110 x 110), the viewer's logo (137 x 43) and the
// zoom buttons (25 x 25). Main thread.
#pragma once

#include <QImage>

namespace adassets {

[[nodiscard]] QImage reportLogo();
[[nodiscard]] QImage viewerLogo();
[[nodiscard]] QImage zoomIn();
[[nodiscard]] QImage zoomOut();

} // namespace adassets
