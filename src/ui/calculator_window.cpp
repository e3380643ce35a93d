#include "ui/calculator_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QDate>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "shell/window_cycle.h"
#include "shell/worksheet.h"
#include "ui/explore_dialog.h"
#include "ui/geometry.h"

namespace ferrovane {

namespace {

// The longest text that focus selects, as the boxes always have.
constexpr int kFocusSelection = 99;

bool growsTaller(const FormSpec& form, bool countLists = true) {
    return growsTaller(form.left, countLists) || growsTaller(form.right, countLists) ||
           growsTaller(form.bottom, countLists);
}

bool showsAnything(QLayout* layout) {
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (item->widget() ? !item->widget()->isHidden()
                           : item->layout() && showsAnything(item->layout()))
            return true;
    }
    return false;
}

// A region whose controls are all hidden (a graph covering the window has
// hidden them) gives its room to the others.
void hideIfEmpty(QWidget* region) {
    region->setVisible(region->layout() && showsAnything(region->layout()));
}

} // namespace

CalculatorWindow::CalculatorWindow(const Calculator& calc, const DataDir& dir, Dialogs* dialogs,
                                   QWidget* parent)
    : QDialog(parent), calc_(calc), ownDialogs_(this), printer_(this),
      longRuns_(this), env_{dialogs ? *dialogs : static_cast<Dialogs&>(ownDialogs_), dir, &printer_,
                            &metrics_, &longRuns_} {
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setObjectName(qs(calc.form.name));
    setWindowTitle(qs(calc.form.caption));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowMinMaxButtonsHint, true);
    form_ = makeForm(calc_);
    build();
    auto* print = new QAction(tr("Print..."), this);
    print->setObjectName("ActionPrint");
    print->setShortcut(QKeySequence::Print);
    connect(print, &QAction::triggered, this, &CalculatorWindow::printWorksheet);
    addAction(print);
    auto* help = new QAction(tr("Help"), this);
    help->setObjectName("ActionHelp");
    help->setShortcut(QKeySequence::HelpContents);
    connect(help, &QAction::triggered, this, &CalculatorWindow::helpRequested);
    addAction(help);
    auto* exploreAction = new QAction(tr("Explore\u2026"), this);
    exploreAction->setObjectName("ActionExplore");
    exploreAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    connect(exploreAction, &QAction::triggered, this, &CalculatorWindow::explore);
    addAction(exploreAction);
    addDesignActions();
    addSpiceActions();
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

