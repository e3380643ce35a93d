#include "ui/pictures.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QPixmapCache>
#include <QSvgRenderer>

namespace ferrovane {

QString findPicture(const QString& file) {
    const QStringList dirs = {QCoreApplication::applicationDirPath() + "/pictures",
                              QCoreApplication::applicationDirPath(),
                              QStringLiteral(FERROVANE_PICTURES_INSTALL_DIR),
                              // A copy run from its build tree.
                              QStringLiteral(FERROVANE_PICTURES_SOURCE_DIR)};
    for (const QString& dir : dirs) {
        const QFileInfo info(dir + "/" + file);
        if (info.isFile())
            return info.filePath();
    }
    return {};
}

QString picturePath(const QString& name) {
    if (name.isEmpty())
        return {};
    if (name.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive))
        return findPicture(name);
    const QDir programDir(QCoreApplication::applicationDirPath());
    for (const QString& entry : programDir.entryList(QDir::Files))
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return programDir.filePath(entry);
    return findPicture(QFileInfo(name).completeBaseName() + ".svg");
}

namespace {

bool isSvg(const QString& path) {
    return path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive);
}

// A drawing with its lines and texts in the ink: "currentColor" is given
// the ink's value before the drawing is read, so the ink does not depend
// on how the SVG reader treats the keyword.
bool loadInked(QSvgRenderer& svg, const QString& path, const QColor& ink) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QByteArray text = file.readAll();
    text.replace("currentColor", ink.name(QColor::HexRgb).toLatin1());
    return svg.load(text);
}

QImage readRaster(const QString& path) {
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true); // a ".GIF" that is really a PNG
    return reader.read();
}

} // namespace

QPixmap picturePixmap(const QString& name, qreal devicePixelRatio, const QColor& ink) {
    const QString path = picturePath(name);
    if (path.isEmpty())
        return {};
    if (!isSvg(path))
        return QPixmap::fromImage(readRaster(path));
    const QString key = QStringLiteral("ferrovane-picture|%1|%2|%3")
                            .arg(path, ink.name(QColor::HexArgb))
                            .arg(devicePixelRatio);
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;
    QSvgRenderer svg;
    if (!loadInked(svg, path, ink))
        return {};
    const QSize size = svg.defaultSize().isValid() ? svg.defaultSize() : QSize(240, 120);
    pixmap = QPixmap(size * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    svg.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    painter.end();
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

bool paintPicture(QPainter& painter, const QString& name, const QRectF& rect, const QColor& ink) {
    const QString path = picturePath(name);
    if (path.isEmpty())
        return false;
    if (isSvg(path)) {
        QSvgRenderer svg;
        if (!loadInked(svg, path, ink))
            return false;
        svg.render(&painter, rect);
        return true;
    }
    const QImage image = readRaster(path);
    if (image.isNull())
        return false;
    painter.drawImage(rect, image);
    return true;
}

} // namespace ferrovane
