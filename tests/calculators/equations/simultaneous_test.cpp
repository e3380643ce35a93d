#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <random>
#include <string>
#include <vector>

#include "calculators/equations/simultaneous.h"
#include "numeric/complex_text.h"
#include "numeric/eng_text.h"
#include "shell/calculator.h"
#include "support/test_window.h"

namespace ferrovane::testing {
namespace {

using C = std::complex<double>;
using Matrix = std::vector<std::vector<C>>;
const std::string kDeg = "\u00B0";
constexpr double kPi = 3.14159265358979323846;

struct Window : TestWindow {
    explicit Window(const std::string& steps = "") : TestWindow(simultaneousEquations(), steps) {}
    void set(const std::string& box, const std::string& text) {
        editBox(*calc, form, env, box, text);
    }
    void loops(int method, const std::string& text) {
        chooseCombo(*calc, form, env, "ComNum" + std::to_string(method), text);
    }
};

std::string at(const char* array, int i) {
    return indexed(array, i);
}

// Gaussian elimination with partial pivoting: the solution of m x = b.
std::vector<C> eliminate(Matrix m, std::vector<C> b) {
    const std::size_t n = b.size();
    for (std::size_t p = 0; p < n; ++p) {
        std::size_t best = p;
        for (std::size_t r = p + 1; r < n; ++r)
            if (std::abs(m[r][p]) > std::abs(m[best][p]))
                best = r;
        std::swap(m[p], m[best]);
        std::swap(b[p], b[best]);
        for (std::size_t r = p + 1; r < n; ++r) {
            const C f = m[r][p] / m[p][p];
            for (std::size_t c = p; c < n; ++c)
                m[r][c] -= f * m[p][c];
            b[r] -= f * b[p];
        }
    }
    std::vector<C> x(n);
    for (std::size_t r = n; r-- > 0;) {
        C s = b[r];
        for (std::size_t c = r + 1; c < n; ++c)
            s -= m[r][c] * x[c];
        x[r] = s / m[r][r];
    }
    return x;
}

// The ladder's loop currents by Kirchhoff: z[0..2n] (z[0] unused), e[m] the
// source in shunt branch 2m (e[0] drives loop 1).
std::vector<C> ladderCurrents(const std::vector<C>& z, const std::vector<C>& e, int n) {
    Matrix m(n, std::vector<C>(n));
    std::vector<C> b(n);
    for (int k = 1; k <= n; ++k) {
        const C left = k > 1 ? z[2 * k - 2] : C{};
        m[k - 1][k - 1] = left + z[2 * k - 1] + z[2 * k];
        if (k > 1)
            m[k - 1][k - 2] = -left;
        if (k < n)
            m[k - 1][k] = -z[2 * k];
        b[k - 1] = e[k - 1] - e[k];
    }
    return eliminate(m, b);
}

// A current line's value, read back from its fixed columns.
C currentOf(const std::string& line) {
    const double im = ReadNumber(line.substr(19, 10));
    return {ReadNumber(line.substr(5, 11)), line.substr(16, 3) == "-j " ? -im : im};
}

// Four significant digits: within half a unit of the last one, plus the
// rounding of the text arithmetic.
// Two shown values may differ by one last digit.
void expectShown(double shown, double exact, double scale, double digit) {
    EXPECT_NEAR(shown, exact, digit * std::abs(exact) + 1e-10 * scale);
}
void expectShown(C shown, C exact, double digit = 5e-4) {
    expectShown(shown.real(), exact.real(), std::abs(exact), digit);
    expectShown(shown.imag(), exact.imag(), std::abs(exact), digit);
}

double deg(C z) {
    return std::floor(std::arg(z) * 18000 / kPi + 0.5) / 100;
}

// The trimmed Zin or VTR line a hand calculation of z gives.
std::string trimmedLine(const std::string& caption, C z, const std::string& j,
                        const std::string& unit) {
    return caption + TrimBlanks(FormatEng(z.real())) + (z.imag() < 0 ? " -" : " +") + j + " " +
           TrimBlanks(FormatEng(std::abs(z.imag()))) + unit + " = " +
           TrimBlanks(FormatEng(std::abs(z))) + unit + " /_" + PlainNumber(deg(z)) + kDeg;
}

TEST(Simultaneous, EquationsExampleGivesOneAndMinusThree) {
    Window w("CmdCalc");
    EXPECT_EQ(w.list(), (Texts{"I1 =  1.000     +j 0.000      =  1.000     /_0" + kDeg,
                               "I2 = -3.000     +j 0.000      =  3.000     /_180" + kDeg,
                               "Zin = 60.00 +j 0.000 Ohms = 60.00 Ohms /_0" + kDeg}));
    EXPECT_TRUE(w.dialogs.shown.empty());
    EXPECT_TRUE(w.form.enabled("CmdCalc"));
}

// The two ladders of the example file, against Kirchhoff by hand: the
// impedance ladder gives Zin = 1104.74 + j338.23, VTR 0.034471 at 179.99
// degrees, -29.3 dB; the component ladder at 3.742 MHz Zin = 10068.76 -
// j310.20, VTR 0.049975 at -173.78 degrees, -26.0 dB.
TEST(Simultaneous, LadderExamplesMatchKirchhoff) {
    const double w = 2 * kPi * 3.742e6;
    auto series = [w](double r, double l, double c) {
        return C(r, w * l - (c == 0 ? 0 : 1 / (w * c)));
    };
    struct Case {
        const char* option;
        std::vector<C> z;
        double e0, load;
        C zin, vtr;
        std::string dB;
    };
    const std::vector<Case> cases{
        {"OpImp",
         {0, 1000, C(0, 408.2), 1000, C(0, 408.2), 1000, C(0, 408.2), 0, 1e6},
         1,
         1e6,
         C(1104.74, 338.23),
         std::polar(0.034471, 179.99 * kPi / 180),
         "VTR = -29.3 dB"},
        {"OpCmp",
         {0, series(5000, 0, 0), series(0, 0, 26.37e-12), series(0, 67.08e-6, 0),
          series(0, 0, 284.7e-12), series(0, 6.708e-6, 0), series(0, 0, 263.7e-12), 0,
          series(50, 0, 0)},
         750,
         50,
         C(10068.76, -310.20),
         std::polar(0.049975, -173.78 * kPi / 180),
         "VTR = -26 dB"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.option);
        Window win(std::string(c.option) + " CmdCalc");
        const auto I = ladderCurrents(c.z, {c.e0, 0, 0, 0, 0}, 4);
        const C zin = c.e0 / I[0];
        const C vtr = c.load * I[3] / c.e0;
        EXPECT_NEAR(std::abs(zin - c.zin), 0, 0.01);
        EXPECT_NEAR(std::abs(vtr), std::abs(c.vtr), 1e-6);
        EXPECT_NEAR(deg(vtr), deg(c.vtr), 0.011);
        const Texts& lines = win.list();
        ASSERT_EQ(lines.size(), 7u);
        for (int k = 0; k < 4; ++k)
            expectShown(currentOf(lines[k]), I[k]);
        EXPECT_EQ(lines[4], trimmedLine("Zin = ", zin, "j", " Ohms"));
        EXPECT_EQ(lines[5], trimmedLine("VTR = ", vtr, "J", ""));
        EXPECT_EQ(lines[6], c.dB);
    }
}

// Random well-conditioned systems of every order: the listed currents are
// those of an independent elimination to their printed digits, so M I = -K.
TEST(Simultaneous, CurrentsSolveRandomSystems) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> u(-50, 50);
    for (int n = 2; n <= 6; ++n) {
        for (int trial = 0; trial < 4; ++trial) {
            Window w("OpEqu");
            w.loops(1, std::to_string(n));
            Matrix m(n, std::vector<C>(n));
            std::vector<C> minusK(n);
            for (int r = 0; r < n; ++r) {
                for (int c = 0; c < n; ++c) {
                    // A heavy diagonal keeps the system well away from singular.
                    m[r][c] =
                        C(std::round(u(rng)), std::round(u(rng))) + (r == c ? C(300, 0) : C());
                    w.set(at("TxtR", 6 * r + c), PlainNumber(m[r][c].real()));
                    w.set(at("TxtX", 6 * r + c), PlainNumber(m[r][c].imag()));
                }
                const C k(u(rng), u(rng));
                w.set(at("TxtK", r), PlainNumber(k.real()));
                w.set(at("TxtKX", r), PlainNumber(k.imag()));
                minusK[r] = -C(ReadNumber(w.form.text(at("TxtK", r))),
                               ReadNumber(w.form.text(at("TxtKX", r))));
            }
            ASSERT_TRUE(w.calculate());
            const auto exact = eliminate(m, minusK);
            ASSERT_EQ(w.list().size(), static_cast<std::size_t>(n + 1));
            for (int k = 0; k < n; ++k)
                expectShown(currentOf(w.list()[k]), exact[k]);
        }
    }
}

// Random ladders entered twice: as impedances, and as components chosen to
// give the same impedances at 1 MHz (X = wL - 1/wC with L and C from X).
TEST(Simultaneous, ImpedanceAndComponentLaddersAgree) {
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> r(1, 1000), x(-1000, 1000);
    const double w = 2 * kPi * 1e6;
    for (int n = 2; n <= 6; ++n) {
        Window win("OpImp");
        win.loops(2, std::to_string(n));
        win.loops(3, std::to_string(n));
        win.set("Text4", "1e6");
        win.set(at("TxtK", 6), "3");
        win.set(at("TxtK", 13), "3");
        for (int b = 1; b <= 2 * n; ++b) {
            const double rb = std::round(r(rng)), xb = std::round(x(rng));
            win.set(at("TxtZ", 5 * b - 4), PlainNumber(rb));
            win.set(at("TxtZ", 5 * b - 2), PlainNumber(xb));
            win.set(at("TxtRLC", 4 * b - 3), PlainNumber(rb));
            // A reactance made of L alone ("*") or of L with a capacitor of
            // twice its size.
            const bool withC = b % 2 == 0;
            const double l = withC ? 2 * (xb + std::abs(xb) + 1) / w : xb / w;
            const double c = withC ? 1 / (w * (w * l - xb)) : 0;
            win.set(at("TxtRLC", 4 * b - 2), PlainNumber(l));
            win.set(at("TxtRLC", 4 * b - 1), withC ? PlainNumber(c) : "*");
        }
        ASSERT_TRUE(win.calculate());
        const Texts impedances = win.list();
        win.select("OpCmp");
        ASSERT_TRUE(win.calculate());
        SCOPED_TRACE(n);
        ASSERT_EQ(win.list().size(), impedances.size());
        for (std::size_t k = 0; k < static_cast<std::size_t>(n); ++k)
            expectShown(currentOf(win.list()[k]), currentOf(impedances[k]), 1e-3);
        EXPECT_TRUE(win.dialogs.shown.empty());
    }
}

// A branch of "*" and no inductance is a resistance; an all-zero series
// branch is a short; a zero load resistance leaves the VTR lines out.
TEST(Simultaneous, LadderEdgeCases) {
    // 2 loops of 100-ohm resistors, the first series arm shorted: by hand
    // Zin = 100 || 200 = 66.67 ohms, and E0 lies across the 100 + 100 of the
    // second loop: VTR = 1/2, -6.02 dB.
    const char* resistors = "OpCmp Text4=1e3 TxtK(13)=1 "
                            "TxtRLC(1)=0 TxtRLC(2)=0 TxtRLC(3)=* "
                            "TxtRLC(5)=100 TxtRLC(6)=0 TxtRLC(7)=* "
                            "TxtRLC(9)=100 TxtRLC(10)=0 TxtRLC(11)=* "
                            "TxtRLC(13)=100 TxtRLC(14)=0 TxtRLC(15)=*";
    Window cmp(resistors);
    cmp.loops(3, "2");
    ASSERT_TRUE(cmp.calculate());
    const Texts& l = cmp.list();
    ASSERT_EQ(l.size(), 5u);
    EXPECT_EQ(l[2], "Zin = 66.67 +j 0.000 Ohms = 66.67 Ohms /_0" + kDeg);
    EXPECT_EQ(l[3], "VTR = 500.0e-3 +J 0.000 = 500.0e-3 /_0" + kDeg);
    EXPECT_EQ(l[4], "VTR = -6 dB");

    // The impedance example with its load resistance zero: no VTR lines.
    Window imp("OpImp TxtZ(36)=0 TxtZ(38)=-50 CmdCalc");
    ASSERT_EQ(imp.list().size(), 5u);
    EXPECT_EQ(imp.list()[4].rfind("Zin = ", 0), 0u);
}

// Each refusal: one message, the list emptied, Calculate enabled again.
TEST(Simultaneous, ValidationMessages) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"TxtK(0)=0 TxtK(1)=0 TxtKX(1)=", "At least one K value MUST be nonzero."},
        {"OpImp TxtK(6)=0", "At least one E value MUST be nonzero."},
        {"OpCmp Text4=0", "We need a value for Frequency."},
        {"OpCmp TxtRLC(3)=0", "If there is no capacitor, enter a single * in the capacitor box."},
        {"OpCmp TxtRLC(3)=", "If there is no capacitor, enter a single * in the capacitor box."},
        {"TxtR(0)=1 TxtR(1)=2 TxtX(1)=0 TxtR(6)=2 TxtR(7)=4",
         "The equations have no unique solution: their determinant is zero."},
        {"TxtR(0)=3 TxtR(1)=1 TxtR(6)=1 TxtR(7)=.333333333333333",
         "The equations have no unique solution: their determinant is zero."},
    };
    for (const auto& [steps, message] : cases) {
        SCOPED_TRACE(steps);
        Window w("CmdCalc");
        ASSERT_EQ(w.list().size(), 3u);
        w.apply(steps + " CmdCalc");
        EXPECT_EQ(w.dialogs.texts(), Texts{message});
        EXPECT_TRUE(w.list().empty());
        EXPECT_TRUE(w.form.enabled("CmdCalc"));
    }
    // No method chosen (a file written with none).
    Window none;
    none.form.clearOption("FrameMethod");
    none.calculate();
    ASSERT_EQ(none.dialogs.shown.size(), 1u);
    EXPECT_TRUE(none.list().empty());
}

