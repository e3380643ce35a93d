#include <optional>

#include "calculators/amplifier/bias_design.h"
#include "calculators/amplifier/cvb_spice.h"
#include "shell/spice.h"

namespace ferrovane {

// The designed stage in its standard values, against the operating point
// and powers the design lists.
std::optional<Netlist> biasDesignNetlist(const Form& form) {
    const BiasWanted w = biasWanted(form);
    const std::optional<BiasDesign> d = designBias(w);
    if (!d)
        return std::nullopt;
    const cvb::Stage stage{
        .vcc = w.vcc,
        .beta = w.beta,
        .r1 = d->r1.value,
        .r2 = d->r2.value,
        .re = d->re.value,
        .rc = d->rc.value,
        .r1From = "R1 as designed: the standard value nearest Vcc Rb / Vbb",
        .r2From = "R2 as designed: the standard value nearest Vbb R1 / (Vcc - Vbb)",
        .reFrom = "Re as designed: the standard value nearest Ve B / ((B + 1) Ic)",
        .rcFrom = "Rc as designed: the standard value nearest (Vcc - Ve) / (2 Ic)"};
    if (!cvb::isStage(stage))
        return std::nullopt;
    const BiasPowers p = biasPowers(w.vcc, *d);
    const cvb::StageFigures figures{d->ic, d->ve, w.vcc - d->ic * d->rc.value, p.r1, p.r2,
                                    p.re,  p.rc};
    Netlist n = cvb::stageNetlist(stage, figures);
    n.notes.push_back("The calculator rounds Ic to the four figures it shows before it works out "
                      "Ve, Vc and the powers: expect differences up to 0.05 %, and up to 0.1 % "
                      "for the Rc power.");
    return n;
}

} // namespace ferrovane
