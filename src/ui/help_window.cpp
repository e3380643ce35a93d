#include "ui/help_window.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSplitter>
#include <QStyle>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "shell/help_topics.h"
#include "ui/geometry.h"
#include "ui/pictures.h"

namespace ferrovane {

namespace {

constexpr const char* kExampleScheme = "ferrovane";
constexpr const char* kExamplePath = "example/";

// Pages name their pictures "../pictures/NAME.svg", which holds beside the
// executable and where both are installed. They are found as the calculator
// windows find them (from the source tree too) and drawn sharp for the
// screen's pixel ratio, in the page's text colour. A page that is not there reads as a short note
// rather than an empty window.
class HelpBrowser : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;

    QVariant loadResource(int type, const QUrl& name) override {
        const QUrl url = source().resolved(name);
        const bool missing = url.isLocalFile() && !QFileInfo(url.toLocalFile()).isFile();
        const QString file = QFileInfo(name.path()).fileName();
        if (type == QTextDocument::ImageResource &&
            file.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) {
            const QPixmap picture =
                picturePixmap(file, devicePixelRatioF(), palette().color(QPalette::Text));
            if (!picture.isNull())
                return picture.toImage();
        } else if (type == QTextDocument::HtmlResource && missing) {
            return QString("<html><head><title>No help page</title></head><body>"
                           "<h1>No help page</h1><p>The page %1 is not in the help folder "
                           "%2.</p><p><a href=\"%3\">All calculators</a></p></body></html>")
                .arg(file.toHtmlEscaped(), QFileInfo(url.toLocalFile()).path().toHtmlEscaped(),
                     kHelpOverview);
        }
        return QTextBrowser::loadResource(type, name);
    }
};

QPushButton* barButton(const QString& name, const QString& caption, QStyle::StandardPixmap icon,
                       QWidget* owner) {
    auto* button = new QPushButton(owner->style()->standardIcon(icon), caption, owner);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

QAction* shortcut(QWidget* owner, const QKeySequence& keys) {
    auto* action = new QAction(owner);
    action->setShortcut(keys);
    owner->addAction(action);
    return action;
}

} // namespace

QString helpFolder() {
    const QStringList dirs = {QCoreApplication::applicationDirPath() + "/help",
                              QStringLiteral(FERROVANE_HELP_INSTALL_DIR),
                              // A copy run from its build tree.
                              QStringLiteral(FERROVANE_HELP_SOURCE_DIR)};
    for (const QString& dir : dirs)
        if (QFileInfo(dir).isDir())
            return dir;
    return dirs.back();
}

HelpWindow::HelpWindow(QString folder, QWidget* parent)
    : QWidget(parent, Qt::Window), folder_(std::move(folder)), index_(folder_) {
    setObjectName("HelpWindow");
    setWindowTitle("Ferrovane help");
    // Closing the main window ends the program even while help is open.
    setAttribute(Qt::WA_QuitOnClose, false);

    back_ = barButton("HelpBack", tr("&Back"), QStyle::SP_ArrowBack, this);
    forward_ = barButton("HelpForward", tr("&Forward"), QStyle::SP_ArrowForward, this);
    contents_ = barButton("HelpContents", tr("&Contents"), QStyle::SP_DirHomeIcon, this);
    print_ = barButton("HelpPrint", tr("&Print..."), QStyle::SP_DialogSaveButton, this);
    searchBox_ = new QLineEdit(this);
    searchBox_->setObjectName("HelpSearch");
    searchBox_->setPlaceholderText(tr("Words on any page"));
    searchBox_->setClearButtonEnabled(true);
    auto* searchLabel = new QLabel(tr("&Search:"), this);
    searchLabel->setBuddy(searchBox_);
    searchBox_->setAccessibleName(tr("Search all help pages"));

    results_ = new QListWidget(this);
    results_->setObjectName("HelpResults");
    results_->setAccessibleName(tr("Pages found"));
    results_->hide();
    browser_ = new HelpBrowser(this);
    browser_->setObjectName("HelpBrowser");
    browser_->setAccessibleName(tr("Help page"));
    // Every link comes to follow(): the example links are ours to handle.
    browser_->setOpenLinks(false);

    auto* bar = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{back_, forward_, contents_, print_})
        bar->addWidget(w);
    bar->addStretch(1);
    bar->addWidget(searchLabel);
    bar->addWidget(searchBox_, 1);
    auto* split = new QSplitter(Qt::Horizontal, this);
    split->addWidget(results_);
    split->addWidget(browser_);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 4);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(bar);
    outer->addWidget(split, 1);
    connectActions();

    const int em = fontMetrics().averageCharWidth();
    resize(em * 110, fontMetrics().height() * 42);
}

