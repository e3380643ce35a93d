#include "ui/qt_printer.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include "ui/drawing_view.h"
#include "ui/pictures.h"

namespace ferrovane {

namespace {

constexpr double kTwipsPerInch = 1440;
// Texts of a drawing on paper keep this size however far the drawing is
// scaled down to the page's width.
constexpr double kLeastDrawingPoints = 8;

} // namespace

bool QtPrinter::print(const PrintJob& job) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QString::fromStdString(job.title));
    // Positions are measured from the corner of the sheet, not the margins.
    printer.setFullPage(true);
    if (!outputFile_.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(outputFile_);
    } else {
        QPrintDialog dialog(&printer, parent_);
        dialog.setWindowTitle(QObject::tr("Print"));
        if (dialog.exec() != QDialog::Accepted)
            return false;
    }
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    // From here on the painter's units are twips.
    painter.scale(printer.logicalDpiX() / kTwipsPerInch, printer.logicalDpiY() / kTwipsPerInch);
    bool first = true;
    for (const PrintPage& page : job.pages) {
        if (!first && !printer.newPage())
            return false;
        first = false;
        for (const PrintPicture& picture : page.pictures)
            paintPicture(painter, QString::fromStdString(picture.file),
                         QRectF(picture.x, picture.y, picture.widthTwips, picture.heightTwips));
        for (const PrintDrawing& d : page.drawings) {
            // Laid out in the printer's own pixels, where its fonts are measured.
            painter.save();
            const QTransform twips = painter.transform();
            painter.resetTransform();
            paintDrawing(painter, d.drawing,
                         twips.mapRect(QRectF(d.x, d.y, d.widthTwips, d.heightTwips)),
                         kLeastDrawingPoints);
            painter.restore();
        }
        for (const PrintLine& line : page.lines) {
            // A font in twips: a point is 20 twips.
            QFont font = qtFont(line.font);
            font.setPixelSize(std::max(1, static_cast<int>(line.font.points * 20 + 0.5)));
            painter.setFont(font);
            painter.setPen(Qt::black);
            const QFontMetricsF metrics(font, &printer);
            // The position is the top of the line, as a printer's print
            // position is.
            painter.drawText(QPointF(line.x, line.y + metrics.ascent()),
                             QString::fromStdString(line.text));
        }
    }
    return painter.end();
}

} // namespace ferrovane