TEST(Simultaneous, NumericFaultLeavesWindowAsItWas) {
    Window w("CmdCalc");
    const Form before = w.form;
    w.apply("TxtR(0)=1e999 CmdCalc");
    ASSERT_EQ(w.dialogs.shown.size(), 1u);
    EXPECT_EQ(w.list(), before.list("List1"));
    EXPECT_TRUE(w.form.enabled("CmdCalc"));
}

TEST(Simultaneous, LoopCountsAreClampedAndShowTheirRows) {
    Window w;
    const std::vector<std::pair<std::string, std::string>> typed{
        {"9", "6"}, {"1", "2"}, {"4", "4"}, {"x", "2"}, {"-3", "2"}, {"5.4", "5"}};
    for (const auto& [in, out] : typed) {
        w.loops(1, in);
        EXPECT_EQ(w.form.text("ComNum1"), out) << in;
    }
    w.loops(1, "3");
    EXPECT_TRUE(w.form.visible("TxtR(14)"));  // row 3, column 3
    EXPECT_FALSE(w.form.visible("TxtX(15)")); // row 3, column 4
    EXPECT_FALSE(w.form.visible("TxtI(18)")); // row 4, column 1
    EXPECT_TRUE(w.form.visible("TxtK(2)"));
    EXPECT_FALSE(w.form.visible("TxtKX(3)"));
    w.loops(2, "2");
    EXPECT_TRUE(w.form.visible("TxtZ(18)"));  // Z4 imaginary
    EXPECT_FALSE(w.form.visible("TxtZ(20)")); // Z5 caption
    EXPECT_TRUE(w.form.visible("TxtK(8)"));   // E4
    EXPECT_FALSE(w.form.visible("TxtK(9)"));  // E6
    w.loops(3, "3");
    EXPECT_TRUE(w.form.visible("TxtRLC(23)"));  // branch 6 capacitor
    EXPECT_FALSE(w.form.visible("TxtRLC(25)")); // branch 7 resistor
    EXPECT_TRUE(w.form.visible("TxtKX(16)"));   // E6
    EXPECT_FALSE(w.form.visible("TxtKX(17)"));  // E8
}

