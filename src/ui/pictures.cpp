#include "ui/pictures.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
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

} // namespace

QPixmap picturePixmap(const QString& name, qreal devicePixelRatio) {
    const QString path = picturePath(name);
    if (path.isEmpty())
        return {};
    if (!isSvg(path)) {
        QImageReader reader(path);
        reader.setDecideFormatFromContent(true); // a ".GIF" that is really a PNG
        return QPixmap::fromImage(reader.read());
    }
    QSvgRenderer svg(path);
    if (!svg.isValid())
        return {};
    const QSize size = svg.defaultSize().isValid() ? svg.defaultSize() : QSize(240, 120);
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    svg.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return pixmap;
}

bool paintPicture(QPainter& painter, const QString& name, const QRectF& rect) {
    const QString path = picturePath(name);
    if (path.isEmpty())
        return false;
    if (isSvg(path)) {
        QSvgRenderer svg(path);
        if (!svg.isValid())
            return false;
        svg.render(&painter, rect);
        return true;
    }
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    const QImage image = reader.read();
    if (image.isNull())
        return false;
    painter.drawImage(rect, image);
    return true;
}

} // namespace ferrovane
