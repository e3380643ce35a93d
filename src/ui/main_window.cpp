#include "ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QVBoxLayout>

#include "calculators/catalogue.h"
#include "shell/example_files.h"
#include "shell/help_topics.h"
#include "shell/run.h"
#include "ui/calculator_window.h"
#include "ui/geometry.h"
#include "ui/help_window.h"

namespace ferrovane {

namespace {

// The design's measures in twips: the calculator buttons and the gaps
// between them, and the margin all round (the design's left margin).
constexpr int kButtonWidth = 1455;
constexpr int kButtonHeight = 495;
constexpr int kColumnGap = 305;
constexpr int kRowGap = 105;
constexpr int kMargin = 240;
constexpr int kDescribeHeight = 2055;
constexpr int kColumns = 4;
constexpr int kRows = 5;
// Room between a caption and its button's edge, in pixels.
constexpr int kCaptionPadX = 6;
constexpr int kCaptionPadY = 3;

// A push button whose caption wraps onto a second line inside it, in the
// window's font. Captions are stored with "&&" for a literal ampersand and
// carry no mnemonic. The caption is painted directly: twenty-two labels with
// their own layouts would cost a noticeable part of start-up. Enter, like
// Space, presses a button that has the keyboard focus.
class CaptionButton : public QPushButton {
public:
    CaptionButton(const QString& name, const QString& storedCaption, QWidget* parent)
        : QPushButton(parent), caption_(QString(storedCaption).replace("&&", "&")) {
        setObjectName(name);
        setAccessibleName(caption_.simplified());
        setAutoDefault(true);
    }

    const QString& caption() const { return caption_; }

    // The narrowest width that holds the caption on at most two lines: the
    // widest line of its best break between words. A greedy wrap at that
    // width needs no more lines than the best break does.
    int twoLineWidth() const {
        const QFontMetrics m(font());
        const QString text = caption_.trimmed();
        int best = m.horizontalAdvance(text);
        for (qsizetype i = text.indexOf(' '); i >= 0; i = text.indexOf(' ', i + 1)) {
            const int first = m.horizontalAdvance(text.left(i).trimmed());
            const int second = m.horizontalAdvance(text.mid(i + 1).trimmed());
            best = std::min(best, std::max(first, second));
        }
        return best + 2 * kCaptionPadX + 2; // a pixel either side for rounding
    }
    int twoLineHeight() const { return 2 * QFontMetrics(font()).lineSpacing() + 2 * kCaptionPadY; }

protected:
    void paintEvent(QPaintEvent*) override {
        QStylePainter p(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        option.text.clear();
        p.drawControl(QStyle::CE_PushButton, option);
        p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                 QPalette::ButtonText));
        p.drawText(rect().adjusted(kCaptionPadX, kCaptionPadY, -kCaptionPadX, -kCaptionPadY),
                   Qt::AlignCenter | Qt::TextWordWrap, caption_.trimmed());
    }

private:
    QString caption_;
};

// Every button of the grid is as large as the design makes it, or as the
// longest caption needs on two lines, whichever is larger.
QSize commonButtonSize(const std::vector<CaptionButton*>& buttons) {
    QSize size(twipsToPixels(kButtonWidth), twipsToPixels(kButtonHeight));
    for (const CaptionButton* b : buttons)
        size = size.expandedTo(QSize(b->twoLineWidth(), b->twoLineHeight()));
    return size;
}

} // namespace

MainWindow::MainWindow(DataDir dir, Dialogs* dialogs, QWidget* parent)
    : QWidget(parent), dir_(std::move(dir)), ownDialogs_(this),
      dialogs_(dialogs ? dialogs : &ownDialogs_), helpFolder_(helpFolder()) {
    setObjectName("Form00");
    setWindowTitle("Ferrovane Calculators Suite");

    frame_ = new QFrame(this);
    frame_->setObjectName("Frame01");
    frame_->setMouseTracking(true);
    frame_->installEventFilter(this);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame_);
    // The design's grid, with the same margin on every side.
    auto* grid = new QGridLayout(frame_);
    const int margin = twipsToPixels(kMargin);
    grid->setContentsMargins(margin, margin, margin, margin);
    grid->setHorizontalSpacing(twipsToPixels(kColumnGap));
    grid->setVerticalSpacing(twipsToPixels(kRowGap));

    describeBox_ = new QPlainTextEdit(frame_);
    describeBox_->setObjectName("TxtDescribe");
    describeBox_->setAccessibleName("Description");
    describeBox_->setReadOnly(true);
    describeBox_->setMinimumHeight(twipsToPixels(kDescribeHeight));
    describeBox_->setFocusPolicy(Qt::NoFocus);
    grid->addWidget(describeBox_, 0, 0, 1, kColumns);
    grid->setRowStretch(0, 1);

    std::vector<CaptionButton*> buttons;
    for (const CatalogueEntry& entry : catalogue()) {
        auto* button = new CaptionButton(QString::fromStdString(entry.button),
                                         QString::fromStdString(entry.caption), frame_);
        grid->addWidget(button, entry.row, entry.column - 1);
        buttons.push_back(button);
        button->setProperty("description", QString::fromStdString(entry.description));
        button->installEventFilter(this);
        if (entry.calculator) {
            connect(button, &QPushButton::clicked, this, [this, &entry] { openCalculator(entry); });
        } else {
            button->setEnabled(false);
            button->setToolTip("This calculator is not available yet.");
        }
    }

    auto* reset = new CaptionButton("CmdReset", "Restore Examples in all calculators.", frame_);
    grid->addWidget(reset, kRows + 1, 0, 1, kColumns - 1);
    reset->setProperty("description", QString(kResetDescription));
    reset->installEventFilter(this);
    connect(reset, &QPushButton::clicked, this, &MainWindow::restoreExamples);

    auto* end = new CaptionButton("CmdEnd", "End", frame_);
    grid->addWidget(end, kRows + 1, kColumns - 1);
    end->setProperty("description", QString(kEndDescription));
    end->installEventFilter(this);
    connect(end, &QPushButton::clicked, qApp, &QApplication::quit);

    buttons.push_back(end);
    const QSize size = commonButtonSize(buttons);
    for (CaptionButton* b : buttons)
        b->setMinimumSize(size);
    reset->setMinimumHeight(size.height());
    for (int column = 0; column < kColumns; ++column)
        grid->setColumnMinimumWidth(column, size.width());

    addHelpActions();
    addDesignMenu();

    resize(minimumSizeHint());
}

