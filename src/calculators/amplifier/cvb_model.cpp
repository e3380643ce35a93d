#include "calculators/amplifier/cvb_model.h"

namespace ferrovane::cvb {

double theveninVoltage(double vcc, double r1, double r2) {
    return vcc * r2 / (r2 + r1);
}

double theveninResistance(double r1, double r2) {
    return r2 * r1 / (r2 + r1);
}

double collectorCurrent(double vbb, double rb, double re, double beta) {
    return (vbb - kVbe) * beta / ((beta + 1) * re + rb);
}

double emitterVoltage(double ic, double re, double beta) {
    return ic * re * (beta + 1) / beta;
}

const DesignFile& designFile() {
    static const DesignFile file{
        "CVBOutPut.dat", false, {kVcc, kIc, kBeta, kVe, kS, kRe, kRb, kVbb, kR1, kR2, kRc}};
    return file;
}

} // namespace ferrovane::cvb
