#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "numeric/complex_text.h"
#include "numeric/determinant.h"
#include "numeric/numeric_fault.h"
#include "shell/calculator.h"
#include "shell/design_file.h"

// What the two lossy-coil analysis windows (capacitive divider and pi network)
// share: the three loop equations solved by Cramer's rule on complex value
// texts, the layout of their result lines, their help box and the reading of
// a design file into their boxes.
namespace ferrovane::lossy {

// Both windows' boxes are those of the design fields (designs::kF ...); their
// result list:
inline constexpr const char* kList = "List1";

// Their data file: F, R1, C1, L, Rc, C2, RL, Q, each as engineering text.
std::vector<FileField> fileFields();

// A lossy window: its boxes (of designs::kF ... kQ) in the order given, its
// circuit picture beside the help box, the result list, and Clear captioned
// "Load New Design".
FormSpec formSpec(std::string name, std::string caption, const std::vector<std::string>& boxes,
                  std::string picture, std::string loadDesignHelp, std::string loadLastRunHelp);

// The network as the boxes give it, with its reactances at F.
struct Network {
    double f = 0, r1 = 0, l = 0, rc = 0, c1 = 0, c2 = 0, rl = 0;
    double xl = 0, xc1 = 0, xc2 = 0;
};
// Throws NumericFault naming F, L, C1 and C2 where they are zero.
Network readNetwork(const Form& form);

// The negated loop equations of a network driven by a 1-volt source:
// matrix(row, column) and rhs[row - 1], all complex value texts.
struct MeshEquations {
    ComplexMatrix matrix;
    std::array<std::string, 3> rhs;
};

// The loop currents I1, I2, I3 by Cramer's rule: Ik = Nk / D, where Nk is the
// determinant with column k replaced by the right-hand side. A zero
// determinant (no single solution) throws NumericFault.
std::array<std::string, 3> solveMesh(const MeshEquations& equations);

// The loop currents, with their lines I1 to I3 added to `lines`; a numeric
// fault names the step.
std::array<std::string, 3> listCurrents(const MeshEquations& equations,
                                        std::vector<std::string>& lines);

// The sign rule of the result lines for the engineering text b of an
// imaginary part: "+ j" and b as it is when b reads as zero or more,
// otherwise "- j" and b with its minus sign replaced by a blank.
struct SignedImaginary {
    std::string sign;
    std::string text;
};
SignedImaginary signText(const std::string& b);

// An angle in radians as degrees rounded to hundredths, plain number text.
std::string angleText(double radians);

// The degree sign that follows every angle.
inline constexpr const char* kDegree = "\u00B0";

// Magnitude and angle of a complex value text (a fault for an empty text).
Polar polarOf(std::string_view value);

// "I1 = " A sign B "Amps = " M "Amps /_" angle degree.
std::string currentLine(int k, std::string_view current);
// "Z  = " A sign B "Ohms = " M "Ohms /_" angle degree.
std::string impedanceLine(std::string_view z);
// "Zp = " Rp "P/w" Xp "Ohms = " Rp "Ohms, P/w " Cp "Farads": the parallel
// equivalent of z at f hertz.
std::string parallelLine(double f, std::string_view z);

// Loaded Q from the four-digit values the current lines show: the imaginary
// part of one current over the real part of another, rounded to hundredths
// (rounding down after adding a half, negative quotients too), made positive.
double loadedQ(std::string_view imaginaryOf, std::string_view realOf);
// "Q  =  " and q in plain number text.
std::string qLine(double q);

// The load voltage: the loop-3 current times RL.
std::string outputVoltage(std::string_view i3, double rl);
// caption, the ratio's engineering text, "/_", the angle and the degree sign.
std::string vtrLine(std::string_view caption, double ratio, double angle);
// 20 log10 of a voltage ratio rounded to a tenth of a decibel.
double decibels(double ratio);

// The help box: the Calculate and Close texts are the same in both windows,
// the two loading buttons explain each window's own files.
inline constexpr const char* kCalcHelp =
    "Recalculate loop currents and input impedance based on values entered in the date boxes.";
inline constexpr const char* kCloseHelp =
    "The current data will be save and this calculator will be closed.";
HoverHelp hoverHelp(std::string loadDesignHelp, std::string loadLastRunHelp);

// Reads a design into the boxes its fields name. A missing or short file
// is passed over silently; the boxes it has no line for keep their text.
void loadDesign(Form& form, CalcEnv& env, const DesignFile& design);

// The reactances need these boxes non-zero: throws NumericFault naming the
// zero ones ({box, name shown}).
void requireNonZero(const Form& form,
                    const std::vector<std::pair<std::string, std::string>>& boxes);

// Runs one step of an analysis; a numeric fault in it names the step.
template <class Step> auto step(const char* what, Step&& s) -> decltype(s()) {
    try {
        return s();
    } catch (const NumericFault& fault) {
        throw NumericFault(std::string(what) + ": " + fault.what());
    }
}

// The message of a calculation that met a numeric fault.
std::string faultText(const std::string& reason);

// Calculate's frame: the result list is emptied, then the analysis lists its
// lines. When the analysis meets a numeric fault the list stays empty (the
// lines of earlier values would not belong to the boxes now shown), the boxes
// stay as they are, and one message says what could not be calculated.
using Analysis = std::function<std::vector<std::string>(const Form&)>;
void listAnalysis(Form& form, CalcEnv& env, const std::string& list, const Analysis& analysis);

} // namespace ferrovane::lossy
