#pragma once

#include <QPointer>
#include <cmath>
#include <functional>
#include <map>

#include "ui_support.h"

namespace ferrovane::testing {

// How often each rule of the house window ran, by control name.
using Runs = std::map<std::string, int>;

// A window with one of every control kind, whose rules count their runs and
// show what they did in the form. Calculate draws a graph and fills the list.
inline Calculator makeHouse(Runs& runs) {
    Calculator c;
    FormSpec& f = c.form;
    f = {.name = "FormHouse", .caption = "House", .widthTwips = 7000, .heightTwips = 5000};
    f.left = {
        frame("FrameA", "Alpha", Direction::Vertical,
              {box("TxtA", "A value", "Ohms"), box("TxtU", "", "Volts", "", "", "LblUnit")}),
        CheckSpec{"ChkHide", "Hide Alpha"},
        CheckSpec{"ChkMax", "Whole screen"},
        ComboSpec{
            .name = "ComUnit", .label = "Unit", .items = {"Ohms", "kOhms"}, .initial = "Ohms"},
        grid("GridZ", 2, 2,
             [](int r, int col) {
                 return ControlSpec(BoxSpec{.name = indexed("TxtZ", r * 2 + col)});
             },
             {"R", "X"}, {"1", "2"}),
        ButtonSpec{"CmdExtra", "Extra"},
        LabelSpec{"LblNote", "Note", true},
        ListSpec{.name = "LstOut", .headerName = "LblHead", .header = "Results", .visibleLines = 4},
    };
    auto scrolling = std::make_shared<FrameSpec>(
        FrameSpec{.name = "FrameB", .children = {box("TxtB", "B value", "")}, .scrolls = true});
    DrawingExport points{"Export Points...", "Text files (*.txt)",
                         [](const Form& form, Progress&) { return "A=" + form.text("TxtA"); }};
    // Twips read back as whole numbers, and nothing over the right half.
    auto pointer = [](const Form&, double x, double y) -> std::optional<std::string> {
        return x > 1500 ? std::nullopt
                        : std::optional(std::to_string(std::lround(x)) + " " +
                                        std::to_string(std::lround(y)));
    };
    f.right = {
        scrolling,
        GroupSpec{.name = "Circuit",
                  .caption = "Circuit",
                  .options = {{"OpOne", "One"}, {"OpTwo", "Two"}, {"OpThree", "Three"}},
                  .initial = 1},
        PictureSpec{"PCircuit", "housetest-1.GIF"},
        DrawingSpec{"PicGraph", 3000, 2000, "Graph", {points}, pointer},
        HelpBoxSpec{"TxtHelp", 2},
    };
    f.buttons = {{"CmdCalc", "Draw"},
                 {.name = "CmdClr", .caption = "Clear", .visible = false},
                 {"CmdClose", "Close"}};
    f.hoverHelp = HoverHelp{.box = "TxtHelp",
                            .frame = "FrameButtons",
                            .sharedTexts = false,
                            .texts = {{"CmdCalc", "Draws it."}, {"CmdClose", "Goes."}}};
    c.dataFile = "House.dat";
    c.fields = {{FieldKind::Typed, "TxtA"}};

    c.boxes["TxtA"] = [&runs](Form&, CalcEnv&) { ++runs["TxtA"]; };
    c.lostFocus["TxtA"] = [&runs](Form& f, CalcEnv&) {
        ++runs["leave"];
        f.setText(indexed("TxtZ", 0), "left");
    };
    c.optionSelected = [&runs](Form& f, CalcEnv&, const std::string& option) {
        ++runs[option];
        f.setText("PCircuit", option == "OpOne"   ? "housetest-1.GIF"
                              : option == "OpTwo" ? "l_network.GIF"
                                                  : "Missing.GIF");
    };
    c.checks["ChkHide"] = [&runs](Form& f, CalcEnv&) {
        ++runs["ChkHide"];
        for (const char* frame : {"FrameA", "FrameB"})
            f.setVisible(frame, !f.checked("ChkHide"));
    };
    c.checks["ChkMax"] = [](Form& f, CalcEnv&) { f.setMaximised(f.checked("ChkMax")); };
    c.combos["ComUnit"] = [&runs](Form& f, CalcEnv&) {
        ++runs["ComUnit"];
        f.setText("TxtA", "unit " + f.text("ComUnit"));
    };
    // Everything set from code: no rule may run for it.
    c.buttons["CmdExtra"] = [&runs](Form& f, CalcEnv&) {
        ++runs["CmdExtra"];
        f.setText("TxtA", "extra");
        f.setText("ComUnit", "MOhms"); // not in the list
        f.setOption("Circuit", 3);
        f.setChecked("ChkHide", true);
        f.setLocked("TxtB", true);
        f.setText("LblUnit", "kV");
        f.setText("LblNote", "Changed");
        f.setText("LblHead", "Lines");
        f.setFocus("TxtB");
    };
    c.calculate = [&runs](Form& f, CalcEnv& e) {
        ++runs["CmdCalc"];
        if (f.text("TxtA") == "0")
            return e.dialogs.say("Need a value for A.");
        f.list("LstOut") = {"  one   1.0", "  two  22.0", "three 333.0"};
        Drawing& d = f.drawing("PicGraph");
        d.clear();
        d.line(0, 1000, 3000, 1000, kRed, 60);
        d.text(1500, 0, "Vout", {}, HAnchor::Centre);
        d.items.emplace_back(
            TextPrimitive{100, 1900, "Volts", kBlue, {}, HAnchor::Left, VAnchor::Bottom, true});
    };
    return c;
}

// The house window, open over a data folder of its own. change adjusts the
// description first; real message boxes show when realDialogs is set.
struct HouseWindow {
    explicit HouseWindow(const std::function<void(Calculator&)>& change = {},
                         bool realDialogs = false) {
        if (change)
            change(calc);
        window = new CalculatorWindow(calc, dir, realDialogs ? nullptr : &dialogs);
        window->open();
        settle();
    }
    ~HouseWindow() {
        if (window)
            window->close();
        settle();
    }
    QWidget* operator()(const char* name) const { return find(window, name); }
    template <typename T> T* get(const char* name) const { return find<T>(window, name); }
    QString text(const char* box) const { return get<QLineEdit>(box)->text(); }
    const Form& form() const { return window->form(); }

    Runs runs;
    Calculator calc = makeHouse(runs);
    TempDir tmp;
    DataDir dir{tmp.path()}; // the window keeps a reference to it
    ScriptedDialogs dialogs;
    QPointer<CalculatorWindow> window;
};

} // namespace ferrovane::testing
