#pragma once

#include <QRect>
#include <QSize>

class QWidget;

namespace ferrovane {

// Twips are 1/1440 inch: 15 twips to a pixel at 96 dpi. Qt's high-dpi
// scaling is applied on top of these logical pixels.
constexpr int twipsToPixels(int twips) {
    return (twips + 7) / 15;
}
constexpr int pixelsToTwips(int pixels) {
    return pixels * 15;
}

// Places a top-level window by the house rule: centred in the available
// area of its screen less the bottom band, at its design size (or the size
// its contents need, when larger) clamped to that area.
void placeOnScreen(QWidget* window, QSize designPixels);

} // namespace ferrovane
