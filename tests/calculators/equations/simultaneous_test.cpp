#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <random>
#include <tuple>

#include "calculators/equations/simultaneous.h"
#include "numeric/complex_text.h"
#include "numeric/eng_text.h"
#include "support/test_window.h"

namespace ferrovane::testing {
namespace {

using C = std::complex<double>;
using Matrix = std::vector<std::vector<C>>;
const std::string kDeg = "\u00B0";
constexpr double kPi = 3.14159265358979323846;

struct Window : TestWindow {
    explicit Window(const std::string& steps = "") : TestWindow(simultaneousEquations(), steps) {}
    void set(const std::string& box, double value) {
        editBox(*calc, form, env, box, PlainNumber(value));
    }
    void loops(int method, const std::string& text) {
        chooseCombo(*calc, form, env, "ComNum" + std::to_string(method), text);
    }
};

// Gauss-Jordan elimination with partial pivoting: the solution of m x = b.
std::vector<C> solve(Matrix m, std::vector<C> b) {
    const std::size_t n = b.size();
    for (std::size_t p = 0; p < n; ++p) {
        std::size_t best = p;
        for (std::size_t r = p + 1; r < n; ++r)
            best = std::abs(m[r][p]) > std::abs(m[best][p]) ? r : best;
        std::swap(m[p], m[best]);
        std::swap(b[p], b[best]);
        for (std::size_t r = 0; r < n; ++r) {
            const C f = r == p ? C{} : m[r][p] / m[p][p];
            for (std::size_t c = p; c < n; ++c)
                m[r][c] -= f * m[p][c];
            b[r] -= f * b[p];
        }
    }
    for (std::size_t r = 0; r < n; ++r)
        b[r] /= m[r][r];
    return b;
}

// The four loop currents of a ladder by Kirchhoff: z[1..8] the branches, the
// source e0 in loop 1.
std::vector<C> ladderCurrents(const std::vector<C>& z, C e0) {
    Matrix m(4, std::vector<C>(4));
    for (int k = 1; k <= 4; ++k) {
        const C left = k > 1 ? z[2 * k - 2] : C{};
        m[k - 1][k - 1] = left + z[2 * k - 1] + z[2 * k];
        if (k > 1)
            m[k - 1][k - 2] = -left;
        if (k < 4)
            m[k - 1][k] = -z[2 * k];
    }
    return solve(m, {e0, 0, 0, 0});
}

// A current line's value, read back from its fixed columns.
C currentOf(const std::string& line) {
    const double im = ReadNumber(line.substr(19, 10));
    return {ReadNumber(line.substr(5, 11)), line.substr(16, 3) == "-j " ? -im : im};
}

// Four significant digits: within half a unit of the last one (or, for two
// shown values, one last digit), plus the rounding of the text arithmetic.
void expectShown(C shown, C exact, double digit = 5e-4) {
    for (const auto& [s, e] : {std::pair{shown.real(), exact.real()}, {shown.imag(), exact.imag()}})
        EXPECT_NEAR(s, e, digit * std::abs(e) + 1e-10 * std::abs(exact));
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
}

// The two ladders of the example file, against Kirchhoff by hand: the
// impedance ladder gives Zin = 1104.74 + j338.23, VTR 0.034471 at 179.99
// degrees, -29.3 dB; the component ladder at 3.742 MHz Zin = 10068.76 -
// j310.20, VTR 0.049975 at -173.78 degrees, -26.0 dB.
TEST(Simultaneous, LadderExamplesMatchKirchhoff) {
    const double w = 2 * kPi * 3.742e6;
    const C jX(0, 408.2), jw(0, w);
    const auto xc = [jw](double c) { return 1. / (jw * c); };
    const std::vector<C> imp{0, 1000, jX, 1000, jX, 1000, jX, 0, 1e6};
    const std::vector<C> cmp{
        0, 5000, xc(26.37e-12), jw * 67.08e-6, xc(284.7e-12), jw * 6.708e-6, xc(263.7e-12), 0, 50};
    for (const auto& [option, z, e0, dB] :
         {std::tuple{"OpImp", imp, 1., "VTR = -29.3 dB"}, {"OpCmp", cmp, 750., "VTR = -26 dB"}}) {
        SCOPED_TRACE(option);
        Window win(std::string(option) + " CmdCalc");
        const auto I = ladderCurrents(z, e0);
        const Texts& lines = win.list();
        ASSERT_EQ(lines.size(), 7u);
        for (int k = 0; k < 4; ++k)
            expectShown(currentOf(lines[k]), I[k]);
        EXPECT_EQ(lines[4], trimmedLine("Zin = ", e0 / I[0], "j", " Ohms"));
        EXPECT_EQ(lines[5], trimmedLine("VTR = ", z[8] * I[3] / e0, "J", ""));
        EXPECT_EQ(lines[6], dB);
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
                    m[r][c] = C(std::round(u(rng)), std::round(u(rng))) + (r == c ? 300. : 0.);
                    w.set(indexed("TxtR", 6 * r + c), m[r][c].real());
                    w.set(indexed("TxtX", 6 * r + c), m[r][c].imag());
                }
                minusK[r] = -C(u(rng), u(rng));
                w.set(indexed("TxtK", r), -minusK[r].real());
                w.set(indexed("TxtKX", r), -minusK[r].imag());
            }
            ASSERT_TRUE(w.calculate());
            const auto exact = solve(m, minusK);
            ASSERT_EQ(w.list().size(), static_cast<std::size_t>(n + 1));
            for (int k = 0; k < n; ++k)
                expectShown(currentOf(w.list()[k]), exact[k]);
        }
    }
}

