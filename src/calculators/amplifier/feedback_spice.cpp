#include <cmath>
#include <cstdio>
#include <optional>
#include <string>

#include "calculators/amplifier/feedback.h"
#include "numeric/constants.h"
#include "shell/spice.h"

namespace ferrovane {

namespace {

// The frequency the loop is looked at. On the flat part any will do; on a
// slope the open-loop gain is A at this frequency.
constexpr double kTestFrequency = 1000;

// The amplifier from its input pair (plus, minus) to out: a voltage source
// of gain A on the flat part; on a slope an integrator, whose gain is A
// lagging by 90 degrees at the test frequency: a current A w C into C,
// buffered.
void addAmplifier(Netlist& n, const feedbackloop::Loop& l, const std::string& plus,
                  const std::string& minus) {
    if (!l.slope) {
        n.elements.push_back({spiceElement("EA", {"out", "0", plus, minus}, spiceNumber(l.a)),
                              "The amplifier: open-loop gain A, in phase"});
        return;
    }
    const double gm = l.a * 2 * Pi * kTestFrequency;
    n.elements.push_back({spiceElement("GA", {"0", "x", plus, minus}, spiceNumber(gm)),
                          "The amplifier on a slope: A w C into CA, so A at the test frequency"});
    n.elements.push_back({spiceElement("CA", {"x", "0"}, "1"), "The integrator's capacitor"});
    n.elements.push_back({spiceElement("EOUT", {"out", "0", "x", "0"}, "1"), "Output buffer"});
}

// The calculator takes B = R1 / R2 for the inverting amplifier. The stage
// itself divides its input and its output between R1 and R2: with
// alpha = R2 / (R1 + R2) and beta = R1 / (R1 + R2) its gain is
// A alpha / |1 + A beta| (A lagging by 90 degrees on a slope). The
// difference in percent of the calculated gain.
double invertingDifference(const feedbackloop::Loop& l) {
    const double alpha = l.r2 / (l.r1 + l.r2), beta = l.r1 / (l.r1 + l.r2);
    const double loop = l.a * beta;
    const double stage = l.a * alpha / (l.slope ? std::sqrt(1 + loop * loop) : 1 + loop);
    return 100 * (stage / l.ac - 1);
}

std::string percentText(double p) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3g", p);
    return text;
}

} // namespace

// The amplifier with its feedback network, driven by 1 V at the test
// frequency: R1 from the inverting input to ground and R2 from the output for
// the noninverting amplifier, R1 from the source and R2 from the output into
// the inverting input for the inverting one, and a source of gain B when B is
// given as a number. The output's magnitude is the closed-loop gain.
std::optional<Netlist> feedbackNetlist(const Form& form) {
    using namespace feedbackloop;
    const std::optional<Loop> found = gainLoop(form);
    if (!found)
        return std::nullopt;
    const Loop& l = *found;
    if (!(l.a > 0) || !(l.b > 0) || !(l.ac > 0))
        return std::nullopt;
    if (l.byResistors && (!(l.r1 > 0) || !(l.r2 > 0)))
        return std::nullopt;

    Netlist n;
    double tolerance = 0.1;
    n.elements.push_back({spiceElement("Vin", {"in", "0"}, "DC 0 AC 1"), "A 1 V source"});
    if (!l.byResistors) {
        addAmplifier(n, l, "in", "fb");
        n.elements.push_back({spiceElement("EB", {"fb", "0", "out", "0"}, spiceNumber(l.b)),
                              "The feedback network: the fraction B of the output"});
    } else if (!l.inverting) {
        addAmplifier(n, l, "in", "fb");
        n.elements.push_back(
            {spiceElement("R2", {"out", "fb"}, spiceNumber(l.r2)), "R2, output to input"});
        n.elements.push_back(
            {spiceElement("R1", {"fb", "0"}, spiceNumber(l.r1)), "R1, input to ground"});
    } else {
        addAmplifier(n, l, "0", "sum");
        n.elements.push_back(
            {spiceElement("R1", {"in", "sum"}, spiceNumber(l.r1)), "R1, source to input"});
        n.elements.push_back(
            {spiceElement("R2", {"out", "sum"}, spiceNumber(l.r2)), "R2, output to input"});
        const double difference = invertingDifference(l);
        n.notes.push_back("The calculator takes B = R1 / R2; the inverting stage divides its input "
                          "and output between R1 and R2, so its gain is expected to differ by " +
                          percentText(difference) + " % from the calculated one.");
        tolerance += std::fabs(difference);
    }
    if (l.slope)
        n.notes.push_back("On a slope the open-loop gain lags by 90 degrees: the amplifier is an "
                          "integrator whose gain is A at the test frequency.");
    const char* given[] = {"", "A' worked out from A and B", "A worked out from A' and B",
                           "B worked out from A and A'"};
    n.notes.push_back(std::string("Calculate Gain: ") + given[l.solved] + ".");
    n.analyses = {acAnalysisAt(kTestFrequency)};
    n.figures = {{"ac", "gain", "Closed-loop gain, A'", "",
                  "find vm(out) " + spiceAt(kTestFrequency), l.ac, tolerance}};
    return n;
}

} // namespace ferrovane
