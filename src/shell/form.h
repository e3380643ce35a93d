#pragma once

#include <map>
#include <string>
#include <vector>

#include "shell/drawing.h"

namespace ferrovane {

// Engineering text of a computed value, refusing values that are not finite:
// a result of inf or nan is a numeric fault of the calculation (the window
// cycle then leaves the window as it was), never a text in a box.
std::string engText(double value);

// Returns x when it is finite; otherwise throws NumericFault naming what.
double checkFinite(double x, const char* what = "a result is not a finite number");

// The state of one calculator window, by control name: the texts of boxes,
// labels and buttons with their flags, option groups, check boxes, result
// lists and the numbers a window keeps for itself. Every calculator rule is
// a function over a Form; the Qt view only mirrors it.
class Form {
public:
    struct Control {
        std::string text;
        bool enabled = true;
        bool visible = true;
        bool locked = false;
        bool checked = false;
        bool operator==(const Control&) const = default;
    };

    // Declaring controls (done once from the calculator's description).
    void addControl(const std::string& name, const std::string& text = {});
    void addGroup(const std::string& group, const std::vector<std::string>& options);
    void addList(const std::string& name);
    void addValue(const std::string& name);
    void addDrawing(const std::string& name, double widthTwips, double heightTwips);

    bool has(const std::string& name) const { return controls_.count(name) != 0; }

    // Texts of boxes, labels, captions. Unknown names are a programming
    // error and throw std::out_of_range.
    const std::string& text(const std::string& name) const;
    void setText(const std::string& name, std::string text);
    // The box read with the lenient number reading.
    double number(const std::string& name) const;
    // Writes engText(value) into the box.
    void setEng(const std::string& name, double value);

    bool enabled(const std::string& name) const { return control(name).enabled; }
    void setEnabled(const std::string& name, bool on) { control(name).enabled = on; }
    bool visible(const std::string& name) const { return control(name).visible; }
    void setVisible(const std::string& name, bool on) { control(name).visible = on; }
    bool locked(const std::string& name) const { return control(name).locked; }
    void setLocked(const std::string& name, bool on) { control(name).locked = on; }
    bool checked(const std::string& name) const { return control(name).checked; }
    void setChecked(const std::string& name, bool on) { control(name).checked = on; }

    // Option groups: options are numbered from 1 in their group; 0 is none.
    int option(const std::string& group) const;
    bool selected(const std::string& optionName) const;
    // Sets the selection without running the calculator's option handler
    // (the window cycle's selectOption does both). Numbers outside the
    // group leave it as it was.
    void setOption(const std::string& group, int number);
    // Turns every option of the group off, as a Clear that resets a choice does.
    void clearOption(const std::string& group);
    const std::string& groupOf(const std::string& optionName) const;
    int numberOf(const std::string& optionName) const;
    // A copy: selecting an option may replace the form (see runGuarded), so a
    // reference into it would not outlive the next selection.
    std::vector<std::string> options(const std::string& group) const;

    std::vector<std::string>& list(const std::string& name);
    const std::vector<std::string>& list(const std::string& name) const;
    std::vector<std::string> lists() const;

    // Numbers held by the window itself (not shown in a box), declared by
    // the calculator; 0 until set. Unknown names throw.
    double value(const std::string& name) const;
    void setValue(const std::string& name, double v);

    // Drawings (graphs) by control name.
    Drawing& drawing(const std::string& name);
    const Drawing& drawing(const std::string& name) const;

    // Whether the window is maximised (a graph that takes the whole screen).
    bool maximised() const { return maximised_; }
    void setMaximised(bool on) { maximised_ = on; }

    // The control that should take the keyboard focus when the handler is
    // done (empty for none); the window moves the focus there and forgets it.
    const std::string& focus() const { return focus_; }
    void setFocus(const std::string& name) {
        control(name);
        focus_ = name;
    }
    void clearFocus() { focus_.clear(); }

    bool exampleFlag() const { return exampleFlag_; }
    void setExampleFlag(bool on) { exampleFlag_ = on; }

    const std::map<std::string, Control>& controls() const { return controls_; }

    bool operator==(const Form&) const = default;

private:
    Control& control(const std::string& name);
    const Control& control(const std::string& name) const;

    struct Group {
        std::vector<std::string> options;
        int selected = 0;
        bool operator==(const Group&) const = default;
    };
    std::map<std::string, Control> controls_;
    std::map<std::string, Group> groups_;
    std::map<std::string, std::string> optionGroup_;
    std::map<std::string, std::vector<std::string>> lists_;
    std::map<std::string, double> values_;
    std::map<std::string, Drawing> drawings_;
    std::string focus_;
    bool exampleFlag_ = false;
    bool maximised_ = false;
};

} // namespace ferrovane
