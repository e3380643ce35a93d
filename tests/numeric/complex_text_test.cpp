#include "numeric/complex_text.h"
#include "numeric/determinant.h"
#include "numeric/numeric_fault.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numeric>
#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace ferrovane {
namespace {

const double kPi = 4 * std::atan(1.0);
using Cx = std::complex<double>;

Cx readBack(const std::string& text) {
    const Complex c = ReadComplex(text);
    return {c.re, c.im};
}

TEST(ComplexText, WrittenWithTheSignAfterTheJ) {
    EXPECT_EQ(ComplexText(-2.5, 0), "-2.5 + j 0");
    EXPECT_EQ(ComplexText(0.5, -1e-7), " .5 + j-1E-07");
}

// Sums take an empty operand as missing, products and quotients one of length 0 or 1;
// a missing operand gives "0 + j 0", 0 / 0 gives " 0 + j 0". A typed text may lack the
// leading blank or what follows the "j". A zero divisor and a text with no blank after
// its first character (nullptr below) are faults.
TEST(CplxArithmetic, WorkedResultsEmptyResultsAndFaults) {
    using Op = std::string (*)(std::string_view, std::string_view);
    const Op add = CplxAdd, sub = CplxSub, mul = CplxMul, div = CplxDiv;
    const std::tuple<Op, const char*, const char*, const char*> cases[] = {
        {add, " 3 + j 4", " 1 + j-6", " 4 + j-2"},  {sub, " 3 + j 4", " 1 + j-6", " 2 + j 10"},
        {mul, " 3 + j 4", " 3 + j-4", " 25 + j 0"}, {div, " 3 + j 4", " 3 + j-4", "-.28 + j .96"},
        {div, " 1 + j 0", " 0 + j 1", " 0 + j-1"},  {add, "3 + j 4", " 0 + j 0", " 3 + j 4"},
        {add, "5 + j", " 0 + j 0", " 5 + j 0"},     {add, "", " 1 + j 1", "0 + j 0"},
        {add, " 1 + j 1", "", "0 + j 0"},           {sub, "", " 1 + j 1", "0 + j 0"},
        {mul, "5", " 1 + j 1", "0 + j 0"},          {div, "", " 1 + j 1", "0 + j 0"},
        {div, " 1 + j 1", "7", "0 + j 0"},          {div, " 0 + j 0", "0 + j 0", " 0 + j 0"},
        {div, " 1 + j 0", " 0 + j 0", nullptr},     {div, " 0 + j 1", "0 + j 0", nullptr},
        {add, "3+j4", " 1 + j 1", nullptr},         {sub, " 1 + j 1", "x", nullptr},
        {mul, "ab", " 1 + j 1", nullptr},           {div, " 1 + j 1", "3+j4", nullptr},
    };
    for (const auto& [op, a, b, result] : cases) {
        SCOPED_TRACE(std::string(a) + " | " + b);
        if (result)
            EXPECT_EQ(op(a, b), result);
        else
            EXPECT_THROW(op(a, b), NumericFault);
    }
}

// Far from ordinary magnitudes no square or product may leave the range of a
// double on the way: the quotient is right or, when it is itself out of range,
// a fault. The reference divides in long double, whose range holds every square.
TEST(CplxArithmetic, QuotientsAndMagnitudesAtExtremeMagnitudes) {
    const std::pair<const char*, const char*> cases[] = {
        {" 1 + j 0", " 1E+155 + j 0"},           {" 1E+200 + j 1E+200", " 1E+200 + j-1E+200"},
        {" 1E-300 + j 0", " 1E-170 + j 0"},      {" 3 + j 4", " 1E-160 + j 2E-160"},
        {" 1.5E+308 + j 0", " 1.9 + j 0"},       {"-7E-320 + j 1E-300", " 1E-300 + j 1E-310"},
        {" 1E+300 + j 1E-300", " 0 + j 1E+300"},
    };
    for (const auto& [a, b] : cases) {
        const Complex x = ReadComplex(a), y = ReadComplex(b);
        const std::complex<long double> q =
            std::complex<long double>(x.re, x.im) / std::complex<long double>(y.re, y.im);
        const Cx got = readBack(CplxDiv(a, b));
        EXPECT_LE(std::abs(std::complex<long double>(got.real(), got.imag()) - q),
                  1e-14L * std::abs(q) + 1e-320L)
            << a << " / " << b;
    }
    EXPECT_EQ(CplxDiv(" 1 + j 0", " 1E+155 + j 0"), " 1E-155 + j 0");
    EXPECT_THROW(CplxDiv(" 1E+300 + j 0", " 1E-100 + j 0"), NumericFault);
    EXPECT_THROW(CplxMul(" 1E+300 + j 0", " 1E9 + j 0"), NumericFault);
    // Rp = (Rs^2 + Xs^2) / Rs, Xp = (Rs^2 + Xs^2) / Xs.
    for (const auto& [rs, xs] : {std::pair{1e15, 1e154}, {1e-200, 3e-200}, {-2e160, 1e100}}) {
        const Cx p = readBack(SeriesToParallel(1000, ComplexText(rs, xs)).parallel);
        const long double sq =
            static_cast<long double>(rs) * rs + static_cast<long double>(xs) * xs;
        EXPECT_NEAR(p.real() / (sq / rs), 1, 1e-14) << rs << " " << xs;
        EXPECT_NEAR(p.imag() / (sq / xs), 1, 1e-14) << rs << " " << xs;
    }
    EXPECT_DOUBLE_EQ(CplxToPolar(" 3E-200 + j 4E-200")->magnitude, 5e-200);
    EXPECT_DOUBLE_EQ(CplxToPolar(" 3E+200 + j-4E+200")->magnitude, 5e200);
}

TEST(CplxToPolar, AnglesInEveryQuadrant) {
    const double r2 = std::sqrt(2.0);
    const std::tuple<const char*, double, double> cases[] = {
        // angles in units of pi
        {"-1 + j 0", 1, 1},      {"-1 + j-1", r2, -0.75}, {"-1 + j 1", r2, 0.75},
        {" 1 + j-1", r2, -0.25}, {" 2 + j 0", 2, 0},      {"0 + j 0", 0, 0},
        {" 0 + j 5", 5, 0.5},    {" 0 + j-5", 5, -0.5},
    };
    for (const auto& [text, magnitude, angle] : cases) {
        const std::optional<Polar> p = CplxToPolar(text);
        ASSERT_TRUE(p.has_value()) << text;
        EXPECT_NEAR(p->magnitude, magnitude, 1e-15 * (1 + magnitude)) << text;
        EXPECT_NEAR(p->angle, angle * kPi, 1e-15) << text;
    }
    EXPECT_FALSE(CplxToPolar("").has_value());
}

TEST(SeriesToParallel, WorkedExampleAndFaults) {
    const ParallelEquivalent p = SeriesToParallel(1000, " 3 + j 4");
    EXPECT_EQ(p.parallel, " 8.33333333333333 + j 6.25 ");
    EXPECT_NEAR(p.capacitance, -1 / (2 * kPi * 1000 * 6.25), 1e-18);
    // Rs = 0, Xs = 0, f = 0, and no "j".
    for (const auto& [f, z] : {std::pair{1000.0, " 0 + j 4"},
                               {1000.0, " 3 + j 0"},
                               {0.0, " 3 + j 4"},
                               {1000.0, " 3 + 4"}})
        EXPECT_THROW(SeriesToParallel(f, z), NumericFault) << f << z;
}

std::string determinantOf(const std::vector<std::vector<const char*>>& rows) {
    ComplexMatrix m;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        for (std::size_t j = 0; j < rows.size(); ++j)
            m(static_cast<int>(i + 1), static_cast<int>(j + 1)) = rows[i][j];
    }
    return Determinant(m, static_cast<int>(rows.size()));
}

