#pragma once

#include <QColor>
#include <QFont>
#include <QSize>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "shell/drawing.h"
#include "ui/drawing_layout.h"

class QPainter;
class QRectF;

namespace ferrovane {

QColor qtColour(Colour bgr);

// Paints the display list scaled from twips into target as DrawingLayout
// places it, its texts no smaller than leastPoints.
void paintDrawing(QPainter& painter, const Drawing& drawing, const QRectF& target,
                  double leastPoints = 0);
void paintDrawing(QPainter& painter, const Drawing& drawing, const DrawingLayout& layout,
                  const QRectF& target);

// Writes the drawing as a PNG picture of the given size, or as SVG when the
// path ends in ".svg". False when the file could not be written.
bool saveDrawing(const Drawing& drawing, const QString& path, QSize size, double leastPoints = 0);

// A graph or other drawing of the form, scaled to the widget. Its texts, in
// drawing order, are its accessible description; a context menu saves it.
// Its texts keep at least the size of the window's font less one point, and
// lie inside the widget whatever its size.
class DrawingView : public QWidget {
public:
    explicit DrawingView(QWidget* parent = nullptr);

    void setDrawing(const Drawing& drawing);
    const Drawing& drawing() const { return drawing_; }
    // What assistive technology reads while the drawing has no texts.
    void setDescription(const QString& description);

    // The least point size of the texts: the widget's font less one point.
    double leastPoints() const;
    // The drawing as it is painted at the widget's present size.
    const DrawingLayout& layout() const;
    const std::vector<PlacedText>& paintedTexts() const { return layout().texts(); }

    QSize sizeHint() const override;
    // Small enough to let the drawing shrink, large enough for its texts.
    QSize minimumSizeHint() const override;

    // Entries of the context menu beyond saving the picture.
    using MenuEntry = std::pair<QString, std::function<void()>>;
    void setMenuEntries(std::vector<MenuEntry> entries) { entries_ = std::move(entries); }
    const std::vector<MenuEntry>& menuEntries() const { return entries_; }
    // What the point under the mouse means, from its position in twips; an
    // empty text outside the plot. Shown as a tooltip while the mouse moves.
    void setPointerText(std::function<QString(double xTwips, double yTwips)> text);
    QString pointerTextAt(const QPointF& pixel) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void describe();
    void saveAs(const QString& filter, const QString& suffix);

    Drawing drawing_;
    mutable std::optional<DrawingLayout> layout_; // made when first needed
    QString description_;
    std::vector<MenuEntry> entries_;
    std::function<QString(double, double)> pointerText_;
};

// Text sizes of the screen's fonts, in twips.
class QtTextMetrics : public TextMetrics {
public:
    double width(const std::string& text, const Font& font) const override;
    double height(const Font& font) const override;
};

} // namespace ferrovane
