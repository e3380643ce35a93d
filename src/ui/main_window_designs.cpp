// The main window's side of named designs: Open Design... and the recent
// designs in its context menu, design files dropped on it, and the
// calculator window a design opens in.
#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QSettings>

#include "calculators/catalogue.h"
#include "shell/named_design.h"
#include "ui/main_window.h"

namespace ferrovane {

namespace {

constexpr const char* kRecentKey = "designs/recent";

} // namespace

void MainWindow::addDesignMenu() {
    auto* separator = new QAction(this);
    separator->setSeparator(true);
    addAction(separator);
    auto* open = new QAction(tr("Open Design..."), this);
    open->setObjectName("ActOpenDesign");
    open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    connect(open, &QAction::triggered, this, [this] {
        const QString file = askFile_(this, false, designFolder());
        if (!file.isEmpty())
            openDesign(file);
    });
    addAction(open);
    for (std::size_t i = 0; i < kMaxRecentDesigns; ++i) {
        auto* recent = new QAction(this);
        recent->setObjectName(QString("ActRecentDesign%1").arg(i + 1));
        connect(recent, &QAction::triggered, this, [this, i] { openRecent(i); });
        addAction(recent);
        recentActions_.push_back(recent);
    }
    setAcceptDrops(true);
    useSettingsFile({});
}

std::unique_ptr<QSettings> MainWindow::settings() const {
    return settingsFile_.isEmpty()
               ? std::make_unique<QSettings>()
               : std::make_unique<QSettings>(settingsFile_, QSettings::IniFormat);
}

void MainWindow::useSettingsFile(const QString& file) {
    settingsFile_ = file;
    recent_.clear();
    for (const QString& path : settings()->value(kRecentKey).toStringList())
        if (recent_.size() < kMaxRecentDesigns && !path.isEmpty())
            recent_.push_back(path.toStdString());
    showRecent(false);
}

void MainWindow::showRecent(bool store) {
    for (std::size_t i = 0; i < recentActions_.size(); ++i) {
        QAction* action = recentActions_[i];
        action->setVisible(i < recent_.size());
        if (i >= recent_.size())
            continue;
        const QFileInfo file(QString::fromStdString(recent_[i]));
        // "&1 antenna.fvd  (/home/me/designs)": the number picks it from the keyboard.
        action->setText(QString("&%1 %2  (%3)").arg(i + 1).arg(file.fileName(), file.path()));
        action->setToolTip(file.filePath());
    }
    if (!store)
        return;
    QStringList list;
    for (const std::string& path : recent_)
        list << QString::fromStdString(path);
    settings()->setValue(kRecentKey, list);
}

void MainWindow::remember(const QString& file) {
    recent_ = rememberDesign(recent_, QFileInfo(file).absoluteFilePath().toStdString());
    showRecent(true);
}

void MainWindow::openRecent(std::size_t index) {
    const RecentPick pick = pickRecent(recent_, index, [](const std::string& path) {
        return QFileInfo::exists(QString::fromStdString(path));
    });
    recent_ = pick.recent;
    showRecent(true);
    if (!pick.message.empty())
        dialogs_->say(pick.message, MessageIcon::Exclamation);
    if (pick.file)
        openDesign(QString::fromStdString(*pick.file));
}

void MainWindow::connectDesigns(CalculatorWindow* window) {
    window->setFileAsker(askFile_);
    connect(window, &CalculatorWindow::designSaved, this, &MainWindow::remember);
    connect(window, &CalculatorWindow::designOpened, this, &MainWindow::remember);
    // Queued: the window that asks may be closed to make room.
    connect(window, &CalculatorWindow::otherDesign, this, &MainWindow::openDesign,
            Qt::QueuedConnection);
}

bool MainWindow::openDesign(const QString& file) {
    const DesignRead read = readDesign(file.toStdString());
    if (!read) {
        dialogs_->say(read.error, MessageIcon::Exclamation);
        return false;
    }
    const CatalogueEntry* entry = findCalculator(read.design->calculator);
    if (open_ && &open_->calculator() != &entry->calculator()) {
        // One calculator window at a time: the open one closes as its
        // Close button closes it, unsaved design changes asked about.
        if (!open_->closeAndSave())
            return false;
        open_ = nullptr;
    }
    CalculatorWindow* window = open_ ? open_.data() : openCalculator(*entry);
    return window && window->openDesign(file);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!droppedDesigns(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QStringList files = droppedDesigns(event->mimeData());
    if (files.isEmpty())
        return;
    event->acceptProposedAction();
    openDesign(files.first());
}

} // namespace ferrovane
