#include "ui/design_ui.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>
#include <QStandardPaths>
#include <QUrl>

#include "shell/named_design.h"

namespace ferrovane {

namespace {

const QString& extension() {
    static const QString ext = QString::fromLatin1(kDesignExtension);
    return ext;
}

} // namespace

QString askDesignFile(QWidget* parent, bool save, const QString& start) {
    const QString filter = QObject::tr("Ferrovane designs (*%1)").arg(extension());
    if (!save)
        return QFileDialog::getOpenFileName(parent, QObject::tr("Open Design"), start,
                                            filter + QObject::tr(";;All files (*)"));
    // The dialog adds the extension itself, so it can ask before it
    // replaces a file of the name it will write.
    QFileDialog dialog(parent, QObject::tr("Save Design As"), start, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(extension().mid(1));
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

QString designFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

QStringList droppedDesigns(const QMimeData* mime) {
    QStringList files;
    if (!mime || !mime->hasUrls())
        return files;
    for (const QUrl& url : mime->urls())
        if (url.isLocalFile() && url.toLocalFile().endsWith(extension(), Qt::CaseInsensitive))
            files << url.toLocalFile();
    return files;
}

} // namespace ferrovane
