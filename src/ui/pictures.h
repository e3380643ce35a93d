#pragma once

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

// The picture at its natural size, for a screen of the given pixel ratio;
// a null pixmap when there is none or it cannot be read.
QPixmap picturePixmap(const QString& name, qreal devicePixelRatio);

// Draws the picture scaled into rect; false when there is none.
bool paintPicture(QPainter& painter, const QString& name, const QRectF& rect);

} // namespace ferrovane
