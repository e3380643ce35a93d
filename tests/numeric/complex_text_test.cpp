#include "numeric/complex_text.h"
#include "numeric/eng_text.h"
#include "numeric/numeric_fault.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <random>
#include <string>

namespace ferrovane {
namespace {

const double kPi = 4 * std::atan(1.0);

TEST(ComplexText, WrittenWithSignsAfterTheJ) {
    EXPECT_EQ(ComplexText(3, 4), " 3 + j 4");
    EXPECT_EQ(ComplexText(3, -4), " 3 + j-4");
    EXPECT_EQ(ComplexText(-2.5, 0), "-2.5 + j 0");
    EXPECT_EQ(ComplexText(0.5, -1e-7), " .5 + j-1E-07");
    EXPECT_EQ(ComplexText(1e20, -0.25), " 1E+20 + j-.25");
    EXPECT_THROW(ComplexText(INFINITY, 0), NumericFault);
    EXPECT_THROW(ComplexText(0, NAN), NumericFault);
}

TEST(ComplexText, ReadByTheBlankAfterTheRealPart) {
    struct Case {
        const char* text;
        double re;
        double im;
    };
    const Case cases[] = {
        {" 3 + j 4", 3, 4},
        {"3 + j 4", 3, 4},
        {" 3 + j-4", 3, -4},
        {"-2.5 + j 0", -2.5, 0},
        {" .5 + j-1E-07", 0.5, -1e-7},
        {"5 + j", 5, 0},
        {"5 ", 5, 0},
        {" 1E+20 + j 1E-20", 1e20, 1e-20},
        {"0 + j 0", 0, 0},
        {" 0 + j 0", 0, 0},
        {" 1 + j 0 ", 1, 0},
        {" -1 + j 0 ", -1, 0},
    };
    for (const auto& c : cases) {
        const Complex v = ReadComplex(c.text);
        EXPECT_EQ(v.re, c.re) << c.text;
        EXPECT_EQ(v.im, c.im) << c.text;
    }
    // No blank after the first character: the text cannot be read.
    for (const char* bad : {"", "3", "3+j4", " ", "1e999 + j 0", " 1 + j 1e999"}) {
        EXPECT_THROW(ReadComplex(bad), NumericFault) << '"' << bad << '"';
    }
}

TEST(CplxArithmetic, WorkedResults) {
    EXPECT_EQ(CplxAdd(" 3 + j 4", " 1 + j-6"), " 4 + j-2");
    EXPECT_EQ(CplxSub(" 3 + j 4", " 1 + j-6"), " 2 + j 10");
    EXPECT_EQ(CplxMul(" 3 + j 4", " 3 + j-4"), " 25 + j 0");
    EXPECT_EQ(CplxDiv(" 25 + j 0", " 3 + j-4"), " 3 + j 4");
    EXPECT_EQ(CplxDiv(" 1 + j 0", " 0 + j 1"), " 0 + j-1");
    EXPECT_EQ(CplxDiv(" 1 + j 0", " 4 + j 0"), " .25 + j 0");
    EXPECT_EQ(CplxMul(" .5 + j 0", " 0 + j-2E-07"), " 0 + j-1E-07");
    // A typed text without the leading blank works the same.
    EXPECT_EQ(CplxAdd("3 + j 4", " 3 + j 4"), " 6 + j 8");
    EXPECT_EQ(CplxAdd("5 + j", " 1 + j 1"), " 6 + j 1");
}

TEST(CplxArithmetic, EmptyOperands) {
    EXPECT_EQ(CplxAdd("", " 1 + j 1"), "0 + j 0");
    EXPECT_EQ(CplxAdd(" 1 + j 1", ""), "0 + j 0");
    EXPECT_EQ(CplxSub("", " 1 + j 1"), "0 + j 0");
    EXPECT_EQ(CplxSub(" 1 + j 1", ""), "0 + j 0");
    // Products and quotients treat a one-character text as missing too.
    EXPECT_EQ(CplxMul("5", " 1 + j 1"), "0 + j 0");
    EXPECT_EQ(CplxMul(" 1 + j 1", ""), "0 + j 0");
    EXPECT_EQ(CplxDiv("", " 1 + j 1"), "0 + j 0");
    EXPECT_EQ(CplxDiv(" 1 + j 1", "7"), "0 + j 0");
    // Both operands zero: the other empty result.
    EXPECT_EQ(CplxDiv(" 0 + j 0", "0 + j 0"), " 0 + j 0");
}

TEST(CplxArithmetic, FaultsInsteadOfNonFiniteText) {
    EXPECT_THROW(CplxDiv(" 1 + j 0", " 0 + j 0"), NumericFault);
    EXPECT_THROW(CplxDiv(" 0 + j 1", "0 + j 0"), NumericFault);
    EXPECT_THROW(CplxMul(" 1E+300 + j 0", " 1E+300 + j 0"), NumericFault);
    EXPECT_THROW(CplxAdd(" 1.7E+308 + j 0", " 1.7E+308 + j 0"), NumericFault);
    EXPECT_THROW(CplxDiv(" 1E+300 + j 0", " 1E-300 + j 0"), NumericFault);
    EXPECT_THROW(CplxAdd("3+j4", " 1 + j 1"), NumericFault);
    EXPECT_THROW(CplxSub(" 1 + j 1", "x"), NumericFault);
    EXPECT_THROW(CplxMul("ab", " 1 + j 1"), NumericFault);
    EXPECT_THROW(CplxDiv(" 1 + j 1", "3+j4"), NumericFault);
    try {
        CplxDiv(" 1 + j 0", " 0 + j 0");
    } catch (const NumericFault& e) {
        EXPECT_STREQ(e.what(), "division by zero");
    }
}

TEST(CplxArithmetic, AgreesWithStdComplex) {
    std::mt19937_64 rng(11);
    std::uniform_real_distribution<double> part(-1000, 1000);
    std::uniform_int_distribution<int> scale(-8, 8);
    for (int n = 0; n < 5000; ++n) {
        const std::complex<double> a(part(rng) * std::pow(10.0, scale(rng)), part(rng));
        const std::complex<double> b(part(rng), part(rng) * std::pow(10.0, scale(rng)));
        const std::string ta = ComplexText(a.real(), a.imag());
        const std::string tb = ComplexText(b.real(), b.imag());
        // The operands as their texts hold them.
        const std::complex<double> ra(ReadComplex(ta).re, ReadComplex(ta).im);
        const std::complex<double> rb(ReadComplex(tb).re, ReadComplex(tb).im);
        const auto close = [](const std::string& text, std::complex<double> want, double size) {
            const Complex got = ReadComplex(text);
            return std::abs(std::complex<double>(got.re, got.im) - want) <= 1e-13 * size;
        };
        ASSERT_TRUE(close(CplxAdd(ta, tb), ra + rb, std::abs(ra) + std::abs(rb))) << ta << tb;
        ASSERT_TRUE(close(CplxSub(ta, tb), ra - rb, std::abs(ra) + std::abs(rb))) << ta << tb;
        ASSERT_TRUE(close(CplxMul(ta, tb), ra * rb, std::abs(ra) * std::abs(rb))) << ta << tb;
        ASSERT_TRUE(close(CplxDiv(ta, tb), ra / rb, std::abs(ra) / std::abs(rb))) << ta << tb;
    }
}

TEST(CplxToPolar, AnglesInEveryQuadrant) {
    struct Case {
        const char* text;
        double magnitude;
        double angle;
    };
    const Case cases[] = {
        {"-1 + j 0", 1, kPi},
        {"-1 + j-1", std::sqrt(2.0), -3 * kPi / 4},
        {"-1 + j 1", std::sqrt(2.0), 3 * kPi / 4},
        {" 1 + j-1", std::sqrt(2.0), -kPi / 4},
        {" 2 + j 0", 2, 0},
        {"0 + j 0", 0, 0},
        {" 0 + j 5", 5, kPi / 2},
        {" 0 + j-5", 5, -kPi / 2},
        {" 3 + j 4", 5, std::atan2(4.0, 3.0)},
    };
    for (const auto& c : cases) {
        const std::optional<Polar> p = CplxToPolar(c.text);
        ASSERT_TRUE(p.has_value()) << c.text;
        EXPECT_NEAR(p->magnitude, c.magnitude, 1e-15 * (1 + c.magnitude)) << c.text;
        EXPECT_NEAR(p->angle, c.angle, 1e-15) << c.text;
    }
    EXPECT_FALSE(CplxToPolar("").has_value());
    EXPECT_THROW(CplxToPolar("1+j1"), NumericFault);
    EXPECT_THROW(CplxToPolar(" 1E+300 + j 1E+300"), NumericFault);
}

TEST(SeriesToParallel, WorkedExample) {
    const ParallelEquivalent p = SeriesToParallel(1000, " 3 + j 4");
    EXPECT_EQ(p.parallel, " 8.33333333333333 + j 6.25 ");
    EXPECT_NEAR(p.capacitance, -1 / (2 * kPi * 1000 * 6.25), 1e-18);
}

TEST(SeriesToParallel, CapacitiveSeriesGivesPositiveCapacitance) {
    // Rp = (Rs^2 + Xs^2) / Rs, Xp = (Rs^2 + Xs^2) / Xs: 50 - j50 gives 100 - j100.
    const ParallelEquivalent p = SeriesToParallel(1e6, " 50 + j-50");
    EXPECT_EQ(p.parallel, " 100 + j-100 ");
    EXPECT_NEAR(p.capacitance, 1 / (2 * kPi * 1e6 * 100), 1e-20);
    // Found by the "j", so a text without blanks works as well.
    EXPECT_EQ(SeriesToParallel(1e6, "50+j-50").parallel, " 100 + j-100 ");
}

TEST(SeriesToParallel, Faults) {
    EXPECT_THROW(SeriesToParallel(1000, " 0 + j 4"), NumericFault);
    EXPECT_THROW(SeriesToParallel(1000, " 3 + j 0"), NumericFault);
    EXPECT_THROW(SeriesToParallel(0, " 3 + j 4"), NumericFault);
    EXPECT_THROW(SeriesToParallel(1000, " 3 + 4"), NumericFault);
    EXPECT_THROW(SeriesToParallel(1000, "j4"), NumericFault);
    EXPECT_THROW(SeriesToParallel(1000, ""), NumericFault);
    EXPECT_THROW(SeriesToParallel(INFINITY, " 3 + j 4"), NumericFault);
}

} // namespace
} // namespace ferrovane
