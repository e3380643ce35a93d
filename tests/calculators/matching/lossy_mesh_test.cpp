#include "calculators/matching/lossy_mesh.h"

#include <cmath>
#include <complex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "numeric/complex_text.h"
#include "numeric/numeric_fault.h"
#include "shell/help_texts.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"

namespace ferrovane {
namespace {

using testing::ScriptedDialogs;
using testing::TempDir;
using cplx = std::complex<double>;

const std::string kDeg = "\u00B0";

// The reading of a complex value text, as std::complex.
cplx value(const std::string& text) {
    const Complex c = ReadComplex(text);
    return {c.re, c.im};
}

std::string text(cplx z) {
    return ComplexText(z.real(), z.imag());
}

TEST(LossyMeshSignText, NegativeImaginaryPartsShowMinusJAndLoseTheirSign) {
    struct Case {
        std::string b, sign, shown;
    };
    const std::vector<Case> cases = {
        {" 980.4e-6  ", "+ j", " 980.4e-6  "},
        {"-8.108e-9  ", "- j", " 8.108e-9  "},
        {" 0.000     ", "+ j", " 0.000     "},
        // A negative value too small to show reads as zero: the rule keeps
        // the "+ j" and the text as it is.
        {"-0.000     ", "+ j", "-0.000     "},
        {"-17.63     ", "- j", " 17.63     "},
    };
    for (const auto& c : cases) {
        const lossy::SignedImaginary s = lossy::signText(c.b);
        EXPECT_EQ(s.sign, c.sign) << c.b;
        EXPECT_EQ(s.text, c.shown) << c.b;
    }
}

TEST(LossyMeshAngleText, DegreesRoundToHundredthsDownwardAfterAddingAHalf) {
    struct Case {
        double degrees;
        std::string shown;
    };
    const std::vector<Case> cases = {
        {45, "45"},
        {-135, "-135"},
        {180, "180"},
        {84.294, "84.29"},
        {84.296, "84.3"},
        // Negative angles round the same way: -1234.49 + 0.5 rounds down to
        // -1234, -1234.51 + 0.5 to -1235.
        {-12.3449, "-12.34"},
        {-12.3451, "-12.35"},
        {-0.0045, "0"},
        // Plain number text has no digit before the point below one.
        {0.27, ".27"},
        {-0.27, "-.27"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(lossy::angleText(c.degrees * Pi / 180), c.shown) << c.degrees;
}

TEST(LossyMeshLines, CurrentAndImpedanceLinesShowPartsMagnitudeAndAngle) {
    // 3 - j4 A: magnitude 5, angle atan2(-4, 3) = -53.130 degrees.
    EXPECT_EQ(lossy::currentLine(2, " 3 + j-4"),
              "I2 =  3.000     - j 4.000     Amps =  5.000     Amps /_-53.13" + kDeg);
    // 0.01 + j0.01 A: 14.14 mA at 45 degrees.
    EXPECT_EQ(lossy::currentLine(1, " .01 + j .01"),
              "I1 =  10.00e-3  + j 10.00e-3  Amps =  14.14e-3  Amps /_45" + kDeg);
    // 4808 + j0.78: the angle atan(0.78 / 4808) is 0.0093 degrees.
    EXPECT_EQ(lossy::impedanceLine(" 4808 + j .78"),
              "Z  =  4.808e+3  + j 780.0e-3  Ohms =  4.808e+3  Ohms /_.01" + kDeg);
}

TEST(LossyMeshLines, ParallelLineShowsTheEquivalentAndItsCapacitance) {
    // 3 + j4 is 8.333 ohms in parallel with j6.25 ohms; at 1 kHz j6.25 ohms
    // is -1 / (2 pi 1000 x 6.25) = -25.46 microfarads.
    EXPECT_EQ(lossy::parallelLine(1000, " 3 + j 4"),
              "Zp =  8.333     P/w 6.250     Ohms =  8.333     Ohms, P/w -25.46e-6  Farads");
}

TEST(LossyMeshQ, UsesTheFourDigitValuesTheLinesShow) {
    // The shown 980.4e-6 / 102.0e-6 is 9.6118 and gives 9.61; the unrounded
    // 980.449e-6 / 101.955e-6 = 9.6165 would give 9.62.
    EXPECT_DOUBLE_EQ(lossy::loadedQ(" 9.796E-05 + j 9.80449E-04", " 1.01955E-04 + j-8.1E-09"),
                     9.61);
    // -3.749e-3 / 264.1e-6 x 100 = -1419.53; adding a half and rounding down
    // gives -1420, so Q is 14.2 and not 14.19.
    EXPECT_DOUBLE_EQ(lossy::loadedQ(" 2.640573E-04 + j-3.7485126E-03", " 2.640573E-04 + j 1"),
                     14.2);
    EXPECT_EQ(lossy::qLine(9.61), "Q  =  9.61");
    EXPECT_EQ(lossy::qLine(14.2), "Q  =  14.2");
}

TEST(LossyMeshQ, ARealPartShownAsZeroIsAFault) {
    EXPECT_THROW(lossy::loadedQ(" 1 + j 1", " 1E-17 + j 1"), NumericFault);
    EXPECT_THROW(lossy::loadedQ(" 1 + j 1", " 0 + j 1"), NumericFault);
}

TEST(LossyMeshVtr, RatioAngleAndDecibels) {
    EXPECT_EQ(lossy::vtrLine("VTR =", 0.5, Pi / 2), "VTR = 500.0e-3  /_90" + kDeg);
    EXPECT_EQ(lossy::vtrLine("Lossless VTR =", 2, -Pi), "Lossless VTR = 2.000     /_-180" + kDeg);
    struct Case {
        double ratio, db;
    };
    // 20 log10 of the ratio, to the nearest tenth.
    for (const Case& c : std::vector<Case>{{0.1, -20}, {2, 6}, {0.1698, -15.4}, {1, 0}, {10, 20}})
        EXPECT_DOUBLE_EQ(lossy::decibels(c.ratio), c.db) << c.ratio;
    EXPECT_THROW(lossy::decibels(0), NumericFault);
    // The load voltage is I3 x RL.
    EXPECT_EQ(value(lossy::outputVoltage(" 2 + j-1", 50)), cplx(100, -50));
}

// Residual of m x currents - rhs, largest magnitude.
double residual(const lossy::MeshEquations& e, const std::array<std::string, 3>& currents) {
    double worst = 0;
    for (int row = 1; row <= 3; ++row) {
        cplx sum = 0;
        for (int col = 1; col <= 3; ++col)
            sum += value(e.matrix(row, col)) * value(currents[static_cast<std::size_t>(col - 1)]);
        worst = std::max(worst, std::abs(sum - value(e.rhs[static_cast<std::size_t>(row - 1)])));
    }
    return worst;
}

TEST(LossyMeshSolve, CramersRuleSatisfiesTheEquations) {
    // Matrices row by row.
    const std::vector<std::vector<cplx>> matrices = {
        {{2, 0}, {1, 0}, {0, 0}, {1, 0}, {3, 0}, {1, 0}, {0, 0}, {1, 0}, {4, 0}},
        {{0, 1}, {1, 0}, {0, 0}, {1, 0}, {2, -1}, {0, 1}, {0, 0}, {0, 1}, {3, 0}},
        // Near the capacitive divider example, negated, at 455 kHz.
        {{-5002, -500},
         {2, 500},
         {0, 0},
         {2, 500},
         {-2, 9.9},
         {0, 179.9},
         {0, 0},
         {0, 179.9},
         {-600, -179.9}},
    };
    for (const auto& a : matrices) {
        lossy::MeshEquations e;
        for (int r = 1; r <= 3; ++r)
            for (int c = 1; c <= 3; ++c)
                e.matrix(r, c) = text(a[static_cast<std::size_t>(3 * (r - 1) + c - 1)]);
        e.rhs = {" -1 + j 0 ", " 0 + j 0 ", " 0 + j 0 "};
        const auto currents = lossy::solveMesh(e);
        double scale = 0;
        for (const auto& i : currents)
            scale = std::max(scale, std::abs(value(i)));
        EXPECT_GT(scale, 0);
        // The texts carry 15 significant digits.
        EXPECT_LT(residual(e, currents), 1e-9);
    }
}

TEST(LossyMeshSolve, TheFirstHandSolvedSystem) {
    // [[2,1,0],[1,3,1],[0,1,4]] x = (1,0,0): D = 18, x = (11, -4, 1) / 18.
    lossy::MeshEquations e;
    const double a[3][3] = {{2, 1, 0}, {1, 3, 1}, {0, 1, 4}};
    for (int r = 1; r <= 3; ++r)
        for (int c = 1; c <= 3; ++c)
            e.matrix(r, c) = ComplexText(a[r - 1][c - 1], 0);
    e.rhs = {" 1 + j 0", " 0 + j 0", " 0 + j 0"};
    const auto x = lossy::solveMesh(e);
    EXPECT_NEAR(value(x[0]).real(), 11.0 / 18, 1e-14);
    EXPECT_NEAR(value(x[1]).real(), -4.0 / 18, 1e-14);
    EXPECT_NEAR(value(x[2]).real(), 1.0 / 18, 1e-14);
}

TEST(LossyMeshSolve, ASingularMatrixIsAFault) {
    lossy::MeshEquations e;
    for (int c = 1; c <= 3; ++c) {
        e.matrix(1, c) = ComplexText(c, 1);
        e.matrix(2, c) = ComplexText(c, 1); // the same as row 1
        e.matrix(3, c) = ComplexText(1, c);
    }
    e.rhs = {" -1 + j 0 ", " 0 + j 0 ", " 0 + j 0 "};
    EXPECT_THROW(lossy::solveMesh(e), NumericFault);
    // With a zero right-hand side every numerator is zero too.
    e.rhs = {" 0 + j 0 ", " 0 + j 0 ", " 0 + j 0 "};
    EXPECT_THROW(lossy::solveMesh(e), NumericFault);
}

TEST(LossyMeshFaults, ZeroReactancePartsAreNamed) {
    Form form;
    for (const char* box : {"TxtF", "TxtL", "TxtC1", "TxtC2"})
        form.addControl(box, "1");
    const std::vector<std::pair<std::string, std::string>> boxes = {
        {"TxtF", "Frequency"}, {"TxtL", "L"}, {"TxtC1", "C1"}, {"TxtC2", "C2"}};
    EXPECT_NO_THROW(lossy::requireNonZero(form, boxes));

    auto message = [&] {
        try {
            lossy::requireNonZero(form, boxes);
        } catch (const NumericFault& fault) {
            return std::string(fault.what());
        }
        return std::string("no fault");
    };
    form.setText("TxtC2", "0");
    EXPECT_EQ(message(), "C2 must not be zero");
    form.setText("TxtF", "");
    EXPECT_EQ(message(), "Frequency and C2 must not be zero");
    form.setText("TxtL", "abc");
    EXPECT_EQ(message(), "Frequency, L and C2 must not be zero");
}

TEST(LossyMeshFaults, StepNamesWhatCouldNotBeCalculated) {
    try {
        lossy::step("the input impedance", [] { return CplxDiv(" 1 + j 0", " 0 + j 0"); });
        FAIL() << "no fault";
    } catch (const NumericFault& fault) {
        EXPECT_EQ(std::string(fault.what()).rfind("the input impedance: ", 0), 0u) << fault.what();
    }
    EXPECT_EQ(lossy::step("x", [] { return 3; }), 3);
}

TEST(LossyMeshAnalysis, AFaultLeavesTheListEmptiedAndSaysSoOnce) {
    TempDir tmp;
    DataDir dir{tmp.path()};
    ScriptedDialogs dialogs;
    CalcEnv env{dialogs, dir};
    Form form;
    form.addControl("TxtC2", "0");
    form.addList("List1");
    form.list("List1") = {"old line"};
    Form expected = form;
    expected.list("List1").clear();

    lossy::listAnalysis(form, env, "List1", [](const Form&) -> std::vector<std::string> {
        throw NumericFault("C2 must not be zero");
    });
    EXPECT_TRUE(form.list("List1").empty());
    EXPECT_TRUE(form == expected);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, "These values cannot be calculated (C2 must not be zero).  "
                                     "The result list has been emptied.");
    EXPECT_EQ(dialogs.shown[0].icon, MessageIcon::Exclamation);

    lossy::listAnalysis(form, env, "List1", [](const Form&) {
        return std::vector<std::string>{"a", "b"};
    });
    EXPECT_EQ(form.list("List1"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(dialogs.shown.size(), 1u);
}

} // namespace
} // namespace ferrovane
