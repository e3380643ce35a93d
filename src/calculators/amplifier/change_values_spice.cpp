#include <optional>

#include "calculators/amplifier/change_values.h"
#include "calculators/amplifier/cvb_spice.h"
#include "shell/spice.h"

namespace ferrovane {

std::optional<Netlist> changeValuesNetlist(const Form& form) {
    const CvbInputs in = cvbInputs(form);
    const cvb::Stage stage{.vcc = in.vcc,
                           .beta = in.beta,
                           .r1 = in.r1,
                           .r2 = in.r2,
                           .re = in.re,
                           .rc = in.rc,
                           .r1From = "R1 from its box",
                           .r2From = "R2 from its box",
                           .reFrom = "Re from its box",
                           .rcFrom = "Rc from its box"};
    if (!cvb::isStage(stage))
        return std::nullopt;
    const CvbPoint p = cvbPoint(in);
    // A cut-off or saturated stage is refused by the window: no circuit.
    if (!(p.ic > 0) || p.vc < p.ve)
        return std::nullopt;
    return cvb::stageNetlist(stage, {p.ic, p.ve, p.vc, p.pR1, p.pR2, p.pRe, p.pRc});
}

} // namespace ferrovane
