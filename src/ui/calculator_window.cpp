#include "ui/calculator_window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSvgWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "shell/window_cycle.h"
#include "ui/geometry.h"

namespace ferrovane {

namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

// The longest text that focus selects, as the boxes always have.
constexpr int kFocusSelection = 99;

} // namespace

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

CalculatorWindow::CalculatorWindow(const Calculator& calc, const DataDir& dir, Dialogs* dialogs,
                                   QWidget* parent)
    : QDialog(parent), calc_(calc),
      ownDialogs_(this), env_{dialogs ? *dialogs : static_cast<Dialogs&>(ownDialogs_), dir} {
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setObjectName(qs(calc.form.name));
    setWindowTitle(qs(calc.form.caption));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowMinMaxButtonsHint, true);
    form_ = makeForm(calc_);
    build();
}

void CalculatorWindow::open() {
    form_ = Form_Load(calc_, env_);
    refresh();
    placeOnScreen(
        this, QSize(twipsToPixels(calc_.form.widthTwips), twipsToPixels(calc_.form.heightTwips)));
    show();
    activateWindow();
}

void CalculatorWindow::build() {
    auto* outer = new QVBoxLayout(this);
    auto* columns = new QHBoxLayout;
    auto* left = new QGridLayout;
    auto* right = new QGridLayout;
    buildRegion(calc_.form.left, left);
    buildRegion(calc_.form.right, right);
    left->setRowStretch(left->rowCount(), 1);
    right->setRowStretch(right->rowCount(), 1);
    columns->addLayout(left, 1);
    if (!calc_.form.right.empty())
        columns->addLayout(right, 1);
    outer->addLayout(columns);
    auto* bottom = new QGridLayout;
    buildRegion(calc_.form.bottom, bottom);
    outer->addLayout(bottom, 1);
    outer->addWidget(buildButtons());
}

void CalculatorWindow::addBox(const BoxSpec& item, QGridLayout* grid) {
    const int row = grid->rowCount();
    auto* label = new QLabel(qs(item.label), this);
    label->setObjectName(qs(item.labelName.empty() ? item.name + "Label" : item.labelName));
    // Unwrapped: a wrapped label in a grid may be given less height than it needs.
    auto* edit = new QLineEdit(this);
    // Wide enough for a whole engineering text.
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(" -000.0e-15 ") + 16);
    edit->setObjectName(qs(item.name));
    edit->setAccessibleName(qs(item.label.empty() ? item.unit : item.label));
    label->setBuddy(edit);
    edit->installEventFilter(this);
    auto* unit = new QLabel(qs(item.unit), this);
    unit->setObjectName(qs(item.unitName.empty() ? item.name + "Unit" : item.unitName));
    grid->addWidget(label, row, 0);
    grid->addWidget(edit, row, 1);
    grid->addWidget(unit, row, 2);
    widgets_[edit->objectName()] = edit;
    if (!item.labelName.empty()) {
        widgets_[label->objectName()] = label;
        labelledBoxes_[label->objectName()] = edit;
    }
    if (!item.unitName.empty())
        widgets_[unit->objectName()] = unit;
    const std::string name = item.name;
    connect(edit, &QLineEdit::textEdited, this, [this, name](const QString& text) {
        act([&] { editBox(calc_, form_, env_, name, text.toStdString()); });
    });
}

