#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "shell/data_dir.h"
#include "shell/dialogs.h"
#include "shell/drawing.h"
#include "shell/form.h"
#include "shell/long_run.h"
#include "shell/print_job.h"
#include "shell/spice.h"

namespace ferrovane {

// ---- What a calculator window shows -------------------------------------
//
// A window is a small layout tree: the left, right and bottom regions hold
// controls, and a frame or a grid holds controls of its own. Every control
// named here becomes a form key and the widget's objectName.

// How a box takes its text; the box says so to a screen reader, and its
// reading mark shows only what that rule leaves out.
enum class BoxReading {
    Number,       // the leading number; anything after it is ignored ("4.7k" is 4.7)
    SuffixedOhms, // ohms with "k", "M" or "Meg" after the number, made a standard value
    FreeText,     // kept as typed, never read as a number (a tube type, "12AX7")
    NumberOrStar, // a number, or a single "*" for none (no capacitor in a branch)
};

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
    bool enabled = true;
    bool visible = true;
    std::string accessibleName;   // when the label alone does not tell it apart
    std::string tooltip;          // shown over the box and its unit
    bool fixedPitchLabel = false; // labels that line up as a column of text
    BoxReading reading = BoxReading::Number;
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

// The name of element i of a control array: indexed("TxtData", 3) is
// "TxtData(3)".
inline std::string indexed(const std::string& array, int i) {
    return array + "(" + std::to_string(i) + ")";
}

// Option buttons in a frame; the options are numbered 1, 2, 3 in order.
struct GroupSpec {
    std::string name;    // the group's key in the form and in the data file
    std::string caption; // the frame caption; empty for a plain row of options
    std::vector<std::pair<std::string, std::string>> options; // {control name, caption}
    int initial = 0; // option selected at design time, 0 for none
    bool horizontal = false;
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
    bool fixedPitch = false;
};

// A result list with an optional header label above it. Lists are shown in
// a fixed-pitch font so that their columns line up.
struct ListSpec {
    std::string name;
    std::string headerName;
    std::string header;
    int visibleLines = 10;
    int visibleColumns = 0; // width in characters; 0 for the region's width
    // What a screen reader calls the list: when empty, the header shown
    // above it, or "Results" where it has none.
    std::string accessibleName;
    // Where the columns of the lines begin, in characters: the header's
    // headings (parted by two or more blanks) are shown over them. Empty
    // to show the header as it is.
    std::vector<int> headerColumns;
};

// A schematic of the circuit. The form holds the picture's file name, so a
// calculator changes the picture by setting the control's text. A file of
// that name in the program directory is shown when there is one; otherwise
// our own drawing of the same base name with ".svg".
struct PictureSpec {
    std::string name;
    std::string file;
    std::string description = "Circuit diagram";
};

// A multi-line read-only box that the help texts are written into.
struct HelpBoxSpec {
    std::string name;
    int lines = 4;
};

// A drop-down box with a fixed list; the form holds the chosen text.
struct ComboSpec {
    std::string name;
    std::string label;
    std::vector<std::string> items;
    std::string initial;
    bool editable = false; // the user may also type a text of his own
    std::string unit;
};

// A push button. The standard names run the window cycle (CmdCalc,
// CmdClr, CmdLoadData and the window's close button); any other button
// runs the handler the calculator registers under its name in `buttons`,
// or does nothing when there is none.
struct ButtonSpec {
    std::string name;
    std::string caption;
    bool enabled = true;
    bool visible = true;
};

// Something a drawing offers to save beyond its picture: a caption for its
// context menu, a file-dialog filter and the text to write ("Export traces as
// CSV..."). The text may take long; it reports progress and may be cancelled
// (an empty text then).
struct DrawingExport {
    std::string caption;
    std::string filter; // "CSV files (*.csv)"
    std::function<std::string(const Form&, Progress&)> text;
};

// A graph or other drawing: the form holds its display list, in twips.
struct DrawingSpec {
    std::string name;
    int widthTwips = 0; // the drawing's coordinate space
    int heightTwips = 0;
    std::string description; // for assistive technology, when it has no texts
    std::vector<DrawingExport> exports;
    // What the point under the mouse means ("100.0e-3 Sec.  250.0 Volts"),
    // or nothing outside the plot; coordinates in the drawing's twips.
    std::function<std::optional<std::string>(const Form&, double x, double y)> pointerText;
};

struct FrameSpec;
struct GridSpec;

using ControlSpec = std::variant<BoxSpec, GroupSpec, CheckSpec, LabelSpec, ListSpec, PictureSpec,
                                 HelpBoxSpec, ComboSpec, ButtonSpec, DrawingSpec,
                                 std::shared_ptr<FrameSpec>, std::shared_ptr<GridSpec>>;

enum class Direction { Vertical, Horizontal };

// A frame shows and hides its children as a whole (form.setVisible on its
// name). An empty caption draws no border: a plain column or row.
struct FrameSpec {
    std::string name;
    std::string caption;
    Direction direction = Direction::Vertical;
    std::vector<ControlSpec> children;
    bool visible = true;
    bool scrolls = false; // in a scroll area when the screen is too small for it
};

// Cells laid out in rows, `columns` to a row, in reading order; the tab
// order runs row by row. Column captions go above the columns, row captions
// before the rows (either may be empty).
struct GridSpec {
    std::string name;
    int columns = 1;
    std::vector<ControlSpec> cells;
    std::vector<std::string> columnCaptions;
    std::vector<std::string> rowCaptions;
};

// How a frame starts: shown or hidden until a rule shows it, and whether it
// scrolls.
struct FrameFlags {
    bool visible = true;
    bool scrolls = false;
};

// A frame in short: frame("FrameEqu", "Equations", Direction::Vertical,
// {...}, {.visible = false}).
inline ControlSpec frame(std::string name, std::string caption, Direction direction,
                         std::vector<ControlSpec> children, FrameFlags flags = {}) {
    return std::make_shared<FrameSpec>(FrameSpec{.name = std::move(name),
                                                 .caption = std::move(caption),
                                                 .direction = direction,
                                                 .children = std::move(children),
                                                 .visible = flags.visible,
                                                 .scrolls = flags.scrolls});
}

// A grid of rows x columns cells, cell(row, column) making each one.
inline ControlSpec grid(std::string name, int rows, int columns,
                        const std::function<ControlSpec(int row, int column)>& cell,
                        std::vector<std::string> columnCaptions = {},
                        std::vector<std::string> rowCaptions = {}) {
    auto g = std::make_shared<GridSpec>();
    g->name = std::move(name);
    g->columns = columns;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            g->cells.push_back(cell(r, c));
    g->columnCaptions = std::move(columnCaptions);
    g->rowCaptions = std::move(rowCaptions);
    return g;
}

// Mouse-over help on the four standard buttons, written into a help box.
// With shared texts the standard texts are used (CalcHelp, ClearHelp,
// CloseHelp, and ExampleHelp or ReloadHelp by the example flag); otherwise
// the window's own texts by button name (with shared texts, for the
// window's extra buttons). Moving over the button frame
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
    // The button row at the bottom; empty for the standard four
    // (CmdCalc, CmdClr, CmdLoadData, closeName). A window lists its own to
    // rename, leave out, reorder or add buttons.
    std::vector<ButtonSpec> buttons;
    std::optional<HoverHelp> hoverHelp;
    // The window's own Print button, which Ctrl+P presses instead of printing
    // a worksheet of the window; empty for none.
    std::string printButton;
    bool maximised = false; // opens maximised; laid out anew on resize
};

