#include "shell/example_files.h"

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace ferrovane {

namespace {

struct Line {
    std::size_t number; // line 1 is the flag, so the first field is line 2
    const char* text;
};

// A file with many boxes of which only a few hold something: every field is
// "0" except the lines given.
template <std::size_t N>
std::vector<std::string> sparseFields(std::size_t lastLine, const Line (&lines)[N]) {
    std::vector<std::string> fields(lastLine - 1, "0");
    for (const Line& line : lines)
        fields.at(line.number - 2) = line.text;
    return fields;
}

// The loop-equation example: two equations (-30 I1 + 10 I2 + 60 = 0,
// 10 I1 - 25 I2 - 85 = 0) selected, a six-loop grid behind them, and ladders
// ready in the impedance and component methods.
std::vector<std::string> arrayFields() {
    // clang-format off
    static constexpr Line lines[] = {
        {2, "2"}, {3, "4"}, {4, "4"},          // loops of the three methods
        // equation grid, real parts: TxtR(k) is line 5 + 2k, k = 6 (row - 1) + column - 1
        {5, "-30"}, {7, "10"},                 // M11, M12
        {17, "10"}, {19, "-25"}, {21, "2"},    // M21, M22, M23
        {31, "2"}, {33, "-5"}, {35, "2"},      // M32, M33, M34
        {45, "2"}, {47, "-5"}, {49, "2"},      // M43, M44, M45
        {59, "2"}, {61, "-5"}, {63, "2"},      // M54, M55, M56
        {73, "2"}, {75, "-4"},                 // M65, M66
        {77, "60"}, {79, "-85"},               // K1, K2 (real)
        {89, "1"},                             // E0 of the impedance method
        {103, "750"},                          // E0 of the component method
        // impedances: R of Zn on line 115 + 2n, X on line 116 + 2n
        {117, "1000"}, {120, "408.2"},         // Z1 = 1000, Z2 = j408.2
        {121, "1000"}, {124, "408.2"},         // Z3, Z4
        {125, "1000"}, {128, "408.2"},         // Z5, Z6
        {131, "1e6"},                          // Z8, the load
        {133, "1000"}, {136, "1110.75"},       // Z9 real, Z10 imaginary
        {137, "1333"}, {140, "666.5"},         // Z11 real, Z12 imaginary
        // branches: R, L, C of branch b on lines 138 + 3b to 140 + 3b; a "*"
        // capacitor is a branch without one
        {141, "5000"}, {143, "*"},             // branch 1
        {146, "26.37e-12"},                    // branch 2
        {148, "67.08e-6"}, {149, "*"},         // branch 3
        {152, "284.7e-12"},                    // branch 4
        {154, "6.708e-6"}, {155, "*"},         // branch 5
        {158, "263.7e-12"},                    // branch 6
        {161, "*"},                            // branch 7
        {162, "50"}, {164, "*"},               // branch 8
        {165, "10"}, {167, "*"},               // branch 9
        {168, "20"}, {170, "*"},               // branch 10
        {171, "10"}, {173, "*"},               // branch 11
        {174, "10"}, {176, "*"},               // branch 12
        {177, "3.742e6"},                      // frequency
        {178, "1"},                            // method: equations
    };
    // clang-format on
    return sparseFields(178, lines);
}

std::vector<ExampleFile> makeExampleFiles() {
    return {
        // Divider: 150 V out of 400 V into a 1 M load, Rt 10 k to 1 M; Ar, dB,
        // Vo, Vin, load, Rt min, Rt max, attenuation option (Vin and Vo),
        // loading option (resistance).
        {"VoltDiv.DAT",
         true,
         {"375.0e-3", "-8.519", "150.0", "400.0", "1.000e+6", "10.00e+3", "1.000e+6", "3", "3"}},
        // Half-wave antenna at 7.25 MHz, factor 0.98: frequency in Hz, length in
        // metres, fraction, factor, shown in kHz and in feet and inches.
        {"Wave.dat", true, {"7250000", "0", ".5", ".98", "2", "3"}},
        // F, omega, L, C, XL, XC: 455 kHz with 2.5 mH, the rest to be found.
        {"XlXcFLC.dat", true, {"455e3", "0", "2.5e-3", "0", "0", "0"}},
        // F, bandwidth, C, L, R, Q.
        {"RLCQ.dat", true, {"455e3", "15.0e3", "0", "2.5e-3", "0", "0"}},
        // F, RL, R1, Vc, Ic, mode 2 (R1 from plate voltage and current).
        {"LNetD.dat", true, {"7.250e+6", "50.00", "6.000e+3", "1.500e+3", "250.0e-3", "2"}},
        // F, Q, RL, R1, Vc, Ic, mode 1 (R1 typed).
        {"CapDiv.dat", true, {"455.0e+3", "10.00", "600.0", "5.000e+3", "0.000", "0.000", "1"}},
        // The design of the example above: F, R1, L, coil loss, C1, C2, RL, Q.
        {"CapDivDesign.DAT",
         true,
         {"455.0e+3", "5.000e+3", "174.9e-6", "10.00", "1.060e-9", "1.944e-9", "600.0", "10.00"}},
        // The lossy-coil run of that design: F, R1, C1, L, Rc, C2, RL, Q.
        {"CapDivLastRun.dat",
         true,
         {"455.0e+3", "5.000e+3", "1.060e-9", "174.9e-6", "2.00", "1.944e-9", "600.0", "10.00"}},
        // F, Q, RL, R1, Vc, Ic, mode 2 (R1 from plate voltage and current).
        {"PiNetD.dat",
         true,
         {"14.25e+6", "15.00", "52.00", "4.000e+3", "2.000e+3", "500.0e-3", "2"}},
        // The design of the example above: F, R1, C1, L, coil loss, C2, RL, Q.
        {"PiNetDesign.DAT",
         true,
         {"14.25e+6", "4.000e+3", "41.88e-12", "3.240e-6", "1.00", "299.0e-12", "52.00", "15.00"}},
        // The lossy-coil run of that design: F, R1, C1, L, Rc, C2, RL, Q.
        {"PiNetLastRun.dat",
         true,
         {"14.25e+6", "4.000e+3", "41.88e-12", "3.240e-6", "1.000", "299.0e-12", "52.00", "15.00"}},
        // Output 146.28 MHz from crystals between 5 and 6 MHz.
        {"FreqMult.dat", true, {"146.28e6", "5.000e6", "6.000e6"}},
        // Vcc 25 V, Ic 1 mA, beta 100, Ve 5 V, stability 10.
        {"CVBData.dat", true, {"25.00", "1.000", "100.0", "5.000", "10.00"}},
        // The design from those boxes, no flag line: Vcc, Ic (mA), B, Ve, S, then
        // Re, Rb, Vbb of the standard divider, R1, R2, Rc.
        {"CVBOutPut.dat",
         false,
         {"25.00", "1.000", "100.0", "5.000", "10.00", "5100", "50746.2686567164",
          "6.34328358208955", "200000", "68000", "10000"}},
        // Vcc, beta, R1, R2, Rc, Re.
        {"CVBChngR.dat", true, {"150.0", "100.0", "43.00e+3", "4.300e+3", "2.200e+3", "390.0"}},
        // TxtData(0..9): A = 73.56 in both sections, R1 = 100 and R2 = 3300, E = 20;
        // mode 2 (non-inverting), slope 1 (flat).
        {"Feedback.dat",
         true,
         {"73.56", "0.000", "0.000", "100.0", "3.300e+3", "73.56", "20.00", "0.000", "0.000",
          "0.000", "2", "1"}},
        {"Array.DAT", true, arrayFields()},
        // Primary 117 V with 2.05 ohms, four secondaries, each row voltage,
        // resistance, current ("0": to be found), type 3 (shielded sub mount),
        // the outside dimensions X, Y, Z and the core dimensions A, B, C in cm,
        // and the loading correction on.
        {"PowerXfm.DAT", true, {"117",   "2.05",    "4",   // primary, secondaries
                                "350",   "67.4",    "0",   // row 0
                                "40.0",  "7.60",    "0",   // row 1
                                "5.297", "99.0e-3", "3.0", // row 2
                                "6.65",  "122e-3",  "0",   // row 3
                                "0",     "0",       "0",   // row 4
                                "0",     "0",       "0",   // row 5
                                "3",                       // type
                                "11.3",  "9.6",     "9.7", // X, Y, Z
                                "4.0",   "8.4",     "6.4", // A, B, C
                                "1"}},                     // loading correction
        // The percent dissipation limits, a description line before each number;
        // no flag line.
        {"CONSTANT.DAT",
         false,
         {"Plate winding percent dissipation for an open core transformer.", "2.5",
          "Filament winding percent dissipation for an open core transformer.", "4.5",
          "Plate winding percent dissipation for a potted transformer.", "1.5",
          "Filament winding percent dissipation for a potted transformer.", "2.5"}},
        // Boxes 0..26: 300 V RMS, R0 200, a four-section RC filter with its
        // loads, 60 Hz, the graph 12 cycles from 0 s of a 4 s run, time ticks
        // 6 by 4, 0 to 500 V in 6 by 5, diode current times 100; then the
        // rectifier option 1 (full-wave).
        {"PSFData.dat",
         true,
         {"300.0",    "200.0",    "40.00e-6", "70.00e-3", "1.000e+3", "0.000",    "40.00e-6",
          "10.00e-3", "10.00e+3", "0.000",    "10.00e-6", "2.000e-3", "22.00e+3", "0.000",
          "4.000e-6", "2.000e-3", "60.00",    "0.000",    "12.00",    "4.000",    "6.000",
          "4.000",    "0.000",    "500.0",    "6.000",    "5.000",    "100.0",    "1"}},
        // 3.5 to 4.0 MHz (kHz), 360 to 30 pF, IF 455 kHz, 17 uH RF coil, 12.67 uH
        // oscillator coil, a row every 50 kHz, mode 2 (padder and trimmer 2).
        {"Track.DAT", true, {"3500", "4000", "360", "30", "455", "17", "12.67", "50", "2"}},
        // R = 75, X = -15 at 21.25 MHz on a 75 ohm line, mode 1 (R + jX).
        {"RXData.dat", true, {"75.00", "-15.00", "21.25e+6", "75.00", "1"}},
        // 12AX7: rp 80 k, mu 100, gm 1250 micromhos, next grid resistor 1 Meg,
        // Rb 470 k, Rk 1500, options 1 + 8 (triode, cathode not bypassed), type.
        {"Tubes.dat", true, {"80000", "100", "1250", "1 Meg", "470000", "1500", "9", "12AX7"}},
    };
}

} // namespace

const std::vector<ExampleFile>& exampleFiles() {
    static const std::vector<ExampleFile> files = makeExampleFiles();
    return files;
}

WriteResult RestoreExamples(const DataDir& dir) {
    WriteResult first;
    for (const ExampleFile& file : exampleFiles()) {
        std::vector<std::string> lines;
        lines.reserve(file.fields.size() + 1);
        if (file.flagLine)
            lines.emplace_back("True");
        lines.insert(lines.end(), file.fields.begin(), file.fields.end());

        WriteResult result = dir.writeLines(file.name, lines);
        if (!result && first) {
            // The caller reports this to the user, so the reason must say
            // which file it was.
            if (result.error.find(file.name) == std::string::npos)
                result.error = file.name + ": " + result.error;
            first = std::move(result);
        }
    }
    return first;
}

} // namespace ferrovane
