#include <optional>

#include "calculators/amplifier/change_values.h"
#include "calculators/amplifier/cvb_spice.h"
#include "shell/spice.h"

namespace ferrovane {

std::optional<Netlist> changeValuesNetlist(const Form& form) {
    const CvbInputs in = cvbInputs(form);
    const cvb::Stage stage{in.vcc,
                           in.beta,
                           in.r1,
                           in.r2,
                           in.re,
                           in.rc,
                           "Supply from the Collector voltage box",
                           "B from the Transistor Current Gain box",
                           "R1 from its box",
                           "R2 from its box",
                           "Re from its box",
                           "Rc from its box"};
    if (!cvb::isStage(stage))
        return std::nullopt;
    const CvbPoint p = cvbPoint(in);
    // A cut-off or saturated stage is refused by the window: no circuit.
    if (!(p.ic > 0) || p.vc < p.ve)
        return std::nullopt;
    return cvb::stageNetlist(stage, {p.ic, p.ve, p.vc, p.pR1, p.pR2, p.pRe, p.pRc});
}

} // namespace ferrovane
