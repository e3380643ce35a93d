#pragma once

#include <string>

#include "shell/spice.h"

namespace ferrovane::cvb {

// The four-resistor stage on its supply, as both bias windows see it, with
// where each value came from (for the netlist's comments).
struct Stage {
    double vcc = 0, beta = 0, r1 = 0, r2 = 0, re = 0, rc = 0; // rc 0: emitter follower
    std::string r1From, r2From, reFrom, rcFrom;
    std::string vccFrom = "Supply from the Collector voltage box";
    std::string betaFrom = "B from the Transistor Current Gain box";
};

// What a window worked out for the stage: amperes, volts and watts.
struct StageFigures {
    double ic = 0, ve = 0, vc = 0;
    double pR1 = 0, pR2 = 0, pRe = 0, pRc = 0;
};

// The stage with the transistor as the windows model it: a 0.6 V source
// from base to emitter that carries the base current, and a collector
// current of B times that current. A one-point DC sweep of the supply
// measures Ic, Ve, Vc and each resistor's power against the window's.
Netlist stageNetlist(const Stage& stage, const StageFigures& calculated);

// Whether the values make a stage the netlist can hold: positive R1, R2,
// Re and gain, Rc not negative, and everything finite.
bool isStage(const Stage& stage);

} // namespace ferrovane::cvb
