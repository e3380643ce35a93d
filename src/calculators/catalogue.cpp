#include "calculators/catalogue.h"

#include <algorithm>
#include <cctype>

#include "calculators/amplifier/beta_plot.h"
#include "calculators/amplifier/bias_design.h"
#include "calculators/amplifier/change_values.h"
#include "calculators/amplifier/feedback.h"
#include "calculators/amplifier/tube_gain.h"
#include "calculators/equations/simultaneous.h"
#include "calculators/matching/cap_div_lossy.h"
#include "calculators/matching/cap_divider.h"
#include "calculators/matching/l_network.h"
#include "calculators/matching/pi_net_lossy.h"
#include "calculators/matching/pi_network.h"
#include "calculators/passive/reactance.h"
#include "calculators/passive/rlc_q.h"
#include "calculators/passive/volt_divider.h"
#include "calculators/passive/wavelength.h"
#include "calculators/power/filter_sim.h"
#include "calculators/power/power_transformer.h"
#include "calculators/rf/freq_multiplier.h"
#include "calculators/rf/tracking.h"
#include "calculators/rf/vswr_meter.h"

namespace ferrovane {

// Captions and descriptions are kept as the main window has always shown them,
// spelling and spacing included; "&&" in a caption is one literal ampersand.
const std::vector<CatalogueEntry>& catalogue() {
    static const std::vector<CatalogueEntry> entries = {
        // Standard value voltage divider
        {"CmdVoltDiv", "voltage-divider", 1, 1, "Standard Value Voltage Divider",
         "This calculator finds the closest match unloaded voltage divider using standard "
         "value 5% resistors.  It gives several combinations and the percent error for each.",
         &voltDivider},
        // Capacitive divider matching design
        {"CmdCapDiv", "cap-divider", 1, 2, "Capacitive Divider Matching",
         "This calculator will design a capacitive divider impedance matching network.",
         &capDivider},
        // Constant-voltage transistor bias design
        {"CmdTransBias", "bias-design", 1, 3, "Transistor Bias Circuit Design",
         "This calculator determines the standard 5% value resistors for a constant voltage "
         "biased transistor.  It also calculates power dissipation of all resistors and the "
         "transistor with or without a collector resistor.",
         &biasDesign},
        // Power transformer analysis
        {"CmdXform", "power-transformer", 1, 4, "Power Transformer",
         "You can connect up an unknown transformer to the power line and measure its output "
         "voltages but how much current can you draw from each winding?  If you use a low "
         "resistance adapter, for a digital multimeter, to measure the resistance of each "
         "winding, this calculator will help you estimate how hard you can safely work the "
         "transformer without burning it out. ",
         &powerTransformer},
        // Wavelength and tuned transmission line
        {"CmdWav", "wavelength", 2, 1, " Wavelength &&  Frequency",
         "This one solves the familiar frequency and wavelength equation with added features "
         "for antenna and tuned transmission line design. ",
         &wavelength},
        // Capacitive divider with lossy coil
        {"CmdLosyCapDiv", "cap-divider-lossy", 2, 2, " Cap Div with Lossey Coil",
         "The Capacitive Divider design equations are for a lossless, R = 0, coil.  You can "
         "begin with the design made by the Cap Div calculator, enter a value for the coil "
         "resistance and observe the effect on resonance and input impedance.",
         &capDivLossy},
        // Collector current versus beta plot
        {"CmdBiasStab", "beta-plot", 2, 3, "Bias Stability",
         "Plots a graph of Ic vs Beta for the circuit designed by the calculator above.  It "
         "MUST be run first so there will be a disk file containing the resistor values.",
         &betaPlot},
        // Power supply filter simulation
        {"CmdFilter", "filter-sim", 2, 4, "Power Supply Filter Simulator",
         "Real time simulation of LC and RC power supply filter circuits.  You will see "
         "graphs of the voltage at each node and the diode current.",
         &filterSim},
        // Reactance and resonance
        {"CmdLCRes", "reactance", 3, 1, "C-Xc, L-XL and Resonance",
         "This calculator computes the relationship between frequency, capacitance, "
         "inductance, capacitive reactance and inductive reactance.  Given sufficient data it "
         "will calculate the remaining unknowns.",
         &reactance},
        // Pi-network matching design
        {"CmdPiNet", "pi-network", 3, 2, " Pi--Network Matching",
         "This calculator uses standard design equations to compute the values for a Pi "
         "network impedance matching circuit. ",
         &piNetwork},
        // Bias change-values analysis
        {"CmdCVBChgVals", "bias-change", 3, 3, "Transistor Bias, Change Values",
         "In this calculator you can start with a design made by the 'Transistor Bias Circuit "
         "Design' calculator.  You can make changes to see how they effect the operating "
         "point.",
         &changeValues},
        // Receiver front-end tracking
        {"CmdTrack", "tracking", 3, 4, " Oscillator and RF Tracking",
         "This calculator exammins the accuracy of tracking between the RF and Oscillator in "
         "a superhet receiver.",
         &receiverTracking},
        // Series RLC circuit and Q
        {"CmdRLCQ", "rlc-q", 4, 1, "R-L-C Series Circuit and Q",
         "Makes various calculations on a series RLC circuit. ", &rlcQ},
        // Pi-network with lossy coil
        {"CmdLosyPiNet", "pi-network-lossy", 4, 2, " Pi--Net with Lossey Coil",
         "The Pi-network design equations are for a lossless, R = 0, coil.  You can begin "
         "with the design made by the Pi-Network calculator, enter a value for the coil "
         "resistance and observe the effect on resonance and input impedance.",
         &piNetLossy},
        // Negative feedback gain and gain error
        {"CmdCoilQ", "feedback", 4, 3, "Feedback",
         "Using this calculator you can solve the feedback and gain error equations.", &feedback},
        // VSWR and RX meter conversion
        {"CmdRXMeter", "vswr", 4, 4, "VSWR From R+jX and R-X Meter",
         "Calculates the 'Voltage Standing Wave Ratio' based on R+jX bridge or RX meter "
         "readings.  The Boonton model 250A RX meter which, after a corporate takeover, "
         "became the Hewlett-Packard model 250A RX meter uses an unusual bridge circuit to "
         "readout parallel resistance and capacitance.  Positive capacitance is just "
         "capacitance while negative capacitance is the inductance which would resonate with "
         "that capacitance at the measurement frequency.  This calculator converts these "
         "readings into more useful forms, R + j X and Z at an angle of Theta.",
         &vswrMeter},
        // L-network design
        {"CmdLNet", "l-network", 5, 1, "  L--Network  Matching",
         "Calculates the values for an L network impedance matching circuit. ", &lNetwork},
        // Frequency multiplier and prime numbers
        {"CmdFreqMult", "freq-multiplier", 5, 2, "Freq. Multipliers && Prime Numbers",
         "This routine helps you avoid prime numbers in the design of frequency multiplyer "
         "chanes.",
         &freqMultiplier},
        // Simultaneous equations calculator
        {"Cmd5x5RjX", "equations", 5, 3, "6 x 6 R + j X",
         "This calculator solves the loop equations having as many as 6 loops.  You enter "
         "data in the form R + j X.",
         &simultaneousEquations},
        // Vacuum tube amplifier gain
        {"CmdVacTub", "tube-gain", 5, 4, "Vacuum Tube Amplifier Gain",
         "This calculator uses the small signal model for a vacuum tube to calculate the "
         "voltage gain of a resistance coupled amplifier with or without a cathode bypass "
         "capacitor.",
         &tubeGain},
    };
    return entries;
}

namespace {

bool sameIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

} // namespace

const CatalogueEntry* findCalculator(const std::string& idOrButton) {
    for (const auto& e : catalogue())
        if (e.id == idOrButton || sameIgnoringCase(e.button, idOrButton))
            return &e;
    return nullptr;
}

const CatalogueEntry* entryOf(const Calculator& calc) {
    for (const auto& e : catalogue())
        if (e.calculator && &e.calculator() == &calc)
            return &e;
    return nullptr;
}

} // namespace ferrovane
