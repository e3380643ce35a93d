// The named-design side of the calculator window: Save Design, Save Design
// As, Open Design, the title, the question before unsaved changes are lost,
// and design files dropped on the window.
#include <QAction>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMessageBox>
#include <QMetaMethod>
#include <QMimeData>
#include <QPushButton>

#include "calculators/catalogue.h"
#include "ui/calculator_window.h"

namespace ferrovane {

void CalculatorWindow::addDesignActions() {
    auto* separator = new QAction(this);
    separator->setSeparator(true);
    addAction(separator);
    const struct {
        const char* name;
        QString text;
        QKeySequence keys;
        std::function<void()> run;
    } actions[] = {
        {"ActSaveDesign", tr("Save Design"), QKeySequence(Qt::CTRL | Qt::Key_S),
         [this] { saveDesign(); }},
        {"ActSaveDesignAs", tr("Save Design As..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
         [this] { saveDesignAs(); }},
        {"ActOpenDesign", tr("Open Design..."), QKeySequence(Qt::CTRL | Qt::Key_O),
         [this] { chooseDesign(); }},
    };
    for (const auto& a : actions) {
        auto* action = new QAction(a.text, this);
        action->setObjectName(a.name);
        action->setShortcut(a.keys);
        connect(action, &QAction::triggered, this, a.run);
        addAction(action);
    }
    // Right-clicking the window (not a box) shows these and Print.
    setContextMenuPolicy(Qt::ActionsContextMenu);
    setAcceptDrops(true);
}

bool CalculatorWindow::designModified() {
    return !designFile_.isEmpty() && designLines(calc_, form_, env_) != design_.fields;
}

void CalculatorWindow::showDesignTitle() {
    QString title = qs(calc_.form.caption);
    if (!designFile_.isEmpty())
        title = QFileInfo(designFile_).completeBaseName() + (designModified() ? "*" : "") + " - " +
                title;
    if (windowTitle() != title)
        setWindowTitle(title);
}

bool CalculatorWindow::writeDesignTo(const QString& file) {
    const CatalogueEntry* entry = entryOf(calc_);
    if (!entry)
        return false;
    NamedDesign design = makeDesign(*entry, form_, env_, designTimeNow());
    design.title = design_.title;
    design.notes = design_.notes;
    design.explore = design_.explore;
    const WriteResult written = writeDesign(file.toStdString(), design);
    if (!written) {
        env_.dialogs.say("The design could not be saved:\r\n" + written.error,
                         MessageIcon::Exclamation);
        return false;
    }
    designFile_ = file;
    design_ = std::move(design);
    showDesignTitle();
    emit designSaved(file);
    return true;
}

bool CalculatorWindow::saveDesign() {
    return designFile_.isEmpty() ? saveDesignAs() : writeDesignTo(designFile_);
}

bool CalculatorWindow::saveDesignAs() {
    const CatalogueEntry* entry = entryOf(calc_);
    if (!entry)
        return false;
    const QString start = !designFile_.isEmpty()
                              ? designFile_
                              : QDir(designFolder()).filePath(qs(entry->id + kDesignExtension));
    const QString file = askFile_(this, true, start);
    return !file.isEmpty() && writeDesignTo(file);
}

void CalculatorWindow::chooseDesign() {
    const QString start =
        designFile_.isEmpty() ? designFolder() : QFileInfo(designFile_).absolutePath();
    const QString file = askFile_(this, false, start);
    if (!file.isEmpty())
        openDesign(file);
}

bool CalculatorWindow::openDesign(const QString& file) {
    const CatalogueEntry* entry = entryOf(calc_);
    if (!entry)
        return false;
    DesignRead read = readDesign(file.toStdString());
    if (!read) {
        env_.dialogs.say(read.error, MessageIcon::Exclamation);
        return false;
    }
    // Another calculator's design opens in its own window, when the main
    // window is there to open it; otherwise loading it says whose it is.
    const bool ours = read.design->calculator == entry->id;
    if (!ours && isSignalConnected(QMetaMethod::fromSignal(&CalculatorWindow::otherDesign))) {
        emit otherDesign(file);
        return false;
    }
    if (ours && !keepDesignChanges())
        return false;
    circuit_.reset();
    updateSpiceActions();
    if (!loadDesign(*entry, form_, env_, *read.design, file.toStdString())) {
        refresh();
        return false;
    }
    designFile_ = file;
    design_ = std::move(*read.design);
    // What Save would write now is what the file holds, as this window reads it.
    design_.fields = designLines(calc_, form_, env_);
    refresh();
    emit designOpened(file);
    return true;
}

bool CalculatorWindow::keepDesignChanges() {
    if (!designModified())
        return true;
    QMessageBox box(QMessageBox::Question, tr("Unsaved Design"),
                    tr("The design \"%1\" has changes that are not saved.\nSave them?")
                        .arg(QFileInfo(designFile_).completeBaseName()),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
    box.setObjectName("DesignChangesBox");
    box.setDefaultButton(QMessageBox::Save);
    switch (box.exec()) {
    case QMessageBox::Save:
        return saveDesign();
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

bool CalculatorWindow::dragsDesign(QEvent* event) {
    if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (droppedDesigns(drag->mimeData()).isEmpty())
            return false;
        drag->acceptProposedAction();
        return true;
    }
    if (event->type() == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(event);
        const QStringList files = droppedDesigns(drop->mimeData());
        if (files.isEmpty())
            return false;
        drop->acceptProposedAction();
        openDesign(files.first());
        return true;
    }
    return false;
}

void CalculatorWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!dragsDesign(event))
        QDialog::dragEnterEvent(event);
}

void CalculatorWindow::dropEvent(QDropEvent* event) {
    if (!dragsDesign(event))
        QDialog::dropEvent(event);
}

} // namespace ferrovane
