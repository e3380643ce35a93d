#include "ui/main_window.h"

#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "calculators/catalogue.h"
#include "shell/example_files.h"
#include "ui/calculator_window.h"
#include "ui/geometry.h"

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

// A push button whose caption wraps inside it. Captions are stored with "&&"
// for a literal ampersand and carry no mnemonic.
QPushButton* wrappingButton(const QString& name, const QString& storedCaption, QWidget* parent) {
    auto* button = new QPushButton(parent);
    button->setObjectName(name);
    QString shown = storedCaption;
    shown.replace("&&", "&");
    auto* label = new QLabel(shown.toHtmlEscaped().replace("  ", "&nbsp; "), button);
    label->setTextFormat(Qt::RichText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignCenter);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto* layout = new QVBoxLayout(button);
    layout->setContentsMargins(2, 1, 2, 1);
    layout->addWidget(label);
    button->setProperty("captionLabel", QVariant::fromValue(static_cast<QObject*>(label)));
    button->setAccessibleName(shown.simplified());
    button->setToolTip(QString());
    return button;
}

// Shrinks a wrapped caption's font until every line fits inside its button.
void fitCaption(QPushButton* button) {
    auto* label = qobject_cast<QLabel*>(button->property("captionLabel").value<QObject*>());
    if (!label)
        return;
    const QSize room = button->size() - QSize(6, 4);
    QFont f = label->font();
    while (f.pointSizeF() > 6.0) {
        label->setFont(f);
        if (label->heightForWidth(room.width()) <= room.height())
            break;
        f.setPointSizeF(f.pointSizeF() - 0.5);
    }
}

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
        QPushButton* button = wrappingButton(QString::fromStdString(entry.button),
                                             QString::fromStdString(entry.caption), frame_);
        button->setFont(small);
        button->setGeometry(twipsRect(kColumnLeft[entry.column - 1], kRowTop[entry.row - 1],
                                      kButtonWidth, kButtonHeight));
        fitCaption(button);
        button->setProperty("description", QString::fromStdString(entry.description));
        button->installEventFilter(this);
        if (entry.calculator) {
            connect(button, &QPushButton::clicked, this, [this, &entry] { openCalculator(entry); });
        } else {
            button->setEnabled(false);
            button->setToolTip("This calculator is not available yet.");
        }
    }

    auto* reset = wrappingButton("CmdReset", "Restore Examples in all calculators.", frame_);
    reset->setGeometry(twipsRect(240, 5400, 4995, 495));
    reset->setProperty("description", QString(kResetDescription));
    reset->installEventFilter(this);
    connect(reset, &QPushButton::clicked, this, &MainWindow::restoreExamples);

    auto* end = wrappingButton("CmdEnd", "End", frame_);
    end->setGeometry(twipsRect(5520, 5400, 1455, 495));
    end->setProperty("description", QString(kEndDescription));
    end->installEventFilter(this);
    connect(end, &QPushButton::clicked, qApp, &QApplication::quit);

    setFixedSize(twipsToPixels(kDesignWidth), twipsToPixels(kDesignHeight));
}

MainWindow::~MainWindow() {
    if (open_)
        delete open_;
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
    connect(window, &CalculatorWindow::closed, this, [this] {
        show();
        activateWindow();
    });
    hide();
    window->open();
    return window;
}

void MainWindow::describe(const QString& text) {
    if (describeBox_->toPlainText() != text)
        describeBox_->setPlainText(text);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove ||
        event->type() == QEvent::HoverMove) {
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
