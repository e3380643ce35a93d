#include <algorithm>
#include <cmath>
#include <cstdio>

#include "calculators/amplifier/beta_plot.h"
#include "calculators/amplifier/bias_design.h"
#include "support/test_window.h"

namespace ferrovane::testing {
namespace {

constexpr Colour kCyan = 0xFFFF00;
constexpr Colour kGridGrey = 0x888888;
// The frame in a 15000 x 8560 window: left at 0.07792 W, right 15 in,
// bottom 975 up.
constexpr double kLeft = 1169, kRight = 14985, kBottom = 7585;

// The beta plot opened over a design file holding these values.
struct Plot {
    explicit Plot(double b, double re = 5100, double rb = 50746.2686567164,
                  double vbb = 6.34328358208955, double vcc = 25)
        : w(betaPlot(), "", Examples::None) {
        char text[200];
        std::snprintf(text, sizeof text,
                      "%.17g\r\n1\r\n%.17g\r\n5\r\n10\r\n%.17g\r\n%.17g\r\n%.17g\r\n", vcc, b, re,
                      rb, vbb);
        w.tmp.write("CVBOutPut.dat", text);
        w.open(betaPlot());
    }
    const Drawing& d() const { return w.form.drawing("Graph"); }
    std::vector<TextPrimitive> texts() const {
        std::vector<TextPrimitive> t;
        for (const auto& p : d().items)
            if (const auto* text = std::get_if<TextPrimitive>(&p))
                t.push_back(*text);
        return t;
    }
    std::vector<LinePrimitive> lines(Colour colour) const {
        std::vector<LinePrimitive> l;
        for (const auto& p : d().items)
            if (const auto* line = std::get_if<LinePrimitive>(&p); line && line->colour == colour)
                l.push_back(*line);
        return l;
    }
    // The labels under the frame and left of it, in drawing order.
    Texts betaLabels() const {
        return labels(
            [](const TextPrimitive& t) { return t.y == kBottom + 45 && t.colour == kWhite; });
    }
    Texts currentLabels() const {
        return labels([](const TextPrimitive& t) { return t.x == kLeft && t.h == HAnchor::Right; });
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
    template <class Pick> Texts labels(Pick pick) const {
        Texts out;
        for (const auto& t : texts())
            if (pick(t))
                out.push_back(t.text);
        return out;
    }
    TestWindow w;
};

const Texts kNoDesign{"You must run the \"Constant-voltage Transistor-biasing circuit\"",
                      "option from the main menu before you can run this option.",
                      "It will create a file containing the data for this program."};

// The example design: B = 100, Ic(50) = 0.9238, Ic(100) = 1.0150 and
// Ic(200) = 1.0677 mA, (1.0677 - 0.9238) / 1.0150 = 14.17%.
TEST(BetaPlot, ExampleDesign) {
    TestWindow w(betaPlot());
    const Drawing& d = w.form.drawing("Graph");
    Plot p(100);
    EXPECT_EQ(d, p.d()); // the example file reads as the values written here
    EXPECT_EQ(p.betaLabels(), words("40 60 80 100 120 140 160 180 200"));
    EXPECT_EQ(p.currentLabels(), words("0 .5 1 1.5 2"));
    EXPECT_EQ(p.bottomTicks(), std::make_pair(32, 9));
    EXPECT_TRUE(w.dialogs.shown.empty());

    const FixedTextMetrics m;
    const double h = m.height(Font{});
    auto find = [&](const std::string& s) {
        const auto t = p.texts();
        const auto it = std::find_if(t.begin(), t.end(), [&](auto& x) { return x.text == s; });
        EXPECT_NE(it, t.end()) << s;
        return it == t.end() ? TextPrimitive{} : *it;
    };
    const double middle = (kRight + kLeft) / 2 + 20;
    const TextPrimitive percent = find("Percent change in Ic for Beta = 50 to 200 is 14.17%");
    EXPECT_EQ(std::tie(percent.x, percent.y, percent.h, percent.v, percent.colour),
              std::make_tuple(middle, kBottom - 1.5 * h, HAnchor::Centre, VAnchor::Top, kCyan));
    const TextPrimitive title = find("Transistor Beta");
    EXPECT_EQ(std::tie(title.x, title.y, title.h),
              std::make_tuple(middle, kBottom + 45 + h, HAnchor::Centre));
    const TextPrimitive ic = find("Ic mA");
    EXPECT_EQ(std::tie(ic.x, ic.y, ic.colour), std::make_tuple(10.0, kBottom / 2 - h / 2, kCyan));
    // The first beta label is centred on the left edge, the last is pulled
    // in to end at the right edge; both then move 20 twips right.
    const TextPrimitive first = find("40"), last = find("200");
    EXPECT_EQ(first.x, kLeft + 20);
    EXPECT_EQ(last.x, kRight - m.width("200", Font{}) / 2 + 20);
    // The top current label would start above the surface: it starts at 0.
    const TextPrimitive top = find("2"), half = find(".5");
    EXPECT_EQ(std::tie(top.y, top.v), std::make_tuple(0.0, VAnchor::Top));
    EXPECT_EQ(std::tie(half.y, half.v), std::make_tuple(kBottom - kBottom / 4, VAnchor::Middle));

    // The frame, then one curve segment per twip inside it, rising with beta.
    const auto white = p.lines(kWhite);
    EXPECT_EQ(white.at(0), (LinePrimitive{kLeft, 0, kRight, 0, kWhite}));
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
    // Grey crosses at the 7 x 3 inner label intersections, two arms each.
    EXPECT_EQ(p.lines(kGridGrey).size(), 2u * 7 * 3);
}

TEST(BetaPlot, WithoutADesignOnlyTheInstructions) {
    for (bool fileExists : {true, false}) {
        Plot p(100, 5100, 50746, 6.34, 0);
        if (!fileExists) {
            std::filesystem::remove(p.w.tmp.path() / "CVBOutPut.dat");
            p.w.open(betaPlot());
        }
        EXPECT_EQ(p.d().texts(), kNoDesign);
        EXPECT_EQ(p.d().items.size(), 3u);
        EXPECT_EQ(p.w.form.text("Command2"), "Close Graph");
    }
}

TEST(BetaPlot, BetaAxisRows) {
    struct Row {
        double b;
        const char* labels;
        int subdivisions;
    };
    const Row rows[] = {
        {2, "1 1.5 2 2.5 3 3.5 4", 5},
        {2.005, "1 2 3 4", 5}, // between the rows' round bounds: the next row
        {5.005, "2 4 6 8 10", 5},
        {12, "6 8 10 12 14 16 18 20 22 24", 5},
        {1000, "400 600 800 1000 1200 1400 1600 1800 2000", 5},
        {1500, "500 1000 1500 2000 2500 3000", 4},
    };
    for (const Row& r : rows) {
        Plot p(r.b);
        const Texts labels = words(r.labels);
        EXPECT_EQ(p.betaLabels(), labels) << r.b;
        const int minor = static_cast<int>(labels.size() - 1) * (r.subdivisions - 1);
        EXPECT_EQ(p.bottomTicks(), std::make_pair(minor, static_cast<int>(labels.size()))) << r.b;
    }
}

// Ic(200) = 1000 * 200 (Vbb - 0.6) / (201 Re + Rb) with Re = 0.
Plot withImax(double imax) {
    const double vbb = 1.6;
    return Plot(100, 0, (vbb - 0.6) * 200 * 1000 / imax, vbb);
}

TEST(BetaPlot, CurrentAxisRows) {
    const double rb199 = (1.6 - 0.6) * 200 * 1000 / 199;
    ASSERT_EQ(1000 * ((1.6 - 0.6) * 200 / (201 * 0.0 + rb199)), 199.0);
    const std::pair<double, const char*> rows[] = {
        {199, "0 100 200 300 400 500"},
        {198, "0 50 100 150 200"},
        {0.3, "0 .1 .2 .3 .4 .5"},
        {700, "0 200 400 600 800 1000"},
        {1500, "0 500 1000 1500 2000"},
        {2000, "0 1000 2000 3000 4000 5000"},
        {9000, "0 2000 4000 6000 8000 10000"},
    };
    for (const auto& [imax, labels] : rows)
        EXPECT_EQ(withImax(imax).currentLabels(), words(labels)) << imax;
    // The curve stays inside the frame however large the current.
    for (const auto& l : withImax(1500).lines(kCyan))
        EXPECT_GE(l.y2, 0);
}

TEST(BetaPlot, CutOffDesignCannotBePlotted) {
    Plot p(100, 5100, 50746, 0.5);
    ASSERT_EQ(p.d().texts().size(), 3u);
    EXPECT_NE(p.d().texts()[0].find("cannot be plotted"), std::string::npos);
    EXPECT_TRUE(p.lines(kWhite).empty() && p.lines(kCyan).empty());
}

// Beta 50 designs Re 5.1 k, R1 180 k, R2 68 k: Vbb = 6.855 V, Rb = 49.35 k,
// Ic(25) = 0.8594, Ic(50) = 1.0106 and Ic(100) = 1.1081 mA.
TEST(BetaPlot, DrawsTheDesignJustMade) {
    TestWindow w(biasDesign(), "TxtB=50 CmdCalc");
    w.open(betaPlot());
    const Texts texts = w.form.drawing("Graph").texts();
    EXPECT_NE(std::find(texts.begin(), texts.end(),
                        "Percent change in Ic for Beta = 25 to 100 is 24.61%"),
              texts.end());
}

} // namespace
} // namespace ferrovane::testing