// Random ladders entered twice: as impedances, and as components chosen to
// give the same impedances at 1 MHz (X = wL - 1/wC).
TEST(Simultaneous, ImpedanceAndComponentLaddersAgree) {
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> r(1, 1000), x(-1000, 1000);
    const double w = 2 * kPi * 1e6;
    for (int n = 2; n <= 6; ++n) {
        Window win("OpImp Text4=1e6 TxtK(6)=3 TxtK(13)=3");
        win.loops(2, std::to_string(n));
        win.loops(3, std::to_string(n));
        for (int b = 1; b <= 2 * n; ++b) {
            const double rb = std::round(r(rng)), xb = std::round(x(rng));
            win.set(indexed("TxtZ", 5 * b - 4), rb);
            win.set(indexed("TxtZ", 5 * b - 2), xb);
            win.set(indexed("TxtRLC", 4 * b - 3), rb);
            const double l = 2 * (std::abs(xb) + 1) / w; // wL above X: a capacitor makes up
            win.set(indexed("TxtRLC", 4 * b - 2), l);
            win.set(indexed("TxtRLC", 4 * b - 1), 1 / (w * (w * l - xb)));
        }
        ASSERT_TRUE(win.calculate());
        const Texts impedances = win.list();
        win.select("OpCmp");
        ASSERT_TRUE(win.calculate());
        SCOPED_TRACE(n);
        ASSERT_EQ(win.list().size(), impedances.size());
        for (int k = 0; k < n; ++k)
            expectShown(currentOf(win.list()[k]), currentOf(impedances[k]), 1e-3);
        EXPECT_TRUE(win.dialogs.shown.empty());
    }
}

// 2 loops of 100-ohm resistors ("*" and no inductance), the first series arm
// all zero, a short: by hand Zin = 100 || 200 = 66.67 ohms, and E0 lies
// across the 100 + 100 of the second loop: VTR = 1/2, -6.02 dB.
TEST(Simultaneous, StarBranchIsAResistanceAndAnAllZeroArmAShort) {
    Window w("OpCmp Text4=1e3 TxtK(13)=1 TxtRLC(1)=0 TxtRLC(2)=0 TxtRLC(3)=* TxtRLC(5)=100 "
             "TxtRLC(6)=0 TxtRLC(7)=* TxtRLC(9)=100 TxtRLC(10)=0 TxtRLC(11)=* TxtRLC(13)=100 "
             "TxtRLC(14)=0 TxtRLC(15)=*");
    w.loops(3, "2");
    ASSERT_TRUE(w.calculate());
    EXPECT_EQ(Texts(w.list().begin() + 2, w.list().end()),
              (Texts{"Zin = 66.67 +j 0.000 Ohms = 66.67 Ohms /_0" + kDeg,
                     "VTR = 500.0e-3 +J 0.000 = 500.0e-3 /_0" + kDeg, "VTR = -6 dB"}));
    // The impedance example with its load resistance zero: no VTR lines.
    Window imp("OpImp TxtZ(36)=0 TxtZ(38)=-50 CmdCalc");
    ASSERT_EQ(imp.list().size(), 5u);
    EXPECT_EQ(imp.list()[4].rfind("Zin = ", 0), 0u);
}

