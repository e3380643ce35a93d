#pragma once

#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <vector>

#include "shell/drawing.h"

class QPaintDevice;

namespace ferrovane {

// The font of a drawing's or a print job's text at its point size.
QFont qtFont(const Font& font);

// A text of a drawing as it is painted.
struct PlacedText {
    QString text;
    QFont font;       // at the painted size, in the device's points
    QPointF point;    // the text's point, in pixels
    QPointF baseline; // from the point to the start of the baseline, along the text
    bool vertical = false;
    QRectF box; // the pixels the text covers
};

// A display list placed in a rectangle of a paint device. The drawing fills
// the rectangle, each axis scaled on its own, and gives up only as much of
// it as every text needs to lie inside. Texts follow the smaller scale but
// never go below `leastPoints`; a block's items scale about its anchor as
// its texts do.
class DrawingLayout {
public:
    DrawingLayout(const Drawing& drawing, const QRectF& target, double leastPoints,
                  const QPaintDevice* device);

    // Where a point of the drawing lands, for an item of the block or of none.
    QPointF toPixels(double x, double y, int block = kNoBlock) const;
    // Pixels a twip for the line widths of the block or of the drawing.
    double lineScale(int block = kNoBlock) const;
    // The drawing's twips under a pixel.
    QPointF toTwips(const QPointF& pixel) const;
    // The texts, in drawing order.
    const std::vector<PlacedText>& texts() const { return texts_; }
    // The smallest rectangle in which the texts, at the size they have here,
    // still leave the drawing at least half of its room along each axis.
    QSizeF leastSize() const { return least_; }

private:
    struct Block {
        double x = 0, y = 0, scale = 0;
    };
    QRectF target_;
    double sx_ = 0, sy_ = 0, x0_ = 0, y0_ = 0;
    std::vector<Block> blocks_;
    std::vector<PlacedText> texts_;
    QSizeF least_;
};

} // namespace ferrovane
