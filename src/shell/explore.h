#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "shell/long_run.h"
#include "shell/quantities.h"
#include "shell/run.h"

namespace ferrovane {

// What-if runs over a form: a sweep of one input, and tolerance spreads.
// Every point runs on a copy of the form with the run's own data folder and
// recording dialogs, so nothing the user keeps is written and no message
// box is shown; messages are collected.

// The limits a request must keep, named in the message that refuses it.
inline constexpr int kMaxSweepPoints = 10000;
inline constexpr int kMaxRuns = 100000;
inline constexpr int kMaxCornerInputs = 10;
inline constexpr double kMaxTolerancePercent = 100;

// Where the runs start: the form as opened and set, the data folder, and
// the button each run presses.
struct ExploreBase {
    const Calculator* calc = nullptr;
    Form form;
    const DataDir* dir = nullptr;
    std::string press = "CmdCalc";
    Answer answer = Answer::Yes;
};

struct SweepRequest {
    std::string box;
    double from = 0, to = 0;
    int points = 0;
    bool log = false;
    std::vector<Quantity> outputs; // empty: every result of the first completed point
};

// A stretch of points whose press ended on the same message.
struct Gap {
    int first = 0, last = 0; // point indexes, from 0
    std::string message;
};

struct SweepResult {
    std::string input; // the box's label
    std::vector<double> x;
    std::vector<Quantity> outputs;
    std::vector<std::vector<std::optional<double>>> y; // y[point][output]; empty in a gap
    std::vector<Gap> gaps;
};

// The points of a sweep, both ends included; geometric when log.
std::vector<double> sweepPoints(double from, double to, int points, bool log);
// Why a request cannot run (naming the limit), or nothing when it can.
std::optional<std::string> checkSweep(const ExploreBase& base, const SweepRequest& request);
// Runs the sweep; nothing when it was cancelled.
std::optional<SweepResult> runSweep(const ExploreBase& base, const SweepRequest& request,
                                    Progress& progress);

struct ToleranceRequest {
    std::vector<std::pair<std::string, double>> inputs; // box, +/- percent
    int runs = 1000;
    std::uint64_t seed = 1;
    bool worstCase = false;
    std::vector<Quantity> outputs;
};

struct Spread {
    Quantity output;
    std::optional<double> nominal;
    double min = 0, mean = 0, max = 0, stddev = 0;
    int failed = 0;             // runs that ended on a message
    std::vector<double> values; // every completed run's value, for a histogram
};

struct ToleranceResult {
    std::vector<Spread> spreads;
    int runs = 0;
    std::vector<std::string> messages; // each different message once
};

std::optional<std::string> checkTolerance(const ExploreBase& base, const ToleranceRequest& request);
// Monte Carlo (or every corner with worstCase); nothing when cancelled.
std::optional<ToleranceResult> runTolerance(const ExploreBase& base,
                                            const ToleranceRequest& request, Progress& progress);

// The number as a box takes it: exact enough to read back to the same value.
std::string valueText(double v);

} // namespace ferrovane
