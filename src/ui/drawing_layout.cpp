#include "ui/drawing_layout.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPaintDevice>
#include <algorithm>
#include <limits>

#include "ui/controls/control.h"

namespace ferrovane {

namespace {

constexpr double kTwipsPerPoint = 20;
constexpr double kPointsPerInch = 72;
constexpr double kScreenDpi = 96;
// Pixels kept free between a text and the edge of the rectangle.
constexpr double kTextMargin = 2;
// However crowded, the drawing keeps this share of its room; texts that
// still do not fit are cut at the edge.
constexpr double kLeastShare = 0.1;
// The share of its room the drawing keeps at the least size.
constexpr double kShareAtLeastSize = 0.9;
constexpr double kSmallestFont = 1; // points

// Where a text's point lies within its box, by its anchors, in the text's
// own direction: the offset from the point to the start of its baseline.
QPointF baselineOffset(const TextPrimitive& t, double width, const QFontMetricsF& fm) {
    double dx = 0;
    if (t.h == HAnchor::Centre)
        dx = -width / 2;
    else if (t.h == HAnchor::Right)
        dx = -width;
    double dy = fm.ascent();
    if (t.v == VAnchor::Middle)
        dy = (fm.ascent() - fm.descent()) / 2;
    else if (t.v == VAnchor::Bottom)
        dy = -fm.descent();
    return {dx, dy};
}

// The pixels a text covers around its point; a vertical text is turned a
// quarter to the left, so that (u, v) along it lands at (v, -u).
QRectF textBox(const PlacedText& t, double width, const QFontMetricsF& fm) {
    const QRectF along(t.baseline.x(), t.baseline.y() - fm.ascent(), width,
                       fm.ascent() + fm.descent());
    if (!t.vertical)
        return along;
    return {along.top(), -along.right(), along.height(), along.width()};
}

// A text at the given size: its font, where its baseline starts and the
// pixels it covers, all from its point.
PlacedText measure(const TextPrimitive& t, double points, const QPaintDevice* device) {
    PlacedText placed{QString::fromStdString(t.text), qtFont(t.font), {}, {}, t.vertical, {}};
    placed.font.setPointSizeF(std::max(kSmallestFont, points));
    const QFontMetricsF fm(placed.font, device);
    const double width = fm.horizontalAdvance(placed.text);
    placed.baseline = baselineOffset(t, width, fm);
    placed.box = textBox(placed, width, fm);
    return placed;
}

// The pixels a line (with its width) or a rectangle covers at `scale`, from
// its first point, which goes into `at` in twips.
QRectF shapeBox(const Primitive& item, double scale, QPointF& at) {
    if (const auto* l = std::get_if<LinePrimitive>(&item)) {
        at = QPointF(l->x1, l->y1);
        const double half = l->widthTwips * scale / 2;
        return QRectF(QPointF(0, 0), QPointF(l->x2 - l->x1, l->y2 - l->y1) * scale)
            .normalized()
            .adjusted(-half, -half, half, half);
    }
    if (const auto* r = std::get_if<RectPrimitive>(&item)) {
        at = QPointF(r->x, r->y);
        return QRectF(0, 0, r->width * scale, r->height * scale).normalized();
    }
    return {};
}

// Something placed at `at` twips along one axis that reaches `before` and
// `after` pixels from where that point lands (before is usually negative).
struct Reach {
    double at = 0, before = 0, after = 0;
};

struct AxisFit {
    double scale = 0;  // pixels a twip
    double offset = 0; // where the drawing's 0 lands
};

// The largest scale at which everything reaches no further than the
// rectangle's `pixels`, the drawing's own extent included, and the offset
// that centres any room left over. For any two reaches a before b,
// scale * (b.at - a.at) <= pixels - b.after + a.before.
AxisFit fitAxis(const std::vector<Reach>& reaches, double length, double pixels) {
    const double fill = pixels / length;
    double scale = fill;
    for (const Reach& a : reaches)
        for (const Reach& b : reaches)
            if (b.at > a.at)
                scale = std::min(scale, (pixels - b.after + a.before) / (b.at - a.at));
    scale = std::max(scale, kLeastShare * fill);
    double low = -std::numeric_limits<double>::infinity();
    double high = std::numeric_limits<double>::infinity();
    for (const Reach& r : reaches) {
        low = std::max(low, -r.before - r.at * scale);
        high = std::min(high, pixels - r.after - r.at * scale);
    }
    return {scale, (low + high) / 2};
}

// The least `pixels` at which fitAxis keeps kShareAtLeastSize of the fill.
double leastLength(const std::vector<Reach>& reaches, double length) {
    double least = 0;
    for (const Reach& a : reaches)
        for (const Reach& b : reaches)
            if (b.at >= a.at)
                least = std::max(least, (b.after - a.before) /
                                            (1 - kShareAtLeastSize * (b.at - a.at) / length));
    return least;
}

// The two ends of the drawing itself along an axis.
std::vector<Reach> frameReaches(double length) {
    return {{0, 0, 0}, {length, 0, 0}};
}

} // namespace

QFont qtFont(const Font& font) {
    // The same fixed-pitch face as the lists, so a drawing's columns line up
    // under a font configuration whose fixed font is proportional.
    QFont f = font.fixedPitch ? fixedPitchFont() : QGuiApplication::font();
    f.setPointSizeF(font.points);
    f.setBold(font.bold);
    return f;
}

DrawingLayout::DrawingLayout(const Drawing& drawing, const QRectF& target, double leastPoints,
                             const QPaintDevice* device)
    : target_(target) {
    const double w = drawing.widthTwips, h = drawing.heightTwips;
    if (w <= 0 || h <= 0 || target.isEmpty())
        return;
    const double dpi = device && device->logicalDpiY() > 0 ? device->logicalDpiY() : kScreenDpi;
    const double pointsPerPixel = kPointsPerInch / dpi;
    // The points a text of `points` shows at `scale` pixels a twip.
    auto shown = [pointsPerPixel](double points, double scale) {
        return points * kTwipsPerPoint * scale * pointsPerPixel;
    };
    // Texts follow the smaller of the two scales that fill the rectangle; a
    // block takes the scale at which its smallest text reaches the floor.
    const double fill = std::min(target.width() / w, target.height() / h);
    for (const ferrovane::Block& b : drawing.blocks)
        blocks_.push_back({b.x, b.y, fill});
    for (const Primitive& item : drawing.items)
        if (const auto* t = std::get_if<TextPrimitive>(&item); t && t->block != kNoBlock)
            blocks_[t->block].scale =
                std::max(blocks_[t->block].scale, leastPoints / shown(t->font.points, 1));

    // What each text, and each block as a whole, covers around its point.
    std::vector<Reach> across = frameReaches(w), down = frameReaches(h);
    auto reach = [&across, &down](double x, double y, const QRectF& box) {
        across.push_back({x, box.left() - kTextMargin, box.right() + kTextMargin});
        down.push_back({y, box.top() - kTextMargin, box.bottom() + kTextMargin});
    };
    std::vector<QRectF> blockBoxes(blocks_.size());
    for (const Primitive& item : drawing.items) {
        const int block = std::visit([](const auto& p) { return p.block; }, item);
        const double scale = block == kNoBlock ? fill : blocks_[block].scale;
        QRectF box;
        QPointF at;
        if (const auto* t = std::get_if<TextPrimitive>(&item)) {
            const double points = shown(t->font.points, scale);
            texts_.push_back(
                measure(*t, block == kNoBlock ? std::max(points, leastPoints) : points, device));
            box = texts_.back().box;
            at = QPointF(t->x, t->y);
            if (block == kNoBlock)
                reach(t->x, t->y, box);
        } else if (block != kNoBlock) {
            box = shapeBox(item, scale, at);
        }
        if (block != kNoBlock) {
            const Block& b = blocks_[block];
            box.translate((at.x() - b.x) * b.scale, (at.y() - b.y) * b.scale);
            blockBoxes[block] = blockBoxes[block].isNull() ? box : blockBoxes[block] | box;
        }
    }
    for (std::size_t i = 0; i < blocks_.size(); ++i)
        reach(blocks_[i].x, blocks_[i].y, blockBoxes[i]);

    const AxisFit x = fitAxis(across, w, target.width());
    const AxisFit y = fitAxis(down, h, target.height());
    sx_ = x.scale, x0_ = x.offset, sy_ = y.scale, y0_ = y.offset;
    least_ = QSizeF(leastLength(across, w), leastLength(down, h));
    auto placed = texts_.begin();
    for (const Primitive& item : drawing.items)
        if (const auto* t = std::get_if<TextPrimitive>(&item)) {
            placed->point = toPixels(t->x, t->y, t->block);
            placed->box.translate(placed->point);
            ++placed;
        }
}

QPointF DrawingLayout::toPixels(double x, double y, int block) const {
    if (block < 0 || block >= static_cast<int>(blocks_.size()))
        return {target_.left() + x0_ + x * sx_, target_.top() + y0_ + y * sy_};
    const Block& b = blocks_[block];
    return toPixels(b.x, b.y) + QPointF(x - b.x, y - b.y) * b.scale;
}

double DrawingLayout::lineScale(int block) const {
    if (block < 0 || block >= static_cast<int>(blocks_.size()))
        return std::min(sx_, sy_);
    return blocks_[block].scale;
}

QPointF DrawingLayout::toTwips(const QPointF& pixel) const {
    if (sx_ <= 0 || sy_ <= 0)
        return {};
    return {(pixel.x() - target_.left() - x0_) / sx_, (pixel.y() - target_.top() - y0_) / sy_};
}

} // namespace ferrovane
