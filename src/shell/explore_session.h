#pragma once

#include <optional>
#include <string>
#include <vector>

#include "shell/explore.h"

namespace ferrovane {

// What a calculator window hands to its Explore dialog: the form it shows,
// its data folder, and its last Calculate with the form either side of it.
// Sweeps and spreads then run on copies of that form over a scratch copy of
// the folder, so the window and the user's files stay as they are.

// A press of one of the window's Calculate buttons.
struct LastPress {
    std::string button;
    Form before; // the form the press started from
    Form after;  // the form it left
};

// Whether a button is one of the window's Calculate buttons ("CmdCalc",
// "CmdCalcA", ...), whose presses the window remembers for Explore.
bool isCalculateButton(const std::string& button);

// The button each run presses: that of the last Calculate, else the window's
// first Calculate button; empty when it has none.
std::string explorePress(const Calculator& calc, const LastPress* last);

// Copies the calculators' data and design files of one folder into another
// (a file the source lacks is left out).
void copyDataFiles(const DataDir& from, const DataDir& to);

// A gap as the dialog lists it: "Points 1 to 3 (F = -2.000 to 0.000): "
// and the message its points ended on.
std::string gapText(const SweepResult& result, const Gap& gap);

class ExploreSession {
public:
    // shown: the window's form now; last: its last Calculate, if any.
    ExploreSession(const Calculator& calc, const DataDir& files, const Form& shown,
                   const LastPress* last);

    const Calculator& calculator() const { return calc_; }
    // Where every run starts: the inputs of the last Calculate while the
    // window still shows its results, else the form as it stands.
    const Form& form() const { return form_; }
    const std::string& press() const { return press_; }

    // The boxes a person can type in, in layout order: what a sweep may vary.
    std::vector<BoxSpec> inputs() const;
    // What the last Calculate computed; nothing when the window does not
    // show its results (findResults then presses once on a copy).
    const std::optional<std::vector<Quantity>>& results() const { return results_; }
    // One press on a copy of the form; nothing when it was cancelled.
    bool findResults(LongRunHost* host);
    // How a result reads in the window now: a box's label and text, or the
    // line it stands in (and which of its numbers).
    std::string describe(const Quantity& q) const;

    // Why the request cannot run, or nothing.
    std::optional<std::string> check(const SweepRequest& r) const;
    std::optional<std::string> check(const ToleranceRequest& r) const;
    // The runs, through host (at once without one) over a fresh scratch copy
    // of the data folder; nothing when cancelled.
    std::optional<SweepResult> sweep(const SweepRequest& r, LongRunHost* host) const;
    std::optional<ToleranceResult> tolerance(const ToleranceRequest& r, LongRunHost* host) const;

private:
    const Calculator& calc_;
    const DataDir& files_;
    Form shown_;
    Form form_;
    std::string press_;
    std::optional<std::vector<Quantity>> results_;
};

} // namespace ferrovane
