#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "shell/data_dir.h"
#include "shell/dialogs.h"
#include "shell/form.h"

namespace ferrovane {

// ---- What a calculator window shows -------------------------------------

// A labelled input (or result) box: label, box, unit label on one row.
// labelName / unitName name the labels when the calculator changes them.
struct BoxSpec {
    std::string name;
    std::string label;
    std::string unit;
    std::string labelName;
    std::string unitName;
    std::string initial;   // design-time text
    bool readOnly = false; // a result box the user cannot type in
};

// A box row in short: box("TxtF", "Frequency", "Hertz").
inline BoxSpec box(std::string name, std::string label, std::string unit, std::string initial = {},
                   std::string labelName = {}, std::string unitName = {}) {
    return BoxSpec{.name = std::move(name),
                   .label = std::move(label),
                   .unit = std::move(unit),
                   .labelName = std::move(labelName),
                   .unitName = std::move(unitName),
                   .initial = std::move(initial)};
}

// Option buttons in a frame; the options are numbered 1, 2, 3 in order.
struct GroupSpec {
    std::string name;    // the group's key in the form and in the data file
    std::string caption; // the frame caption
    std::vector<std::pair<std::string, std::string>> options; // {control name, caption}
    int initial = 0; // option selected at design time, 0 for none
};

struct CheckSpec {
    std::string name;
    std::string caption;
    bool checked = false;
};

// A static or caption-changing text.
struct LabelSpec {
    std::string name;
    std::string text;
};

// A result list with an optional header label above it. Lists are shown in
// a fixed-pitch font so that their columns line up.
struct ListSpec {
    std::string name;
    std::string headerName;
    std::string header;
    int visibleLines = 10;
};

// A schematic of the circuit, an image file from the pictures folder.
struct PictureSpec {
    std::string name;
    std::string file;
};

// A multi-line read-only box that the help texts are written into.
struct HelpBoxSpec {
    std::string name;
};

using ControlSpec =
    std::variant<BoxSpec, GroupSpec, CheckSpec, LabelSpec, ListSpec, PictureSpec, HelpBoxSpec>;

// Mouse-over help on the four standard buttons, written into a help box.
// With shared texts the standard texts are used (CalcHelp, ClearHelp,
// CloseHelp, and ExampleHelp or ReloadHelp by the example flag); otherwise
// the window's own texts by button name. Moving over the button frame
// empties the box.
struct HoverHelp {
    std::string box;   // the help box's name
    std::string frame; // the frame that holds the buttons
    bool sharedTexts = true;
    std::map<std::string, std::string> texts; // button name -> text
};

struct FormSpec {
    std::string name;    // "Form01"
    std::string caption; // window title
    int widthTwips = 0;  // design size
    int heightTwips = 0;
    std::vector<ControlSpec> left;   // first column, top to bottom
    std::vector<ControlSpec> right;  // second column, top to bottom
    std::vector<ControlSpec> bottom; // full width, below both columns
    std::string clearCaption = "Clear Data";
    std::string closeName = "CmdClose";
    std::optional<HoverHelp> hoverHelp;
};

// ---- Its data file ------------------------------------------------------

enum class FieldKind {
    Eng,          // a box, written as FormatEng of the number it reads as
    Typed,        // a box, written as typed
    TypedOrZero,  // a box, written as typed, "0.00" when empty
    Option,       // an option group, written "1", "2" or "3"
    OptionNumber, // an option group, written as a plain number (" 2")
    Value,        // a number held by the window, written as plain number text
};

struct FileField {
    FieldKind kind;
    std::string name; // box, option group or window value
};

// ---- Its behaviour ------------------------------------------------------

// What a calculator's handlers may use besides its form.
struct CalcEnv {
    Dialogs& dialogs;
    const DataDir& files;
};

using Handler = std::function<void(Form&, CalcEnv&)>;
using NamedHandler = std::function<void(Form&, CalcEnv&, const std::string& control)>;

struct Calculator {
    FormSpec form;
    std::string dataFile;
    std::vector<FileField> fields;        // in file order, after the flag line
    std::vector<std::string> clearBoxes;  // emptied by the standard Clear
    std::vector<std::string> clearGroups; // option groups it turns off

    Handler calculate;           // CmdCalc_Click
    NamedHandler optionSelected; // an option was selected: by click, file or code
    NamedHandler checkChanged;   // a check box was clicked
    NamedHandler boxChanged;     // the user changed a box's text
    Handler clear;               // replaces the standard Clear when set
    Handler loadFile;            // replaces the standard LoadFile when set
    Handler beforeSave;          // runs at Close before the file is written
    // Window-specific set-up at opening, after the file is loaded; flagRead
    // tells whether the flag line of the data file could be read.
    std::function<void(Form&, CalcEnv&, bool flagRead)> setUp;
};

} // namespace ferrovane
