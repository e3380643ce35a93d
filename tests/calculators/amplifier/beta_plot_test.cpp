#include <algorithm>
#include <cmath>
#include <cstdio>

#include "calculators/amplifier/beta_plot.h"
#include "calculators/amplifier/bias_design.h"
#include "support/test_window.h"

namespace ferrovane::testing {
namespace {

constexpr Colour kCyan = 0xFFFF00;
// The frame in a 15000 x 8560 window: left at 0.07792 W, right 15 in,
// bottom 975 up.
constexpr double kLeft = 1169, kRight = 14985, kBottom = 7585;

// The beta plot opened over a design file holding these values.
struct Plot : TestWindow {
    explicit Plot(double b, double re = 5100, double rb = 50746.2686567164,
                  double vbb = 6.34328358208955, double vcc = 25)
        : TestWindow(betaPlot(), "", Examples::None) {
        char text[200];
        std::snprintf(text, sizeof text,
                      "%.17g\r\n1\r\n%.17g\r\n5\r\n10\r\n%.17g\r\n%.17g\r\n%.17g\r\n", vcc, b, re,
                      rb, vbb);
        tmp.write("CVBOutPut.dat", text);
        open(betaPlot());
    }
    const Drawing& d() const { return form.drawing("Graph"); }
    template <class P, class Pick> std::vector<P> items(Pick pick) const {
        std::vector<P> out;
        for (const auto& i : d().items)
            if (const P* p = std::get_if<P>(&i); p && pick(*p))
                out.push_back(*p);
        return out;
    }
    std::vector<LinePrimitive> lines(Colour c) const {
        return items<LinePrimitive>([&](const LinePrimitive& l) { return l.colour == c; });
    }
    // The labels under the frame (beta) or left of it (current).
    Texts labels(bool beta) const {
        Texts out;
        for (const auto& t : items<TextPrimitive>([&](const TextPrimitive& t) {
                 return beta ? t.y == kBottom + 45 && t.colour == kWhite
                             : t.x == kLeft && t.h == HAnchor::Right;
             }))
            out.push_back(t.text);
        return out;
    }
    // Ticks of the bottom edge: minor (45) and major (90) ones.
    std::pair<int, int> bottomTicks() const {
        int minor = 0, major = 0;
        for (const auto& l : lines(kWhite))
            if (l.y1 == kBottom && l.x1 == l.x2) {
                minor += l.y2 == kBottom - 45;
                major += l.y2 == kBottom - 90;
            }
        return {minor, major};
    }
};

bool hasText(const Drawing& d, const std::string& text) {
    const Texts t = d.texts();
    return std::find(t.begin(), t.end(), text) != t.end();
}

// The example design: B = 100, Ic(50) = 0.9238, Ic(100) = 1.0150 and
// Ic(200) = 1.0677 mA, (1.0677 - 0.9238) / 1.0150 = 14.17%.
TEST(BetaPlot, ExampleDesign) {
    TestWindow w(betaPlot());
    Plot p(100);
    EXPECT_EQ(w.form.drawing("Graph"), p.d()); // the example file reads as written here
    EXPECT_TRUE(w.dialogs.shown.empty());
    EXPECT_EQ(p.labels(true), words("40 60 80 100 120 140 160 180 200"));
    EXPECT_EQ(p.labels(false), words("0 .5 1 1.5 2"));
    EXPECT_EQ(p.bottomTicks(), std::make_pair(32, 9));
    EXPECT_TRUE(hasText(p.d(), "Percent change in Ic for Beta = 50 to 200 is 14.17%"));
    // The top current label would start above the surface: it starts at 0.
    const auto top = p.items<TextPrimitive>([](const TextPrimitive& t) { return t.text == "2"; });
    ASSERT_EQ(top.size(), 1u);
    EXPECT_EQ(top[0].y, 0);

    // One curve segment per twip inside the frame, rising with beta.
    const auto curve = p.lines(kCyan);
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

// Without a design file, or with one that has no supply, only the
// instructions show; a cut-off design says it cannot be plotted.
TEST(BetaPlot, WithoutAUsableDesignNoGraph) {
    const Texts noDesign{"You must run the \"Constant-voltage Transistor-biasing circuit\"",
                         "option from the main menu before you can run this option.",
                         "It will create a file containing the data for this program."};
    Plot empty(100, 5100, 50746, 6.34, 0);
    EXPECT_EQ(empty.d().texts(), noDesign);
    EXPECT_EQ(empty.form.text("Command2"), "Close Graph");
    TestWindow missing(betaPlot(), "", Examples::None);
    EXPECT_EQ(missing.form.drawing("Graph").texts(), noDesign);
    Plot cutOff(100, 5100, 50746, 0.5);
    ASSERT_EQ(cutOff.d().texts().size(), 3u);
    EXPECT_NE(cutOff.d().texts()[0].find("cannot be plotted"), std::string::npos);
    EXPECT_TRUE(cutOff.lines(kWhite).empty() && cutOff.lines(kCyan).empty());
}

TEST(BetaPlot, BetaAxisRows) {
    const std::tuple<double, const char*, int> rows[] = {
        {2, "1 1.5 2 2.5 3 3.5 4", 5},
        {2.005, "1 2 3 4", 5}, // between the rows' round bounds: the next row
        {5.005, "2 4 6 8 10", 5},
        {1000, "400 600 800 1000 1200 1400 1600 1800 2000", 5},
        {1500, "500 1000 1500 2000 2500 3000", 4},
    };
    for (const auto& [b, text, subdivisions] : rows) {
        SCOPED_TRACE(b);
        const Plot p(b);
        const Texts labels = words(text);
        EXPECT_EQ(p.labels(true), labels);
        const int major = static_cast<int>(labels.size());
        EXPECT_EQ(p.bottomTicks(), std::make_pair((major - 1) * (subdivisions - 1), major));
    }
}

TEST(BetaPlot, CurrentAxisRows) {
    // Ic(200) = 1000 * 200 (Vbb - 0.6) / (201 Re + Rb) with Re = 0, Vbb = 1.6.
    auto withImax = [](double imax) { return Plot(100, 0, 200 * 1000 / imax, 1.6); };
    ASSERT_EQ(1000 * (1.0 * 200 / (200 * 1000 / 199.0)), 199.0);
    const std::pair<double, const char*> rows[] = {
        {199, "0 100 200 300 400 500"},
        {198, "0 50 100 150 200"},
        {0.3, "0 .1 .2 .3 .4 .5"},
        {1500, "0 500 1000 1500 2000"},
        {2000, "0 1000 2000 3000 4000 5000"},
        {9000, "0 2000 4000 6000 8000 10000"},
    };
    for (const auto& [imax, labels] : rows)
        EXPECT_EQ(withImax(imax).labels(false), words(labels)) << imax;
    // The curve stays inside the frame however large the current.
    for (const auto& l : withImax(1500).lines(kCyan))
        EXPECT_GE(l.y2, 0);
}

// Beta 50 designs Re 5.1 k, R1 180 k, R2 68 k: Vbb = 6.855 V, Rb = 49.35 k,
// Ic(25) = 0.8594, Ic(50) = 1.0106 and Ic(100) = 1.1081 mA.
TEST(BetaPlot, DrawsTheDesignJustMade) {
    TestWindow w(biasDesign(), "TxtB=50 CmdCalc");
    w.open(betaPlot());
    EXPECT_TRUE(
        hasText(w.form.drawing("Graph"), "Percent change in Ic for Beta = 25 to 100 is 24.61%"));
}

} // namespace
} // namespace ferrovane::testing