TEST(Simultaneous, MethodClicksShowTheirFrames) {
    const std::vector<std::string> shown{"FrameEqu",  "FrameImp", "FrameImpE", "FrameCmp",
                                         "FrameCmpE", "Text3",    "Text4",     "LblFreq"};
    const std::vector<std::pair<std::string, std::string>> cases{
        {"OpEqu", "1 0 0 0 0 0 0 0"}, {"OpImp", "0 1 1 0 0 1 0 0"}, {"OpCmp", "0 0 0 1 1 1 1 1"}};
    Window w;
    for (const auto& [option, flags] : cases) {
        w.select(option);
        std::string seen;
        for (const auto& name : shown)
            seen += std::string(seen.empty() ? "" : " ") + (w.form.visible(name) ? "1" : "0");
        EXPECT_EQ(seen, flags) << option;
    }
}

// Close writes 178 lines: the example's own fields back as typed, the
// flag "False"; every box and the method come back on opening.
TEST(Simultaneous, DataFileRoundTrip) {
    Window w;
    const Texts example = *w.dir.readLines("Array.DAT");
    ASSERT_EQ(example.size(), 178u);
    Texts lines = w.close();
    ASSERT_EQ(lines.size(), 178u);
    EXPECT_EQ(lines[0], "False");
    EXPECT_EQ(Texts(lines.begin() + 1, lines.end()), Texts(example.begin() + 1, example.end()));

    // Every field distinct, then reopened: each box shows its own text.
    Window again;
    for (std::size_t i = 0; i < again.calc->fields.size() - 1; ++i) {
        const std::string& name = again.calc->fields[i].name;
        again.form.setText(name, i < 3 ? std::to_string(2 + i) : "1." + std::to_string(i));
    }
    again.form.setText("TxtRLC(11)", "*");
    again.select("OpCmp");
    lines = again.close();
    again.open(simultaneousEquations());
    for (std::size_t i = 0; i < again.calc->fields.size() - 1; ++i)
        EXPECT_EQ(again.form.text(again.calc->fields[i].name), lines[i + 1]);
    EXPECT_EQ(lines[148], "*"); // branch 3 capacitor: line 149
    EXPECT_EQ(again.form.text("TxtRLC(11)"), "*");
    EXPECT_TRUE(again.form.selected("OpCmp"));
    EXPECT_EQ(lines.back(), "3");
}

