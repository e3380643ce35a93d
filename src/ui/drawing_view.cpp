#include "ui/drawing_view.h"
#include "ui/save_prompt.h"

#include <QToolTip>

#include <QMouseEvent>

#include <QContextMenuEvent>
#include <QFontDatabase>
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

namespace ferrovane {

namespace {

constexpr double kTwipsPerPoint = 20;
constexpr double kTwipsPerInch = 1440;
constexpr int kScreenDpi = 96; // the drawings' design: 15 twips to a pixel

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

// Where a text's point lies within its box, by its anchors, in the text's
// own direction: the offset from the point to the start of its baseline.
QPointF baselineOffset(const TextPrimitive& t, const QFontMetricsF& fm) {
    const double w = fm.horizontalAdvance(qs(t.text));
    double dx = 0;
    if (t.h == HAnchor::Centre)
        dx = -w / 2;
    else if (t.h == HAnchor::Right)
        dx = -w;
    double dy = fm.ascent();
    if (t.v == VAnchor::Middle)
        dy = (fm.ascent() - fm.descent()) / 2;
    else if (t.v == VAnchor::Bottom)
        dy = -fm.descent();
    return {dx, dy};
}

} // namespace

QColor qtColour(Colour bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

QFont qtFont(const Font& font) {
    QFont f = font.fixedPitch ? QFontDatabase::systemFont(QFontDatabase::FixedFont)
                              : QGuiApplication::font();
    f.setPointSizeF(font.points);
    f.setBold(font.bold);
    return f;
}

void paintDrawing(QPainter& painter, const Drawing& drawing, const QRectF& target) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.fillRect(target, qtColour(drawing.background));
    if (drawing.widthTwips <= 0 || drawing.heightTwips <= 0) {
        painter.restore();
        return;
    }
    const double sx = target.width() / drawing.widthTwips;
    const double sy = target.height() / drawing.heightTwips;
    const double s = std::min(sx, sy);
    auto at = [&](double x, double y) {
        return QPointF(target.left() + x * sx, target.top() + y * sy);
    };
    // Fonts are sized in this device's points: twips scaled to its pixels.
    const double dpi = painter.device() ? painter.device()->logicalDpiY() : kScreenDpi;
    const double pointsPerTwip = s * 72.0 / dpi;
    painter.setClipRect(target);
    for (const Primitive& item : drawing.items) {
        if (const auto* l = std::get_if<LinePrimitive>(&item)) {
            QPen pen(qtColour(l->colour));
            pen.setWidthF(std::max(1.0, l->widthTwips * s));
            pen.setCapStyle(Qt::FlatCap);
            painter.setPen(pen);
            painter.drawLine(at(l->x1, l->y1), at(l->x2, l->y2));
        } else if (const auto* t = std::get_if<TextPrimitive>(&item)) {
            QFont font = qtFont(t->font);
            font.setPointSizeF(std::max(1.0, t->font.points * kTwipsPerPoint * pointsPerTwip));
            painter.setFont(font);
            painter.setPen(qtColour(t->colour));
            const QFontMetricsF fm(font, painter.device());
            painter.save();
            painter.translate(at(t->x, t->y));
            if (t->vertical)
                painter.rotate(-90); // read from bottom to top
            painter.drawText(baselineOffset(*t, fm), qs(t->text));
            painter.restore();
        }
    }
    painter.restore();
}

bool saveDrawing(const Drawing& drawing, const QString& path, QSize size) {
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
        paintDrawing(painter, drawing, QRectF(QPointF(0, 0), QSizeF(size)));
        return painter.end();
    }
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        paintDrawing(painter, drawing, QRectF(QPointF(0, 0), QSizeF(size)));
    }
    return image.save(path, "PNG");
}

DrawingView::DrawingView(QWidget* parent) : QWidget(parent) {
    // Reachable with Tab, so that a screen reader reads its texts out.
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setMinimumSize(120, 80);
    setContextMenuPolicy(Qt::DefaultContextMenu);
}

void DrawingView::setDrawing(const Drawing& drawing) {
    if (drawing == drawing_)
        return;
    drawing_ = drawing;
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
        .expandedTo(minimumSize());
}

void DrawingView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintDrawing(painter, drawing_, QRectF(rect()));
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
    // The drawing fills the widget: each axis scales on its own.
    return pointerText_(pixel.x() * drawing_.widthTwips / width(),
                        pixel.y() * drawing_.heightTwips / height());
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
    const QSize size = suffix == ".png" ? this->size() * 2 : this->size();
    if (!saveDrawing(drawing_, path, size))
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