// Each refusal: one message, the list emptied, Calculate enabled again.
TEST(Simultaneous, ValidationMessages) {
    const std::string noCapacitor =
        "If there is no capacitor, enter a single * in the capacitor box.";
    const std::string singular =
        "The equations have no unique solution: their determinant is zero.";
    const std::pair<std::string, std::string> cases[] = {
        {"TxtK(0)=0 TxtK(1)=0 TxtKX(1)=", "At least one K value MUST be nonzero."},
        {"OpImp TxtK(6)=0", "At least one E value MUST be nonzero."},
        {"OpCmp Text4=0", "We need a value for Frequency."},
        {"OpCmp TxtRLC(3)=0", noCapacitor},
        {"OpCmp TxtRLC(3)=", noCapacitor},
        {"TxtR(0)=1 TxtR(1)=2 TxtX(1)=0 TxtR(6)=2 TxtR(7)=4", singular},
        {"TxtR(0)=3 TxtR(1)=1 TxtR(6)=1 TxtR(7)=.333333333333333", singular},
    };
    for (const auto& [steps, message] : cases) {
        SCOPED_TRACE(steps);
        Window w("CmdCalc");
        w.apply(steps + " CmdCalc");
        EXPECT_EQ(w.dialogs.texts(), Texts{message});
        EXPECT_TRUE(w.list().empty());
        EXPECT_TRUE(w.form.enabled("CmdCalc"));
    }
    // No method chosen (a file written with none).
    Window none;
    none.form.clearOption("FrameMethod");
    none.calculate();
    EXPECT_EQ(none.dialogs.shown.size(), 1u);
}

TEST(Simultaneous, LoopCountsAreClampedAndShowTheirRows) {
    Window w;
    for (const auto& [typed, kept] :
         {std::pair{"9", "6"}, {"1", "2"}, {"4", "4"}, {"x", "2"}, {"-3", "2"}, {"5.4", "5"}}) {
        w.loops(1, typed);
        EXPECT_EQ(w.form.text("ComNum1"), kept) << typed;
    }
    w.loops(1, "3");
    w.loops(2, "2");
    w.loops(3, "3");
    // Shown: row 3 column 3, K3, Z4 imaginary, E4, branch 6 capacitor, E6;
    // hidden: row 3 column 4, row 4 column 1, K4, Z5 caption, E6, branch 7, E8.
    for (const auto& cell : words("TxtR(14) TxtK(2) TxtZ(18) TxtK(8) TxtRLC(23) TxtKX(16)"))
        EXPECT_TRUE(w.form.visible(cell)) << cell;
    for (const auto& cell :
         words("TxtX(15) TxtI(18) TxtKX(3) TxtZ(20) TxtK(9) TxtRLC(25) TxtKX(17)"))
        EXPECT_FALSE(w.form.visible(cell)) << cell;
}

// Close writes 178 lines: the example's own fields back as typed, the flag
// "False"; every box, a "*" and the method come back on opening, and empty
// boxes stay empty without shifting the rest.
TEST(Simultaneous, DataFileRoundTrip) {
    Window w;
    const Texts example = *w.dir.readLines("Array.DAT");
    Texts lines = w.close();
    ASSERT_EQ(lines.size(), 178u);
    EXPECT_EQ(lines[0], "False");
    EXPECT_EQ(Texts(lines.begin() + 1, lines.end()), Texts(example.begin() + 1, example.end()));

    const auto& fields = w.calc->fields;
    for (std::size_t i = 0; i + 1 < fields.size(); ++i)
        w.form.setText(fields[i].name, i < 3    ? std::to_string(2 + i)
                                       : i == 9 ? ""
                                                : "1." + std::to_string(i));
    w.apply("TxtRLC(11)=* OpCmp");
    lines = w.close();
    w.open(simultaneousEquations());
    for (std::size_t i = 0; i + 1 < fields.size(); ++i)
        EXPECT_EQ(w.form.text(fields[i].name), lines[i + 1]);
    EXPECT_EQ(lines[148], "*"); // branch 3 capacitor: line 149
    EXPECT_TRUE(w.form.selected("OpCmp"));
    EXPECT_EQ(lines.back(), "3");
}

// The example's "*" capacitors survive Close, so the component ladder still
// calculates after reopening.
TEST(Simultaneous, NoCapacitorMarkSurvivesClose) {
    Window w("OpCmp CmdCalc");
    const Texts before = w.list();
    ASSERT_EQ(before.size(), 7u);
    w.close();
    w.open(simultaneousEquations());
    ASSERT_TRUE(w.calculate());
    EXPECT_EQ(w.list(), before);
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
    EXPECT_EQ(w.shown({"ComNum1", "TxtR(0)", "TxtR(3)"}), (Texts{"3", "7", ""}));
    EXPECT_TRUE(w.form.visible("TxtR(14)"));
    EXPECT_FALSE(w.form.visible("TxtR(15)"));
    EXPECT_TRUE(w.dialogs.shown.empty());
}

} // namespace
} // namespace ferrovane::testing
