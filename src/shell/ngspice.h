#pragma once

#include <chrono>
#include <cstddef>
#include <string>

#include "shell/calculator.h"
#include "shell/long_run.h"
#include "shell/spice.h"

namespace ferrovane {

// Running ngspice in batch mode on a netlist, as a separate process with a
// time limit and a cap on what it may print: a run that hangs or floods its
// output is stopped and reported, and the caller stays responsive (the run
// ends soon after Cancel).

struct SpiceLimits {
    std::string program = "ngspice";
    std::chrono::milliseconds time{30000};
    std::size_t outputBytes = std::size_t{4} << 20;
};

struct SpiceRun {
    enum class Status { Done, NotInstalled, Failed, TimedOut, TooMuchOutput, Cancelled };
    Status status = Status::Failed;
    std::string output; // what ngspice printed, stdout and stderr together
    std::string why;    // for any status but Done: one sentence for the user
};

// The command that installs ngspice, for messages.
inline constexpr const char* kInstallNgspice = "sudo apt-get install ngspice";

// Whether program is found on the PATH (or, holding a "/", is executable).
bool spiceAvailable(const SpiceLimits& limits = {});

// Writes the netlist to a scratch folder and runs "ngspice -b" on it there.
// progress may be null; its Cancel stops the run.
SpiceRun runSpice(const std::string& netlist, const SpiceLimits& limits = {},
                  Progress* progress = nullptr);

// The netlist of a form after a completed press, or the sentence that says
// why there is none (the calculator has no circuit, the form holds none, or a
// value is not a finite number).
struct NetlistResult {
    std::optional<Netlist> netlist;
    std::string why;
};
NetlistResult netlistOf(const Calculator& calc, const Form& form);

// A press through the window cycle, and the circuit a window keeps for its
// netlist after it: the form after a Calculate that showed no message; none
// after a Calculate that ended on one, nor after Clear or Load Example; the
// one kept before after any other press.
void pressKeepingCircuit(const Calculator& calc, Form& form, CalcEnv& env,
                         const std::string& button, std::optional<Form>& circuit);

// A netlist run in ngspice and its figures compared with the calculator's.
struct SpiceCheck {
    SpiceRun run;
    std::vector<FigureCheck> checks;
    // Every figure measured and within its tolerance.
    bool passed() const;
};
SpiceCheck checkWithSpice(const Netlist& netlist, const std::string& text,
                          const SpiceLimits& limits = {}, Progress* progress = nullptr);

// Today's date as netlists name it ("2026-12-07").
std::string todayText();

} // namespace ferrovane