TEST(Determinant, WorkedMatrices) {
    const char *o = " 0 + j 0", *l = " 1 + j 0", *a = "-4 + j 2";
    // P = (1 + j1)(4 - j1) = 5 + j3, Q = 6.
    EXPECT_EQ(determinantOf({{" 1 + j 1", " 2 + j 0"}, {" 3 + j 0", " 4 + j-1"}}), "-1 + j 3");
    EXPECT_EQ(determinantOf({{l, o, o, o}, {o, l, o, o}, {o, o, l, o}, {o, o, o, l}}), l);
    EXPECT_EQ(determinantOf({{a, l, a}, {o, o, o}, {l, a, " 7 + j-3"}}), o);
    // An element never filled in counts as zero in its products.
    EXPECT_EQ(determinantOf({{l, ""}, {" 5 + j 5", " 2 + j 0"}}),
              determinantOf({{l, o}, {o, " 2 + j 0"}}));
    EXPECT_EQ(Determinant(ComplexMatrix{}, 7), "");
}

// Independent reference: Laplace expansion in std::complex of the rows from `row` on
// and the columns left in `columns`.
Cx reference(const ComplexMatrix& m, int row, const std::vector<int>& columns) {
    Cx total = columns.empty() ? 1 : 0;
    for (std::size_t k = 0; k < columns.size(); ++k) {
        std::vector<int> rest = columns;
        rest.erase(rest.begin() + static_cast<std::ptrdiff_t>(k));
        const Cx term = readBack(m(row, columns[k])) * reference(m, row + 1, rest);
        total += k % 2 == 0 ? term : -term;
    }
    return total;
}

// The expansion as described, copying every minor and working it out afresh.
std::string plainExpansion(const ComplexMatrix& m, int n) {
    if (n == 3)
        return Determinant3(m, 3);
    std::string total = "0 + j 0";
    for (int k = 1; k <= n; ++k) {
        ComplexMatrix minor;
        for (int i = 1; i < n; ++i) {
            for (int j = 1; j < n; ++j)
                minor(i, j) = m(i + 1, j < k ? j : j + 1);
        }
        const std::string term = CplxMul(plainExpansion(minor, n - 1), m(1, k));
        total = CplxAdd(total, CplxMul(term, k % 2 == 1 ? " 1 + j 0 " : " -1 + j 0 "));
    }
    return total;
}

TEST(Determinant, RandomMatricesAgreeWithComplexArithmeticAndTheLiteralExpansion) {
    std::mt19937_64 rng(17);
    std::uniform_int_distribution<int> milli(-99999, 99999); // texts hold these exactly
    for (int n = 2; n <= 6; ++n) {
        // Every element is at most 100 sqrt(2) in size: Hadamard's bound on |det|.
        const double tolerance = 1e-12 * std::pow(142 * std::sqrt(n), n);
        std::vector<int> columns(static_cast<std::size_t>(n));
        std::iota(columns.begin(), columns.end(), 1);
        for (int trial = 0; trial < 10; ++trial) {
            ComplexMatrix m;
            for (int i = 1; i <= n; ++i)
                for (int j = 1; j <= n; ++j)
                    m(i, j) = ComplexText(milli(rng) / 1000.0, milli(rng) / 1000.0);
            EXPECT_LE(std::abs(readBack(Determinant(m, n)) - reference(m, 1, columns)), tolerance)
                << n;
            if (n >= 4 && trial == 0) { // the minors worked out once give the same text
                EXPECT_EQ(Determinant(m, n), plainExpansion(m, n)) << n;
            }
        }
    }
}

} // namespace
} // namespace ferrovane