void CalculatorWindow::explore() {
    if (explore_)
        explore_->close();
    // A test's own long-run host serves the dialog too.
    LongRunHost* host = env_.longRuns == &longRuns_ ? nullptr : env_.longRuns;
    auto* dialog =
        new ExploreDialog(calc_, env_.files, form_, lastCalculate_ ? &*lastCalculate_ : nullptr,
                          env_.textMetrics(), host, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    if (exportSpice_ && checkSpice_)
        dialog->addCircuitActions({exportSpice_, checkSpice_});
    explore_ = dialog;
    dialog->show();
}

void CalculatorWindow::printWorksheet() {
    // A window with a Print button of its own prints what that button prints.
    if (const std::string& own = calc_.form.printButton; !own.empty()) {
        if (form_.enabled(own) && form_.visible(own))
            press(own);
        return;
    }
    const std::string date = QDate::currentDate().toString(Qt::ISODate).toStdString();
    env_.print(worksheetJob(calc_, form_, date));
}

CalculatorWindow::~CalculatorWindow() = default;

void CalculatorWindow::open() {
    form_ = Form_Load(calc_, env_);
    refresh();
    placeOnScreen(this, openingSize());
    shownMaximised_ = form_.maximised();
    if (shownMaximised_)
        showMaximized();
    else
        show();
    activateWindow();
}

QSize CalculatorWindow::openingSize() const {
    QSize design(twipsToPixels(calc_.form.widthTwips), twipsToPixels(calc_.form.heightTwips));
    // Unless a drawing or a scrolling frame can use the design's height, the
    // window is no taller than its contents, its lists at the lines they
    // are made to show: no empty band above the buttons, and no list box
    // stretched far beyond what will be listed in it.
    if (!growsTaller(calc_.form, false))
        design.setHeight(std::min(design.height(), sizeHint().height()));
    return design.expandedTo(minimumSizeHint());
}

void CalculatorWindow::setForm(const Form& form) {
    form_ = form;
    circuit_.reset();
    updateSpiceActions();
    refresh();
}

void CalculatorWindow::build() {
    auto* outer = new QVBoxLayout(this);
    auto* columns = new QWidget(this);
    auto* columnsLayout = new QHBoxLayout(columns);
    columnsLayout->setContentsMargins(0, 0, 0, 0);
    // A clear gap between the columns, so a unit at the end of a row on the
    // left never reads as the caption of what starts the right column.
    columnsLayout->setSpacing(3 * fontMetrics().averageCharWidth());
    regions_.push_back(buildRegion(calc_.form.left, columns, "RegionLeft"));
    columnsLayout->addWidget(regions_.back(), 1);
    if (!calc_.form.right.empty()) {
        regions_.push_back(buildRegion(calc_.form.right, columns, "RegionRight"));
        columnsLayout->addWidget(regions_.back(), 1);
    }
    const bool columnsGrow = growsTaller(calc_.form.left) || growsTaller(calc_.form.right);
    outer->addWidget(columns, columnsGrow || !growsTaller(calc_.form) ? 1 : 0);
    regions_.push_back(columns); // after the two it holds
    if (!calc_.form.bottom.empty()) {
        regions_.push_back(buildRegion(calc_.form.bottom, this, "RegionBottom"));
        outer->addWidget(regions_.back(), growsTaller(calc_.form.bottom) ? 1 : 0);
    }
    outer->addWidget(buildButtons());
}

QWidget* CalculatorWindow::buildRegion(const std::vector<ControlSpec>& items, QWidget* owner,
                                       const char* name) {
    auto* region = new QWidget(owner);
    region->setObjectName(name);
    auto* grid = new QGridLayout(region);
    grid->setContentsMargins(0, 0, 0, 0);
    LinePlace place(grid, Direction::Vertical);
    Builder builder{*this, region, place, views_};
    builder.build(items);
    // Label and box keep their width; the unit column takes what is left.
    grid->setColumnStretch(2, 1);
    // A column shorter than its neighbour keeps its rows at the top.
    if (!growsTaller(items))
        grid->setRowStretch(grid->rowCount(), 1);
    return region;
}

QFrame* CalculatorWindow::buildButtons() {
    auto* frame = new QFrame(this);
    const auto& hoverHelp = calc_.form.hoverHelp;
    frame->setObjectName(hoverHelp ? qs(hoverHelp->frame) : QString("ButtonFrame"));
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(0, 0, 0, 0);
    LinePlace unused(nullptr, Direction::Horizontal); // buttons go in the row directly
    Builder builder{*this, frame, unused, views_};
    if (hoverHelp) {
        frame->setMouseTracking(true);
        frame->installEventFilter(this);
        HelpBoxSpec desc{hoverHelp->box};
        forEachControl(calc_.form, [&desc](const ControlSpec& c) {
            if (const auto* h = std::get_if<HelpBoxSpec>(&c); h && h->name == desc.name)
                desc = *h;
        });
        layout->addWidget(makeHelpBox(desc, builder));
    }
    auto* row = new QHBoxLayout;
    layout->addLayout(row); // the frame's layout owns it from here
    const std::vector<ButtonSpec> buttons =
        calc_.form.buttons.empty() ? standardButtons(calc_.form) : calc_.form.buttons;
    for (const ButtonSpec& desc : buttons) {
        QPushButton* button = makeButton(desc, builder);
        row->addWidget(button);
        if (desc.name == "CmdCalc")
            button->setDefault(true);
    }
    return frame;
}

void CalculatorWindow::act(const std::function<void(const Calculator&, Form&, CalcEnv&)>& step) {
    step(calc_, form_, env_);
    refresh();
}

void CalculatorWindow::press(const std::string& button) {
    if (button == calc_.form.closeName) {
        closeAndSave(); // Close saves and goes away
        return;
    }
    // A Calculate that changed the form is where Explore's runs start.
    std::optional<Form> before;
    if (isCalculateButton(button))
        before = form_;
    pressCounted(button);
    if (before && *before != form_)
        lastCalculate_ = LastPress{button, std::move(*before), form_};
}

void CalculatorWindow::watch(QWidget* widget) {
    widget->installEventFilter(this);
}

void CalculatorWindow::refresh() {
    refreshing_ = true;
    // The layout sees only the refreshed form: halfway, with what is being
    // shown already in and what is being hidden still in, it would grow
    // the window, and nothing shrinks it again.
    layout()->setEnabled(false);
    for (const auto& view : views_)
        view->refresh(form_);
    for (QWidget* region : regions_)
        hideIfEmpty(region);
    layout()->setEnabled(true);
    layout()->activate();
    refreshing_ = false;
    // A handler asked for the keyboard focus to go to one of its controls.
    if (!form_.focus().empty()) {
        if (auto* target = findChild<QWidget*>(qs(form_.focus())))
            target->setFocus(Qt::OtherFocusReason);
        form_.clearFocus();
    }
    showDesignTitle();
    // A calculator maximises or restores its window through the form; the
    // user's own maximising is left alone until the form asks again.
    if (isVisible() && form_.maximised() != shownMaximised_) {
        shownMaximised_ = form_.maximised();
        if (shownMaximised_)
            showMaximized();
        else
            showNormal();
    }
}

void CalculatorWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange) {
        shownMaximised_ = isMaximized();
        form_.setMaximised(shownMaximised_);
    }
    QDialog::changeEvent(event);
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
    if (dragsDesign(event))
        return true;
    auto* edit = qobject_cast<QLineEdit*>(widget);
    // Some desktops make Ctrl+E the end of the line in a box; here it is Explore.
    if (event->type() == QEvent::ShortcutOverride && edit &&
        static_cast<QKeyEvent*>(event)->keyCombination() ==
            QKeyCombination(Qt::ControlModifier, Qt::Key_E))
        return true;
    if (event->type() == QEvent::FocusIn && edit) {
        // Typing replaces the whole box; wait for the click that gave the
        // focus to finish placing the cursor.
        QTimer::singleShot(0, edit, [edit] {
            edit->setSelection(0, std::min<int>(kFocusSelection, edit->text().size()));
        });
    } else if (event->type() == QEvent::FocusOut && edit && !closing_) {
        // Leaving a box for another control of this window; a message box or
        // another window taking the focus is not leaving it.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        const std::string name = edit->objectName().toStdString();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
            calc_.lostFocus.count(name))
            act([&](const Calculator& c, Form& f, CalcEnv& e) { leaveBox(c, f, e, name); });
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
        else
            hover(calc_.form.hoverHelp->frame);
    }
    return QDialog::eventFilter(watched, event);
}

bool CalculatorWindow::closeAndSave() {
    if (closing_)
        return true;
    if (!keepDesignChanges())
        return false;
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
