#pragma once

#include <optional>

#include "shell/calculator.h"

namespace ferrovane {

// Receiver front-end tracking: the padder and trimmer (or coil and trimmer)
// that make the RF stage and the local oscillator, tuned by two identical
// capacitor sections, cover the band and the band shifted up by the IF;
// then the oscillator's tracking error across the band.
const Calculator& receiverTracking();

namespace tracking {

// The three circuits of a stage, numbered as the mode option buttons.
enum Mode { None = 0, PadderTrimmer1 = 1, PadderTrimmer2 = 2, CoilTrimmer = 3 };

struct Stage {
    double coil = 0;    // henrys
    double padder = 0;  // farads (none in coil-and-trimmer mode)
    double trimmer = 0; // farads
    int passes = 0;
};

enum class Failure { TrimmerBelowStart, NotSettled };

// The components that tune a stage with the given coil from `lower` to
// `upper` hertz over the capacitor's range cMin..cMax (in coil-and-trimmer
// mode the coil is computed and the one given is ignored).
struct StageResult {
    std::optional<Stage> stage;
    Failure failure = Failure::NotSettled;
};
StageResult designStage(Mode mode, double coil, double lower, double upper, double cMin,
                        double cMax);

// The capacitance the stage's coil sees when the tuning capacitor is at c.
double effectiveCapacitance(Mode mode, double c, const Stage& stage);

// The setting of the tuning capacitor that puts the RF stage on f.
double tuningCapacitance(Mode mode, double f, const Stage& rf);

// Both stages as Calculate designs them from the form (the band in hertz);
// nothing with no mode chosen or where a stage cannot be designed.
struct Design {
    Mode mode = None;
    double fLo = 0, fHi = 0, fIf = 0;
    Stage rf, osc;
};
std::optional<Design> designOf(const Form& form);

} // namespace tracking

// The RF and oscillator tanks with the capacitor set for each end of the band.
std::optional<Netlist> trackingNetlist(const Form& form);

} // namespace ferrovane