void CalculatorWindow::buildRegion(const std::vector<ControlSpec>& items, QGridLayout* grid) {
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    for (const ControlSpec& item : items) {
        const int row = grid->rowCount();
        std::visit(
            [&](const auto& c) {
                using T = std::decay_t<decltype(c)>;
                if constexpr (std::is_same_v<T, BoxSpec>) {
                    addBox(c, grid);
                } else if constexpr (std::is_same_v<T, GroupSpec>) {
                    auto* box = new QGroupBox(qs(c.caption), this);
                    box->setObjectName(qs(c.name));
                    auto* layout = new QVBoxLayout(box);
                    auto* group = new QButtonGroup(box);
                    for (const auto& [name, caption] : c.options) {
                        auto* radio = new QRadioButton(qs(caption), box);
                        radio->setObjectName(qs(name));
                        group->addButton(radio);
                        layout->addWidget(radio);
                        widgets_[radio->objectName()] = radio;
                        const std::string option = name;
                        connect(radio, &QRadioButton::clicked, this, [this, option] {
                            act([&] {
                                runGuarded(form_, env_, [&](Form& f, CalcEnv& e) {
                                    selectOption(calc_, f, e, option);
                                });
                            });
                        });
                    }
                    groups_[qs(c.name)] = group;
                    grid->addWidget(box, row, 0, 1, 3);
                } else if constexpr (std::is_same_v<T, CheckSpec>) {
                    auto* check = new QCheckBox(qs(c.caption), this);
                    check->setObjectName(qs(c.name));
                    widgets_[check->objectName()] = check;
                    const std::string name = c.name;
                    connect(check, &QCheckBox::clicked, this, [this, name](bool on) {
                        act([&] { clickCheck(calc_, form_, env_, name, on); });
                    });
                    grid->addWidget(check, row, 0, 1, 3);
                } else if constexpr (std::is_same_v<T, LabelSpec>) {
                    auto* label = new QLabel(qs(c.text), this);
                    label->setObjectName(qs(c.name));
                    label->setWordWrap(true);
                    widgets_[label->objectName()] = label;
                    grid->addWidget(label, row, 0, 1, 3);
                } else if constexpr (std::is_same_v<T, ListSpec>) {
                    auto* list = new QListWidget(this);
                    list->setObjectName(qs(c.name));
                    list->setFont(fixed);
                    list->setAccessibleName(qs(c.header.empty() ? c.name : c.header));
                    // Room for every line of a result, without scrolling.
                    list->setMinimumHeight(list->fontMetrics().lineSpacing() *
                                               std::max(3, c.visibleLines) +
                                           2 * list->frameWidth() + 4);
                    widgets_[list->objectName()] = list;
                    if (!c.headerName.empty()) {
                        auto* header = new QLabel(qs(c.header), this);
                        header->setObjectName(qs(c.headerName));
                        header->setFont(fixed);
                        header->setTextFormat(Qt::PlainText);
                        widgets_[header->objectName()] = header;
                        grid->addWidget(header, row, 0, 1, 3);
                        grid->addWidget(list, row + 1, 0, 1, 3);
                        grid->setRowStretch(row + 1, 1);
                    } else {
                        grid->addWidget(list, row, 0, 1, 3);
                        grid->setRowStretch(row, 1);
                    }
                } else if constexpr (std::is_same_v<T, PictureSpec>) {
                    auto* picture = new QSvgWidget(this);
                    picture->setObjectName(qs(c.name));
                    picture->setAccessibleName("Circuit diagram");
                    const QString path = findPicture(qs(c.file));
                    if (!path.isEmpty()) {
                        picture->load(path);
                        QSize size = picture->sizeHint();
                        picture->setFixedSize(size.isValid() ? size : QSize(240, 120));
                    }
                    widgets_[picture->objectName()] = picture;
                    grid->addWidget(picture, row, 0, 1, 3, Qt::AlignCenter);
                } else if constexpr (std::is_same_v<T, HelpBoxSpec>) {
                    // The help box of hover help sits with the buttons.
                    if (calc_.form.hoverHelp && calc_.form.hoverHelp->box == c.name)
                        return;
                    auto* help = new QPlainTextEdit(this);
                    help->setObjectName(qs(c.name));
                    help->setReadOnly(true);
                    help->setFocusPolicy(Qt::NoFocus);
                    widgets_[help->objectName()] = help;
                    grid->addWidget(help, row, 0, 1, 3);
                }
            },
            item);
    }
}

QFrame* CalculatorWindow::buildButtons() {
    auto* frame = new QFrame(this);
    const bool hoverHelp = calc_.form.hoverHelp.has_value();
    frame->setObjectName(hoverHelp ? qs(calc_.form.hoverHelp->frame) : QString("ButtonFrame"));
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(0, 0, 0, 0);
    if (hoverHelp) {
        frame->setMouseTracking(true);
        frame->installEventFilter(this);
        auto* help = new QPlainTextEdit(frame);
        help->setObjectName(qs(calc_.form.hoverHelp->box));
        help->setAccessibleName("Help");
        help->setReadOnly(true);
        help->setFocusPolicy(Qt::NoFocus);
        help->setFixedHeight(help->fontMetrics().lineSpacing() * 4 + 10);
        widgets_[help->objectName()] = help;
        layout->addWidget(help);
    }
    auto* row = new QHBoxLayout;
    using Cycle = void (*)(const Calculator&, Form&, CalcEnv&);
    const std::pair<std::string, Cycle> buttons[] = {
        {"CmdCalc", [](const Calculator& c, Form& f, CalcEnv& e) { CmdCalc_Click(c, f, e); }},
        {"CmdClr", CmdClr_Click},
        {"CmdLoadData", CmdLoadData_Click},
        {calc_.form.closeName, nullptr}, // Close saves and goes away
    };
    for (const auto& [name, cycle] : buttons) {
        auto* button = new QPushButton(qs(form_.text(name)), frame);
        button->setObjectName(qs(name));
        button->setAutoDefault(false);
        button->installEventFilter(this);
        widgets_[button->objectName()] = button;
        if (cycle)
            connect(button, &QPushButton::clicked, this,
                    [this, cycle = cycle] { act([&] { cycle(calc_, form_, env_); }); });
        else
            connect(button, &QPushButton::clicked, this, &CalculatorWindow::closeAndSave);
        row->addWidget(button);
    }
    static_cast<QPushButton*>(widgets_["CmdCalc"])->setDefault(true);
    layout->addLayout(row);
    return frame;
}