// The standard button row with the window's Clear caption and close name.
std::vector<ButtonSpec> standardButtons(const FormSpec& form);

// ---- Its data file ------------------------------------------------------

enum class FieldKind {
    Eng,          // a box, written as engFieldText of the number it reads as
    Typed,        // a box (or a drop-down box), written as typed
    TypedOrZero,  // a box, written as typed, "0.00" when empty
    Option,       // an option group, written "1", "2" or "3"
    OptionNumber, // an option group, written as a plain number (" 2")
    OptionIfAny,  // an option group, "1", "2" or "3"; no line at all when none is
                  // selected (so only as the last field)
    Value,        // a number held by the window, written as plain number text
    Fixed,        // a fixed text (name holds the text); read and ignored
    Check,        // a check box, written "1" when ticked, "0" when not
};

struct FileField {
    FieldKind kind;
    std::string name; // box, option group or window value
};

// ---- Its behaviour ------------------------------------------------------

// What a calculator's handlers may use besides its form. The printer, text
// metrics and long-run host are optional: without them printing says there
// is no printer, text is measured by fixed metrics and long runs run here.
struct CalcEnv {
    Dialogs& dialogs;
    const DataDir& files;
    Printer* printer = nullptr;
    const TextMetrics* metrics = nullptr;
    LongRunHost* longRuns = nullptr;

