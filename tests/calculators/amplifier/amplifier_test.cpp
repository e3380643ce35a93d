#include <cmath>
#include <random>

#include "calculators/amplifier/beta_plot.h"
#include "calculators/amplifier/bias_design.h"
#include "calculators/amplifier/feedback.h"
#include "numeric/eng_text.h"
#include "support/test_window.h"

// What data cannot say about the amplifier calculators: designs and solutions
// recomputed by other means from random inputs, and where the beta plot's
// frame, ticks, labels and curve stand. Their worked examples, questions,
// limits, stops, tables and files are in tests/scenarios/bias-design.scn,
// bias-change.scn, beta-plot.scn, feedback.scn and tube-gain.scn.

namespace ferrovane::testing {
namespace {

// For random inputs, the designed circuit analysed afresh from its resistors
// (Thevenin base, emitter loop) runs at the current and emitter voltage the
// list shows.
TEST(BiasDesign, DesignedCircuitRunsAtTheListedPoint) {
    std::mt19937 rng(7);
    auto uniform = [&](double lo, double hi) {
        return PlainNumber(std::uniform_real_distribution<double>(lo, hi)(rng));
    };
    int designed = 0;
    TestWindow w(biasDesign());
    for (int i = 0; i < 60; ++i) {
        const std::string vcc = uniform(5, 50);
        w.dialogs.shown.clear();
        w.type({"TxtVcc", "TxtIc", "TxtB", "TxtVe", "TxtS"},
               vcc + " " + uniform(0.2, 50) + " " + uniform(20, 500) + " " +
                   uniform(0.5, ReadNumber(vcc) / 4) + " " + uniform(2, 20));
        w.calculate();
        if (!w.dialogs.shown.empty())
            continue;
        ++designed;
        const Texts f = w.dir.readLines("CVBOutPut.dat").value();
        const double b = ReadNumber(f[2]), re = ReadNumber(f[5]), r1 = ReadNumber(f[8]),
                     r2 = ReadNumber(f[9]);
        const double vb = ReadNumber(vcc) * r2 / (r1 + r2), rb = r1 * r2 / (r1 + r2);
        // Base loop: Vb = Ib Rb + 0.6 + (B + 1) Ib Re.
        const double ib = (vb - 0.6) / (rb + (b + 1) * re);
        const double ic = b * ib * 1000, ve = (b + 1) * ib * re;
        const std::string& point = w.list()[1]; // "Ic = 1.015 mA   Ve = 5.23 Volts ..."
        EXPECT_NEAR(ReadNumber(point.substr(5)), ic, ic * 5e-4) << point;
        EXPECT_NEAR(ReadNumber(point.substr(point.find("Ve = ") + 5)), ve, 0.005 + ve * 5e-4);
    }
    EXPECT_GT(designed, 30);
}

constexpr Colour kCyan = 0xFFFF00;
// The frame in the 15000 x 8560 drawing: left at 0.07792 W, right 15 in,
// bottom 975 up.
constexpr double kLeft = 1169, kRight = 14985, kBottom = 7585;

// The graph drawn over a design file holding these values.
Drawing plot(double b, double re = 5100, double rb = 50746.2686567164,
             double vbb = 6.34328358208955) {
    TestWindow w(betaPlot(), "", Examples::None);
    w.tmp.write("CVBOutPut.dat", "25\r\n1\r\n" + PlainNumber(b) + "\r\n5\r\n10\r\n" +
                                     PlainNumber(re) + "\r\n" + PlainNumber(rb) + "\r\n" +
                                     PlainNumber(vbb) + "\r\n");
    w.open(betaPlot());
    return w.form.drawing("Graph");
}

std::vector<LinePrimitive> lines(const Drawing& d, Colour c) {
    std::vector<LinePrimitive> out;
    for (const auto& i : d.items)
        if (const auto* l = std::get_if<LinePrimitive>(&i); l && l->colour == c)
            out.push_back(*l);
    return out;
}

// The minor (45 long) and major (90) ticks of the bottom edge.
std::pair<int, int> bottomTicks(const Drawing& d) {
    int minor = 0, major = 0;
    for (const auto& l : lines(d, kWhite))
        if (l.y1 == kBottom && l.x1 == l.x2) {
            minor += l.y2 == kBottom - 45;
            major += l.y2 == kBottom - 90;
        }
    return {minor, major};
}

// B = 100: beta 40 to 200 in nine labels of five subdivisions, current 0 to
// 2 mA, Ic(beta) = 1000 beta (Vbb - 0.6) / ((beta + 1) Re + Rb).
TEST(BetaPlot, ExampleFrameLabelsAndCurve) {
    const Drawing d = plot(100);
    EXPECT_EQ(bottomTicks(d), std::make_pair(32, 9));
    Texts beta, current;
    double topLabel = -1;
    for (const auto& i : d.items)
        if (const auto* t = std::get_if<TextPrimitive>(&i)) {
            if (t->y == kBottom + 45 && t->colour == kWhite)
                beta.push_back(t->text); // under the frame
            if (t->x == kLeft && t->h == HAnchor::Right)
                current.push_back(t->text); // left of it
            topLabel = t->text == "2" && t->x == kLeft ? t->y : topLabel;
        }
    EXPECT_EQ(topLabel, 0); // it would start above the surface
    EXPECT_EQ(beta, words("40 60 80 100 120 140 160 180 200"));
    EXPECT_EQ(current, words("0 .5 1 1.5 2"));

    // One curve segment per twip inside the frame, rising with beta.
    const auto curve = lines(d, kCyan);
    ASSERT_EQ(curve.size(), static_cast<std::size_t>(kRight - kLeft));
    auto icAt = [](double beta) {
        return 1000 * beta * 5.74328358208955 / ((beta + 1) * 5100 + 50746.2686567164);
    };
    EXPECT_EQ(curve.front().y1, std::nearbyint(kBottom - kBottom / 2 * icAt(40)));
    EXPECT_EQ(curve.back().x2, kRight);
    EXPECT_EQ(curve.back().y2, std::nearbyint(kBottom - kBottom / 2 * icAt(200)));
    for (const auto& l : curve)
        EXPECT_TRUE(l.x2 == l.x1 + 1 && l.y2 <= l.y1 && l.y2 > 0) << l.x1;
}

// Labels and subdivisions per row: the last row has four.
TEST(BetaPlot, EveryBetaRowTicksItsSubdivisions) {
    const std::tuple<double, int, int> rows[] = {
        {2, 7, 5}, {2.005, 4, 5}, {5.005, 5, 5}, {1000, 9, 5}, {1500, 6, 4}};
    for (const auto& [b, labels, subdivisions] : rows)
        EXPECT_EQ(bottomTicks(plot(b)), std::make_pair((labels - 1) * (subdivisions - 1), labels))
            << b;
}

// However large the current the curve stays inside the frame; a design
// without a graph draws no line at all.
TEST(BetaPlot, CurveInsideTheFrameAndNoLinesWithoutAGraph) {
    for (const auto& l : lines(plot(100, 0, 200 * 1000 / 1500.0, 1.6), kCyan))
        EXPECT_GE(l.y2, 0);
    const Drawing noFile = TestWindow(betaPlot(), "", Examples::None).form.drawing("Graph");
    for (const Drawing& d : {plot(100, 5100, 50746, 0.5), noFile})
        EXPECT_TRUE(lines(d, kWhite).empty() && lines(d, kCyan).empty());
}

// Solved quantities put back into the relation they came from give the
// given one again, within the four digits shown, flat and on a slope.
TEST(Feedback, SolutionsSatisfyTheirRelation) {
    std::mt19937 rng(3);
    auto uniform = [&](double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(rng);
    };
    const std::string a = indexed("TxtData", 0), ac = indexed("TxtData", 1),
                      b = indexed("TxtData", 2), db = indexed("TxtData", 9);
    TestWindow w(feedback(), "OpBeta", Examples::None);
    for (int i = 0; i < 200; ++i) {
        const bool slope = i % 2 == 1;
        w.select(slope ? "OpSlope" : "OpFlat");
        auto closed = [&](double open, double fraction) {
            const double loop = open * fraction;
            return slope ? open / std::sqrt(1 + loop * loop) : open / (1 + loop);
        };
        // A' well below A but not so far that B's four digits push B A' to 1.
        const double open = uniform(10, 1000), want = uniform(open / 10, open / 2);
        w.type({a, ac, b}, PlainNumber(open) + " " + PlainNumber(want) + " 0");
        w.press("CmdCalcA"); // B from A and A'
        EXPECT_NEAR(closed(open, w.form.number(b)), want, want * 1e-3);
        w.type({a, ac}, "0 " + PlainNumber(want));
        w.press("CmdCalcA"); // A from A' and B
        EXPECT_NEAR(closed(w.form.number(a), w.form.number(b)), want, want * 1e-3);
        EXPECT_NEAR(w.form.number(db), 20 * std::log10(w.form.number(a) / want), 0.01);
    }
    EXPECT_TRUE(w.dialogs.shown.empty());
}

} // namespace
} // namespace ferrovane::testing
