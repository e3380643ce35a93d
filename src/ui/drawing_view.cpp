#include "ui/drawing_view.h"
#include "ui/save_prompt.h"

#include <QToolTip>

#include <QMouseEvent>

#include <QContextMenuEvent>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QMessageBox>
#include <QPaintDevice>
#include <QPainter>
#include <QScreen>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>

namespace ferrovane {

namespace {

constexpr double kTwipsPerInch = 1440;
constexpr int kScreenDpi = 96; // the drawings' design: 15 twips to a pixel
// However small the drawing, the widget keeps this size at least.
constexpr QSize kSmallestView(120, 80);

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

QColor qtColour(Colour bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

void paintDrawing(QPainter& painter, const Drawing& drawing, const QRectF& target,
                  double leastPoints) {
    paintDrawing(painter, drawing, DrawingLayout(drawing, target, leastPoints, painter.device()),
                 target);
}

void paintDrawing(QPainter& painter, const Drawing& drawing, const DrawingLayout& layout,
                  const QRectF& target) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.fillRect(target, qtColour(drawing.background));
    if (drawing.widthTwips <= 0 || drawing.heightTwips <= 0) {
        painter.restore();
        return;
    }
    painter.setClipRect(target);
    auto texts = layout.texts().begin();
    for (const Primitive& item : drawing.items) {
        if (const auto* l = std::get_if<LinePrimitive>(&item)) {
            QPen pen(qtColour(l->colour));
            pen.setWidthF(std::max(1.0, l->widthTwips * layout.lineScale(l->block)));
            pen.setCapStyle(Qt::FlatCap);
            painter.setPen(pen);
            painter.drawLine(layout.toPixels(l->x1, l->y1, l->block),
                             layout.toPixels(l->x2, l->y2, l->block));
        } else if (const auto* r = std::get_if<RectPrimitive>(&item)) {
            painter.fillRect(QRectF(layout.toPixels(r->x, r->y, r->block),
                                    layout.toPixels(r->x + r->width, r->y + r->height, r->block))
                                 .normalized(),
                             qtColour(r->colour));
        } else if (const auto* t = std::get_if<TextPrimitive>(&item)) {
            const PlacedText& placed = *texts++;
            painter.setFont(placed.font);
            painter.setPen(qtColour(t->colour));
            painter.save();
            painter.translate(placed.point);
            if (placed.vertical)
                painter.rotate(-90); // read from bottom to top
            painter.drawText(placed.baseline, placed.text);
            painter.restore();
        }
    }
    painter.restore();
}

bool saveDrawing(const Drawing& drawing, const QString& path, QSize size, double leastPoints) {
    if (size.isEmpty())
        return false;
    if (path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) {
        QSvgGenerator svg;
        svg.setFileName(path);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setResolution(kScreenDpi);
        svg.setTitle(QStringLiteral("Graph"));
        QPainter painter;
        if (!painter.begin(&svg))
            return false;
        paintDrawing(painter, drawing, QRectF(QPointF(0, 0), QSizeF(size)), leastPoints);
        return painter.end();
    }
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        paintDrawing(painter, drawing, QRectF(QPointF(0, 0), QSizeF(size)), leastPoints);
    }
    return image.save(path, "PNG");
}

DrawingView::DrawingView(QWidget* parent) : QWidget(parent) {
    // Reachable with Tab, so that a screen reader reads its texts out.
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setContextMenuPolicy(Qt::DefaultContextMenu);
}

void DrawingView::setDrawing(const Drawing& drawing) {
    if (drawing == drawing_)
        return;
    drawing_ = drawing;
    layout_.reset();
    describe();
    updateGeometry();
    update();
}

void DrawingView::setDescription(const QString& description) {
    description_ = description;
    describe();
}

void DrawingView::describe() {
    QStringList lines;
    for (const auto& t : drawing_.texts())
        lines << qs(t);
    setAccessibleDescription(lines.isEmpty() ? description_ : lines.join('\n'));
}

QSize DrawingView::sizeHint() const {
    return QSize(static_cast<int>(drawing_.widthTwips / 15),
                 static_cast<int>(drawing_.heightTwips / 15))
        .expandedTo(minimumSizeHint());
}

double DrawingView::leastPoints() const {
    return QFontInfo(font()).pointSizeF() - 1;
}

QSize DrawingView::minimumSizeHint() const {
    // In a rectangle this small every text stands at the least size.
    const DrawingLayout smallest(drawing_, QRectF(0, 0, 1, 1), leastPoints(), this);
    const QSizeF least = smallest.leastSize();
    return QSize(static_cast<int>(std::ceil(least.width())),
                 static_cast<int>(std::ceil(least.height())))
        .expandedTo(kSmallestView);
}

const DrawingLayout& DrawingView::layout() const {
    if (!layout_)
        layout_.emplace(drawing_, QRectF(rect()), leastPoints(), this);
    return *layout_;
}

void DrawingView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintDrawing(painter, drawing_, layout(), QRectF(rect()));
}

void DrawingView::resizeEvent(QResizeEvent* event) {
    layout_.reset();
    QWidget::resizeEvent(event);
}

void DrawingView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        layout_.reset();
        updateGeometry();
    }
    QWidget::changeEvent(event);
}

void DrawingView::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.addAction(tr("Save Graph as PNG..."), this,
                   [this] { saveAs(tr("PNG pictures (*.png)"), ".png"); });
    menu.addAction(tr("Save Graph as SVG..."), this,
                   [this] { saveAs(tr("SVG drawings (*.svg)"), ".svg"); });
    for (const auto& [caption, action] : entries_)
        menu.addAction(caption, this, action);
    menu.exec(event->globalPos());
}

void DrawingView::setPointerText(std::function<QString(double, double)> text) {
    pointerText_ = std::move(text);
    setMouseTracking(static_cast<bool>(pointerText_));
}

QString DrawingView::pointerTextAt(const QPointF& pixel) const {
    if (!pointerText_ || width() <= 0 || height() <= 0 || drawing_.widthTwips <= 0)
        return {};
    const QPointF twips = layout().toTwips(pixel);
    return pointerText_(twips.x(), twips.y());
}

void DrawingView::mouseMoveEvent(QMouseEvent* event) {
    const QString text = pointerTextAt(event->position());
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(event->globalPosition().toPoint(), text, this);
    QWidget::mouseMoveEvent(event);
}

void DrawingView::saveAs(const QString& filter, const QString& suffix) {
    QString path = askSaveFile(this, tr("Save Graph"), filter);
    if (path.isEmpty())
        return;
    if (!path.endsWith(suffix, Qt::CaseInsensitive))
        path += suffix;
    // Twice the size on the screen, so that a printed copy stays sharp.
    const int times = suffix == ".png" ? 2 : 1;
    if (!saveDrawing(drawing_, path, size() * times, leastPoints() * times))
        QMessageBox::warning(this, tr("Save Graph"),
                             tr("The graph could not be saved in \"%1\".").arg(path));
}

namespace {

// Twips per pixel of the metrics of a font made without a paint device,
// which Qt measures for the primary screen.
double twipsPerPixel() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInchX() : kScreenDpi;
    return kTwipsPerInch / (dpi > 0 ? dpi : kScreenDpi);
}

} // namespace

double QtTextMetrics::width(const std::string& text, const Font& font) const {
    return QFontMetricsF(qtFont(font)).horizontalAdvance(qs(text)) * twipsPerPixel();
}

double QtTextMetrics::height(const Font& font) const {
    return QFontMetricsF(qtFont(font)).lineSpacing() * twipsPerPixel();
}

} // namespace ferrovane
