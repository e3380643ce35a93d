#pragma once

#include <QColor>
#include <QPixmap>
#include <QString>

class QPainter;
class QRectF;

namespace ferrovane {

// Where our own pictures are looked for: beside the executable, then in the
// installed data directory, then in the source tree it was built from.
QString findPicture(const QString& file);

// The file shown for a picture name as a calculator gives it ("Inv.GIF"): a
// file of exactly that name, in any letter case, in the program directory;
// otherwise our drawing of the same base name with ".svg" ("Inv.svg").
// Empty when there is neither.
QString picturePath(const QString& name);

// Our drawings have no background of their own, and draw their lines and
// texts in "currentColor": the ink they are given here, the text colour of
// the widget that shows them (black on paper). A user's own raster picture
// is shown as it is.

// The picture at its natural size, for a screen of the given pixel ratio;
// a null pixmap when there is none or it cannot be read. Drawings are kept
// once made, so a window that opens again does not draw them anew.
QPixmap picturePixmap(const QString& name, qreal devicePixelRatio, const QColor& ink);

// Draws the picture scaled into rect; false when there is none.
bool paintPicture(QPainter& painter, const QString& name, const QRectF& rect,
                  const QColor& ink = Qt::black);

} // namespace ferrovane
