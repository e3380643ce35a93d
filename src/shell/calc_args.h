#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "calculators/catalogue.h"
#include "shell/explore.h"
#include "shell/named_design.h"
#include "shell/run.h"

namespace ferrovane {

// A command-line mistake: the one line that says what is wrong and what
// would be right.
struct UsageError {
    std::string text;
};

// The words after "calc", understood against the catalogue and the named
// calculator's controls.
struct CalcArgs {
    bool list = false;
    bool help = false;
    const CatalogueEntry* entry = nullptr;
    enum class Start { Empty, Example, Last, Design } start = Start::Empty;
    std::vector<RunAction> actions; // in the order given
    std::string press = "CmdCalc";
    Answer answer = Answer::Yes;
    bool json = false;
    std::optional<std::filesystem::path> dataDir;
    std::optional<SweepRequest> sweep;
    std::vector<std::string> outputs; // as given, read once the form is known
    std::optional<std::filesystem::path> csv;
    std::optional<ToleranceRequest> tolerance;
    // --design FILE: the design the form starts from (it names the
    // calculator); --save-design FILE: where the form is saved as a design
    // once the actions and the press are done.
    std::optional<NamedDesign> design;
    std::optional<std::filesystem::path> saveDesign;
    // --spice FILE: the netlist of the run's circuit; --simulate: run it in
    // ngspice and compare its figures with the calculator's.
    std::optional<std::filesystem::path> spice;
    bool simulate = false;
};

// Throws UsageError.
CalcArgs parseCalcArgs(const std::vector<std::string>& args);

// A control named by its name or by the label a user sees beside it (any
// letter case, blanks and "&" ignored). Throws UsageError naming the
// choices of that kind.
enum class ControlKind { Box, Option, Check, Combo, Button };
std::string resolveControl(const Calculator& calc, ControlKind kind, const std::string& given);

// A finite number written in plain or engineering text ("4.7k" is not one).
std::optional<double> parseNumber(const std::string& text);

} // namespace ferrovane
