#pragma once

#include <QFont>
#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "shell/calculator.h"
#include "shell/window_cycle.h"

class QGridLayout;
class QLayout;
class QPlainTextEdit;
class QPushButton;
class QWidget;

namespace ferrovane {

inline QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

// What a control's widgets ask of the window that holds them.
class ControlHost {
public:
    virtual ~ControlHost() = default;
    virtual const Calculator& calculator() const = 0;
    virtual const Form& form() const = 0;
    // Runs one step of the window cycle on the form, then shows the form.
    virtual void act(const std::function<void(const Calculator&, Form&, CalcEnv&)>& step) = 0;
    // A button was pressed: the window cycle, Close, or the button's handler.
    virtual void press(const std::string& button) = 0;
    // Lets the window see the widget's focus and mouse events (select-all on
    // focus, leaving a box, mouse-over help).
    virtual void watch(QWidget* widget) = 0;
    // True while the window copies the form into its widgets: a widget's
    // change signal then is the window's own doing, not the user's.
    virtual bool refreshing() const = 0;
    // What the calculator's own functions may use: printer, long runs.
    virtual CalcEnv& environment() = 0;
};

// A control as the window shows it: built once from its description, then
// refreshed from the form after every action.
class ControlView {
public:
    virtual ~ControlView() = default;
    virtual void refresh(const Form& form) = 0;
};

// Where the widgets of a control go. Rows of label | field | unit line up in
// a column (or stand side by side in a horizontal frame); a wide widget takes
// the whole row. A grid cell takes one control.
class Place {
public:
    virtual ~Place() = default;
    virtual void row(QWidget* label, QWidget* field, QWidget* unit) = 0;
    virtual void wide(QWidget* widget, int stretch = 0) = 0;
    // Words that tell an unlabelled control apart here (a grid cell's row and
    // column captions), for its accessible name.
    virtual QString context() const { return {}; }
};

// Rows of label | field | unit in a grid layout, top to bottom (Vertical) or
// side by side (Horizontal).
class LinePlace : public Place {
public:
    LinePlace(QGridLayout* grid, Direction direction) : grid_(grid), direction_(direction) {}
    void row(QWidget* label, QWidget* field, QWidget* unit) override;
    void wide(QWidget* widget, int stretch = 0) override;
    bool empty() const { return next_ == 0; }

private:
    void separate();

    QGridLayout* grid_;
    Direction direction_;
    int next_ = 0;
};

// Everything a control's build function needs: the window, the widget that
// owns what it creates, where to place it, and the list the window refreshes.
struct Builder {
    ControlHost& host;
    QWidget* owner;
    Place& place;
    std::vector<std::unique_ptr<ControlView>>& views;

    // The same window and views, building into another owner and place
    // (a frame's children, a grid's cells).
    Builder into(QWidget* newOwner, Place& newPlace) const {
        return Builder{host, newOwner, newPlace, views};
    }
    template <typename View, typename... Args> View* add(Args&&... args) {
        auto view = std::make_unique<View>(std::forward<Args>(args)...);
        View* raw = view.get();
        views.push_back(std::move(view));
        return raw;
    }
    void build(const ControlSpec& control);
    void build(const std::vector<ControlSpec>& controls) {
        for (const ControlSpec& c : controls)
            build(c);
    }
};

// One build function per kind of control, each in its own source file.
void buildControl(const BoxSpec& desc, Builder& b);
void buildControl(const GroupSpec& desc, Builder& b);
void buildControl(const CheckSpec& desc, Builder& b);
void buildControl(const LabelSpec& desc, Builder& b);
void buildControl(const ListSpec& desc, Builder& b);
void buildControl(const PictureSpec& desc, Builder& b);
void buildControl(const HelpBoxSpec& desc, Builder& b);
void buildControl(const ComboSpec& desc, Builder& b);
void buildControl(const ButtonSpec& desc, Builder& b);
void buildControl(const DrawingSpec& desc, Builder& b);
void buildControl(const FrameSpec& desc, Builder& b);
void buildControl(const GridSpec& desc, Builder& b);

// Writes what a drawing offers to export into path, running it as long work;
// false (after a message) when it was cancelled or could not be written.
bool exportDrawing(ControlHost& host, const DrawingExport& e, const QString& path);

// The help box of mouse-over help, which the window places with its buttons.
QPlainTextEdit* makeHelpBox(const HelpBoxSpec& desc, Builder& b);

// A button that the window places in its button row.
QPushButton* makeButton(const ButtonSpec& desc, Builder& b);

// Shared by the kinds: the flags every control has, and the fonts.
void showFlags(QWidget* widget, const Form& form, const std::string& name);
// The desktop's fixed font, or a fixed-pitch face in its place where the
// font configuration draws it proportionally; never a family we name.
QFont fixedPitchFont();
// Whether the controls hold something that can use more height than it
// needs: a list (unless lists are left out), a drawing, or a frame that
// scrolls or holds one.
bool growsTaller(const std::vector<ControlSpec>& controls, bool countLists = true);
// A box wide enough for an 11-character engineering text, and no wider.
int engBoxWidth(const QWidget* box);

} // namespace ferrovane