// The example's "*" capacitors survive Close, so the component ladder still
// calculates after reopening.
TEST(Simultaneous, NoCapacitorMarkSurvivesClose) {
    Window w("OpCmp CmdCalc");
    const Texts before = w.list();
    ASSERT_EQ(before.size(), 7u) << ::testing::PrintToString(w.dialogs.texts());
    w.close();
    w.open(simultaneousEquations());
    EXPECT_EQ(w.form.text("TxtRLC(3)"), "*");
    ASSERT_TRUE(w.calculate());
    EXPECT_EQ(w.list(), before);
    EXPECT_TRUE(w.dialogs.shown.empty());
}

// A file cut short fills the boxes it reaches; the rest keep their text.
TEST(Simultaneous, ShortFileFillsWhatItReaches) {
    Window w;
    Texts lines = *w.dir.readLines("Array.DAT");
    lines.resize(10); // flag, three loop counts, M11 .. M13
    lines[1] = "3";
    lines[4] = "7";
    ASSERT_TRUE(w.dir.writeLines("Array.DAT", lines));
    w.open(simultaneousEquations());
    EXPECT_EQ(w.form.text("ComNum1"), "3");
    EXPECT_EQ(w.form.text("TxtR(0)"), "7");
    EXPECT_EQ(w.form.text("TxtR(3)"), "");
    EXPECT_TRUE(w.form.visible("TxtR(14)"));
    EXPECT_FALSE(w.form.visible("TxtR(15)"));
    EXPECT_TRUE(w.dialogs.shown.empty());
}

TEST(Simultaneous, ClearEmptiesInputsButNotLoopsOrMethod) {
    Window w("OpImp CmdClr");
    EXPECT_EQ(w.form.text("TxtR(0)"), "");
    EXPECT_EQ(w.form.text("TxtRLC(3)"), "");
    EXPECT_EQ(w.form.text("Text4"), "");
    EXPECT_EQ(w.form.text("ComNum2"), "4");
    EXPECT_TRUE(w.form.selected("OpImp"));
    EXPECT_TRUE(undeclaredNames(simultaneousEquations()).empty());
    // Saved empty, and read back empty: nothing shifts.
    EXPECT_EQ(w.close().size(), 178u);
    w.open(simultaneousEquations());
    EXPECT_EQ(w.form.text("TxtRLC(47)"), "");
    EXPECT_EQ(w.form.text("ComNum3"), "4");
    EXPECT_TRUE(w.form.selected("OpImp"));
}

} // namespace
} // namespace ferrovane::testing