void MainWindow::addHelpActions() {
    // The window has no menu bar: the About box is on its context menu, and
    // on F1 while there is no help to show.
    auto* about = new QAction("About Ferrovane", this);
    about->setObjectName("ActAbout");
    connect(about, &QAction::triggered, this, &MainWindow::showAbout);
    addAction(about);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    // F1: the overview of the help. The help window itself is made then.
    auto* help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this, [this] {
        if (QFileInfo(helpFolder_ + "/" + kHelpOverview).isFile())
            showHelp(kHelpOverview);
        else
            showAbout();
    });
}

void MainWindow::showAbout() {
    dialogs_->show(Message{std::string("Ferrovane ") + FERROVANE_VERSION +
                               "\r\n\r\nCircuit-design calculators for radio and "
                               "electronics hobbyists.\r\n\r\nBuilt with Qt " +
                               qVersion() + ".",
                           "About Ferrovane", MessageIcon::Information});
}

MainWindow::~MainWindow() {
    if (open_)
        delete open_;
}

void MainWindow::showHelp(const QString& page) {
    if (!help_) {
        help_ = std::make_unique<HelpWindow>(helpFolder_);
        connect(help_.get(), &HelpWindow::exampleRequested, this, &MainWindow::loadExample);
    }
    help_->showPage(page);
}

void MainWindow::loadExample(const QString& id) {
    const CatalogueEntry* entry = findCalculator(id.toStdString());
    if (!entry || !entry->calculator)
        return;
    const Calculator& calc = entry->calculator();
    if (open_ && &open_->calculator() != &calc) {
        if (!open_->closeAndSave())
            return; // the user kept it open after a failed save
        open_ = nullptr;
    }
    CalculatorWindow* window = open_ ? open_.data() : openCalculator(*entry);
    window->setForm(exampleForm(calc));
    window->raise();
    window->activateWindow();
}

void MainWindow::start() {
    // The example files are written when the first one cannot be read: a
    // first start, or a user who deleted it.
    WriteResult written;
    if (!dir_.readFields("VoltDiv.DAT", 1))
        written = RestoreExamples(dir_);
    placeOnScreen(this, size());
    show();
    if (!written) {
        dialogs_->say("The example problems could not be written to the data directory\r\n" +
                          dir_.path().string() + "\r\n" + written.error,
                      MessageIcon::Exclamation);
    }
}

void MainWindow::restoreExamples() {
    // Reset asks nothing and says nothing, unless the files could not be
    // written: then the user must not believe that they were.
    const WriteResult written = RestoreExamples(dir_);
    if (!written)
        dialogs_->say("The example problems could not be written:\r\n" + written.error,
                      MessageIcon::Exclamation);
}

CalculatorWindow* MainWindow::openCalculator(const CatalogueEntry& entry) {
    if (!entry.calculator || open_)
        return open_;
    auto* window = new CalculatorWindow(entry.calculator(), dir_,
                                        dialogs_ == &ownDialogs_ ? nullptr : dialogs_);
    open_ = window;
    connectDesigns(window);
    connect(window, &CalculatorWindow::closed, this, [this] {
        show();
        activateWindow();
    });
    connect(window, &CalculatorWindow::helpRequested, this,
            [this, &entry] { showHelp(QString::fromStdString(helpPageFile(entry.id))); });
    hide();
    window->open();
    return window;
}

void MainWindow::describe(const QString& text) {
    if (describeBox_->toPlainText() != text)
        describeBox_->setPlainText(text);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // The keyboard's focus describes a button as the mouse does.
    if (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove ||
        event->type() == QEvent::FocusIn) {
        if (watched == frame_) {
            // Over the frame's background (not over one of its buttons).
            if (event->type() == QEvent::MouseMove) {
                auto* move = static_cast<QMouseEvent*>(event);
                QWidget* child = frame_->childAt(move->position().toPoint());
                if (!child)
                    describe(QString());
            }
        } else if (auto* button = qobject_cast<QPushButton*>(watched)) {
            describe(button->property("description").toString());
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace ferrovane
