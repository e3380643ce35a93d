#include "ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QFrame>
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

constexpr int kDesignWidth = 7605;
constexpr int kDesignHeight = 6720;
constexpr int kButtonWidth = 1455;
constexpr int kButtonHeight = 495;
constexpr int kColumnLeft[] = {240, 2000, 3760, 5520};
constexpr int kRowTop[] = {2400, 3000, 3600, 4200, 4800};

QRect twipsRect(int left, int top, int width, int height) {
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}

// A push button whose caption wraps inside it, in a font made smaller until
// every line fits. Captions are stored with "&&" for a literal ampersand and
// carry no mnemonic. The caption is painted directly: twenty-two labels with
// their own layouts would cost a noticeable part of start-up.
class CaptionButton : public QPushButton {
public:
    CaptionButton(const QString& name, const QString& storedCaption, QWidget* parent)
        : QPushButton(parent), caption_(QString(storedCaption).replace("&&", "&")) {
        setObjectName(name);
        setAccessibleName(caption_.simplified());
    }

    const QString& caption() const { return caption_; }

protected:
    void paintEvent(QPaintEvent*) override {
        QStylePainter p(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        option.text.clear();
        p.drawControl(QStyle::CE_PushButton, option);
        const QRect room = rect().adjusted(3, 2, -3, -2);
        if (fittedFor_ != room.size()) {
            fitted_ = font();
            const int flags = Qt::AlignCenter | Qt::TextWordWrap;
            while (fitted_.pointSizeF() > 6.0 &&
                   QFontMetrics(fitted_).boundingRect(room, flags, caption_).height() >
                       room.height())
                fitted_.setPointSizeF(fitted_.pointSizeF() - 0.5);
            fittedFor_ = room.size();
        }
        p.setFont(fitted_);
        p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                 QPalette::ButtonText));
        p.drawText(room, Qt::AlignCenter | Qt::TextWordWrap, caption_);
    }

private:
    QString caption_;
    QFont fitted_;
    QSize fittedFor_;
};

} // namespace

MainWindow::MainWindow(DataDir dir, Dialogs* dialogs, QWidget* parent)
    : QWidget(parent), dir_(std::move(dir)), ownDialogs_(this),
      dialogs_(dialogs ? dialogs : &ownDialogs_) {
    setObjectName("Form00");
    setWindowTitle("Ferrovane Calculators Suite");

    frame_ = new QFrame(this);
    frame_->setObjectName("Frame01");
    frame_->setGeometry(0, 0, twipsToPixels(kDesignWidth), twipsToPixels(kDesignHeight));
    frame_->setMouseTracking(true);
    frame_->installEventFilter(this);

    describeBox_ = new QPlainTextEdit(frame_);
    describeBox_->setObjectName("TxtDescribe");
    describeBox_->setAccessibleName("Description");
    describeBox_->setReadOnly(true);
    describeBox_->setGeometry(twipsRect(240, 240, 6735, 2055));
    describeBox_->setFocusPolicy(Qt::NoFocus);

    QFont small = font();
    if (small.pointSizeF() > 8.5)
        small.setPointSizeF(8.5);

    for (const CatalogueEntry& entry : catalogue()) {
        auto* button = new CaptionButton(QString::fromStdString(entry.button),
                                         QString::fromStdString(entry.caption), frame_);
        button->setFont(small);
        button->setGeometry(twipsRect(kColumnLeft[entry.column - 1], kRowTop[entry.row - 1],
                                      kButtonWidth, kButtonHeight));
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
    reset->setGeometry(twipsRect(240, 5400, 4995, 495));
    reset->setProperty("description", QString(kResetDescription));
    reset->installEventFilter(this);
    connect(reset, &QPushButton::clicked, this, &MainWindow::restoreExamples);

    auto* end = new CaptionButton("CmdEnd", "End", frame_);
    end->setGeometry(twipsRect(5520, 5400, 1455, 495));
    end->setProperty("description", QString(kEndDescription));
    end->installEventFilter(this);
    connect(end, &QPushButton::clicked, qApp, &QApplication::quit);

    // The window has no menu bar: the About box is on its context menu.
    auto* about = new QAction("About Ferrovane", this);
    about->setObjectName("ActAbout");
    connect(about, &QAction::triggered, this, [this] {
        dialogs_->show(Message{std::string("Ferrovane ") + FERROVANE_VERSION +
                                   "\r\n\r\nCircuit-design calculators for radio and "
                                   "electronics hobbyists.\r\n\r\nBuilt with Qt " +
                                   qVersion() + ".",
                               "About Ferrovane", MessageIcon::Information});
    });
    addAction(about);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    // F1: the overview of the help. The help window itself is made then.
    auto* help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this, [this] { showHelp(kHelpOverview); });
    addDesignMenu();

    // The design size; placement clamps it to a screen smaller than that.
    resize(twipsToPixels(kDesignWidth), twipsToPixels(kDesignHeight));
}

MainWindow::~MainWindow() {
    if (open_)
        delete open_;
}

void MainWindow::showHelp(const QString& page) {
    if (!help_) {
        help_ = std::make_unique<HelpWindow>();
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