void CalculatorWindow::refresh() {
    for (const auto& [name, control] : form_.controls()) {
        QWidget* w = widgets_.value(qs(name));
        if (!w)
            continue;
        const QString text = qs(control.text);
        if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            if (edit->text() != text)
                edit->setText(text);
            edit->setReadOnly(control.locked);
        } else if (auto* label = qobject_cast<QLabel*>(w)) {
            label->setText(text);
            if (QLineEdit* box = labelledBoxes_.value(qs(name)))
                box->setAccessibleName(text);
        } else if (auto* radio = qobject_cast<QRadioButton*>(w)) {
            radio->setText(text);
        } else if (auto* check = qobject_cast<QCheckBox*>(w)) {
            check->setText(text);
            check->setChecked(control.checked);
        } else if (auto* button = qobject_cast<QPushButton*>(w)) {
            button->setText(text);
        } else if (auto* help = qobject_cast<QPlainTextEdit*>(w)) {
            if (help->toPlainText() != text)
                help->setPlainText(text);
        }
        w->setEnabled(control.enabled);
        w->setVisible(control.visible);
    }
    for (auto it = groups_.begin(); it != groups_.end(); ++it) {
        const int selected = form_.option(it.key().toStdString());
        const auto buttons = it.value()->buttons();
        if (selected == 0) {
            it.value()->setExclusive(false);
            for (auto* b : buttons)
                b->setChecked(false);
            it.value()->setExclusive(true);
        } else {
            const auto& options = form_.options(it.key().toStdString());
            if (auto* radio = widgets_.value(qs(options[selected - 1])))
                static_cast<QRadioButton*>(radio)->setChecked(true);
        }
    }
    for (const std::string& name : form_.lists()) {
        auto* list = qobject_cast<QListWidget*>(widgets_.value(qs(name)));
        if (!list)
            continue;
        QStringList lines;
        for (const auto& line : form_.list(name))
            lines << qs(line);
        QStringList shown;
        for (int i = 0; i < list->count(); ++i)
            shown << list->item(i)->text();
        if (shown != lines) {
            list->clear();
            list->addItems(lines);
        }
    }
}

void CalculatorWindow::hover(const std::string& control) {
    if (!calc_.form.hoverHelp)
        return;
    if (auto text = hoverHelpText(calc_, form_, control)) {
        if (form_.text(calc_.form.hoverHelp->box) != *text) {
            form_.setText(calc_.form.hoverHelp->box, *text);
            refresh();
        }
    }
}

bool CalculatorWindow::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget)
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::FocusIn) {
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            // Typing replaces the whole box; wait for the click that gave the
            // focus to finish placing the cursor.
            QTimer::singleShot(0, edit, [edit] {
                edit->setSelection(0, std::min<int>(kFocusSelection, edit->text().size()));
            });
        }
    } else if (event->type() == QEvent::Enter ||
               (event->type() == QEvent::FocusIn && qobject_cast<QPushButton*>(widget))) {
        // The keyboard's focus on a button shows its help as the mouse does.
        hover(widget->objectName().toStdString());
    } else if (event->type() == QEvent::MouseMove && calc_.form.hoverHelp &&
               widget->objectName() == qs(calc_.form.hoverHelp->frame)) {
        auto* move = static_cast<QMouseEvent*>(event);
        QWidget* child = widget->childAt(move->position().toPoint());
        if (auto* button = qobject_cast<QPushButton*>(child))
            hover(button->objectName().toStdString());
        else if (!child)
            hover(calc_.form.hoverHelp->frame);
    }
    return QDialog::eventFilter(watched, event);
}

bool CalculatorWindow::closeAndSave() {
    if (closing_)
        return true;
    const CloseOutcome outcome = CmdClose_Click(calc_, form_, env_);
    refresh();
    if (outcome == CloseOutcome::KeptOpen)
        return false;
    closing_ = true;
    close();
    return true;
}

void CalculatorWindow::reject() {
    closeAndSave();
}

void CalculatorWindow::closeEvent(QCloseEvent* event) {
    // Closed by the window manager: the same as the Close button.
    if (!closing_ && !closeAndSave()) {
        event->ignore();
        return;
    }
    event->accept();
    emit closed();
}

} // namespace ferrovane