    const TextMetrics& textMetrics() const;
    // Runs work that may take long, with progress and a cancel flag; false
    // when the user cancelled it (the caller then changes nothing).
    bool runLong(const std::string& title, const LongWork& work);
    // Sends a print job to the printer; false when nothing was printed.
    bool print(const PrintJob& job);
};

using Handler = std::function<void(Form&, CalcEnv&)>;
using NamedHandler = std::function<void(Form&, CalcEnv&, const std::string& control)>;
using HandlerMap = std::map<std::string, Handler>;

// A data file's fields as one load read them (field 0 is the flag line);
// nothing when the file could not be opened.
using DataFields = std::optional<std::vector<std::string>>;

// A calculator's own file reader. The window cycle reads the file once per
// load and hands the fields over; a reader written as a plain Handler
// (Form&, CalcEnv&) is accepted too and then reads the file itself.
class FileReader {
public:
    using Read = std::function<void(Form&, CalcEnv&, const DataFields&)>;
    FileReader() = default;
    template <typename F>
    requires(!std::is_same_v<F, FileReader> &&
             std::is_invocable_v<F&, Form&, CalcEnv&, const DataFields&>) FileReader(F f)
        : read_(std::move(f)) {}
    template <typename F>
    requires(std::is_invocable_v<F&, Form&, CalcEnv&> &&
             !std::is_invocable_v<F&, Form&, CalcEnv&, const DataFields&>) FileReader(F f)
        : read_([f = std::move(f)](Form& form, CalcEnv& env, const DataFields&) mutable {
              f(form, env);
          }) {}
    explicit operator bool() const { return static_cast<bool>(read_); }
    void operator()(Form& form, CalcEnv& env, const DataFields& fields) const {
        read_(form, env, fields);
    }

private:
    Read read_;
};

struct Calculator {
    FormSpec form;
    std::string dataFile;                 // empty: the window keeps no file
    std::vector<FileField> fields;        // in file order, after the flag line
    std::vector<std::string> clearBoxes;  // emptied by the standard Clear
    std::vector<std::string> clearGroups; // option groups it turns off
    std::vector<std::string> values;      // numbers the window keeps (form.value)

    Handler calculate; // CmdCalc_Click
    // Handlers by control name: an option selected (by click, file or code),
    // a box the user changed, a check box clicked, a drop-down box changed,
    // a box that lost the focus, a button pressed.
    HandlerMap options, boxes, checks, combos, lostFocus, buttons;
    // Catch-alls, for rules shared by many controls (a whole control array);
    // they run after the handler by name, if any.
    NamedHandler optionSelected;
    NamedHandler checkChanged;
    NamedHandler boxChanged;
    Handler clear;       // replaces the standard Clear when set
    FileReader loadFile; // replaces the standard LoadFile when set
    Handler beforeSave;  // runs at Close before the file is written
    // Window-specific set-up at opening, after the file is loaded; flagRead
    // tells whether the flag line of the data file could be read.
    std::function<void(Form&, CalcEnv&, bool flagRead)> setUp;
    // The circuit a completed press designed or analysed, as a SPICE netlist
    // built from the form's inputs at full precision; none where the form
    // holds no circuit (a mode without one). Left empty by calculators that
    // have no circuit to simulate.
    std::function<std::optional<Netlist>(const Form&)> netlist;
};

// Calls visit(control) for every control of the description, frames and
// grids included (a frame before its children), then the button row.
void forEachControl(const FormSpec& form, const std::function<void(const ControlSpec&)>& visit);

} // namespace ferrovane