void HelpWindow::connectActions() {
    back_->setEnabled(false);
    forward_->setEnabled(false);
    connect(back_, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward_, &QPushButton::clicked, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QPushButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QPushButton::setEnabled);
    connect(contents_, &QPushButton::clicked, this, [this] { showPage(kHelpOverview); });
    connect(print_, &QPushButton::clicked, this, &HelpWindow::print);
    connect(browser_, &QTextBrowser::anchorClicked, this, &HelpWindow::follow);
    connect(browser_, &QTextBrowser::sourceChanged, this, &HelpWindow::pageChanged);
    connect(searchBox_, &QLineEdit::textChanged, this, &HelpWindow::search);
    connect(searchBox_, &QLineEdit::returnPressed, this, [this] { showHit(results_->item(0)); });
    connect(results_, &QListWidget::itemClicked, this, &HelpWindow::showHit);
    connect(results_, &QListWidget::itemActivated, this, &HelpWindow::showHit);

    connect(shortcut(this, QKeySequence::Back), &QAction::triggered, browser_,
            &QTextBrowser::backward);
    connect(shortcut(this, QKeySequence::Forward), &QAction::triggered, browser_,
            &QTextBrowser::forward);
    connect(shortcut(this, QKeySequence::Print), &QAction::triggered, this, &HelpWindow::print);
    connect(shortcut(this, QKeySequence::Find), &QAction::triggered, this, [this] {
        searchBox_->setFocus(Qt::ShortcutFocusReason);
        searchBox_->selectAll();
    });
    connect(shortcut(this, QKeySequence::HelpContents), &QAction::triggered, this,
            [this] { showPage(kHelpOverview); });
    connect(shortcut(this, Qt::Key_Escape), &QAction::triggered, this, &QWidget::close);
}

void HelpWindow::showPage(const QString& file) {
    open(QUrl::fromLocalFile(QFileInfo(folder_ + "/" + file).absoluteFilePath()));
    if (!isVisible())
        placeOnScreen(this, size());
    show();
    raise();
    activateWindow();
}

QString HelpWindow::currentPage() const {
    return browser_->source().fileName();
}

void HelpWindow::open(const QUrl& url) {
    browser_->setSource(url, QTextDocument::HtmlResource);
    browser_->setFocus(Qt::OtherFocusReason);
}

void HelpWindow::pageChanged() {
    const QString title = browser_->documentTitle();
    setWindowTitle(title.isEmpty() ? tr("Ferrovane help") : title);
    browser_->setAccessibleDescription(title);
}

void HelpWindow::follow(const QUrl& link) {
    if (link.scheme() == QLatin1String(kExampleScheme)) {
        const QString path = link.path();
        if (path.startsWith(QLatin1String(kExamplePath)))
            emit exampleRequested(path.mid(int(qstrlen(kExamplePath))));
        return;
    }
    // Only pages of the help folder: the viewer goes to no network.
    const QUrl target = browser_->source().resolved(link);
    if (target.isLocalFile())
        open(target);
}

void HelpWindow::search(const QString& query) {
    if (searchBox_->text() != query) {
        searchBox_->setText(query); // which comes back here through textChanged
        return;
    }
    results_->clear();
    const std::vector<HelpHit> hits = index_.find(query);
    results_->setVisible(!query.trimmed().isEmpty());
    if (hits.empty() && results_->isVisibleTo(this)) {
        auto* none = new QListWidgetItem(tr("No page holds all of these words."), results_);
        none->setFlags(Qt::NoItemFlags);
    }
    for (const HelpHit& hit : hits) {
        auto* item = new QListWidgetItem(hit.title, results_);
        item->setData(Qt::UserRole, hit.file);
        item->setToolTip(hit.file);
    }
}

void HelpWindow::showHit(QListWidgetItem* item) {
    if (!item || item->data(Qt::UserRole).toString().isEmpty())
        return;
    const QString file = item->data(Qt::UserRole).toString();
    if (currentPage() != file)
        open(QUrl::fromLocalFile(QFileInfo(folder_ + "/" + file).absoluteFilePath()));
    // Show the first place where the first word of the search stands.
    const QStringList words = HelpIndex::words(searchBox_->text());
    QTextCursor start = browser_->textCursor();
    start.movePosition(QTextCursor::Start);
    browser_->setTextCursor(start);
    if (!words.isEmpty())
        browser_->find(words.first(), QTextDocument::FindWholeWords);
}

void HelpWindow::print() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(browser_->documentTitle());
    if (!printFile_.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printFile_);
    } else {
        QPrintDialog dialog(&printer, this);
        dialog.setWindowTitle(tr("Print Help Page"));
        if (dialog.exec() != QDialog::Accepted)
            return;
    }
    browser_->print(&printer);
}

} // namespace ferrovane
