#include "numeric/complex_text.h"
#include "numeric/determinant.h"
#include "numeric/numeric_fault.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <random>
#include <stdexcept>
#include <utility>
#include <vector>

namespace ferrovane {
namespace {

using Cx = std::complex<double>;
using Grid = std::vector<std::vector<Cx>>;

// Independent reference: Laplace expansion in std::complex, no texts.
Cx referenceDeterminant(const Grid& a) {
    const std::size_t n = a.size();
    if (n == 1) {
        return a[0][0];
    }
    Cx total = 0;
    for (std::size_t k = 0; k < n; ++k) {
        Grid minor;
        for (std::size_t i = 1; i < n; ++i) {
            std::vector<Cx> row;
            for (std::size_t j = 0; j < n; ++j) {
                if (j != k) {
                    row.push_back(a[i][j]);
                }
            }
            minor.push_back(row);
        }
        const Cx term = a[0][k] * referenceDeterminant(minor);
        total += k % 2 == 0 ? term : -term;
    }
    return total;
}

ComplexMatrix toTexts(const Grid& a) {
    ComplexMatrix m;
    for (std::size_t i = 0; i < a.size(); ++i) {
        for (std::size_t j = 0; j < a.size(); ++j) {
            m(static_cast<int>(i + 1), static_cast<int>(j + 1)) =
                ComplexText(a[i][j].real(), a[i][j].imag());
        }
    }
    return m;
}

Cx readBack(const std::string& text) {
    const Complex c = ReadComplex(text);
    return {c.re, c.im};
}

Grid randomGrid(std::mt19937_64& rng, int n, bool smallIntegers) {
    std::uniform_int_distribution<int> digit(-9, 9);
    std::uniform_real_distribution<double> part(-100, 100);
    Grid a(static_cast<std::size_t>(n), std::vector<Cx>(static_cast<std::size_t>(n)));
    for (auto& row : a) {
        for (auto& x : row) {
            x = smallIntegers ? Cx(digit(rng), digit(rng)) : Cx(part(rng), part(rng));
        }
    }
    return a;
}

TEST(Determinant, OrderTwoWorkedExample) {
    ComplexMatrix m;
    m(1, 1) = " 1 + j 1";
    m(1, 2) = " 2 + j 0";
    m(2, 1) = " 3 + j 0";
    m(2, 2) = " 4 + j-1";
    // P = (1 + j1)(4 - j1) = 5 + j3, Q = 6.
    EXPECT_EQ(Determinant(m, 2), "-1 + j 3");
    EXPECT_EQ(Determinant3(m, 2), "-1 + j 3");
}

TEST(Determinant, IdentityMatrices) {
    for (int n = 2; n <= 6; ++n) {
        ComplexMatrix m;
        for (int i = 1; i <= n; ++i) {
            for (int j = 1; j <= n; ++j) {
                m(i, j) = i == j ? " 1 + j 0" : " 0 + j 0";
            }
        }
        EXPECT_EQ(Determinant(m, n), " 1 + j 0") << n;
    }
}

TEST(Determinant, OrderSevenIsTooBig) {
    ComplexMatrix m;
    EXPECT_EQ(Determinant(m, 7), "");
    EXPECT_EQ(Determinant(m, 12), "");
    EXPECT_STREQ(kProblemTooBig, "Problem too big.");
}

TEST(Determinant, ZeroRowGivesZero) {
    ComplexMatrix m;
    const char* rows[3][3] = {{" 2 + j 1", " 3 + j-1", "-4 + j 2"},
                              {" 0 + j 0", " 0 + j 0", " 0 + j 0"},
                              {" 1 + j 1", " 5 + j 0", " 7 + j-3"}};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            m(i + 1, j + 1) = rows[i][j];
        }
    }
    EXPECT_EQ(Determinant(m, 3), " 0 + j 0");
}

TEST(Determinant, UnfilledElementsCountAsZero) {
    ComplexMatrix m;
    m(1, 1) = " 2 + j 0";
    m(2, 2) = " 0 + j 3";
    m(3, 3) = " 4 + j 0";
    m(4, 4) = "-1 + j 0";
    // Only the diagonal product: 2 * j3 * 4 * -1 = -j24.
    EXPECT_EQ(Determinant(m, 4), " 0 + j-24");
}

TEST(Determinant, OrdersBelowTwo) {
    ComplexMatrix m;
    m(1, 1) = " 5 + j-2";
    EXPECT_EQ(Determinant(m, 1), " 5 + j-2");
    EXPECT_EQ(Determinant(m, 0), "0 + j 0");
    EXPECT_EQ(Determinant(m, -3), "0 + j 0");
    EXPECT_EQ(Determinant(ComplexMatrix{}, 1), "0 + j 0");
    EXPECT_THROW(Determinant3(m, 4), std::invalid_argument);
}

TEST(Determinant, MalformedElementIsAFault) {
    ComplexMatrix m;
    m(1, 1) = "3+j4";
    m(1, 2) = " 1 + j 0";
    m(2, 1) = " 1 + j 0";
    m(2, 2) = " 1 + j 0";
    EXPECT_THROW(Determinant(m, 2), NumericFault);
}

TEST(Determinant, IntegerMatricesAreExact) {
    // Small whole numbers keep every intermediate text exact, so the result
    // must equal the reference exactly.
    std::mt19937_64 rng(5);
    for (int n = 2; n <= 6; ++n) {
        for (int trial = 0; trial < (n == 6 ? 5 : 20); ++trial) {
            const Grid a = randomGrid(rng, n, true);
            const Cx want = referenceDeterminant(a);
            EXPECT_EQ(readBack(Determinant(toTexts(a), n)), want) << n;
        }
    }
}

TEST(Determinant, SwappingTwoRowsFlipsTheSign) {
    std::mt19937_64 rng(9);
    for (int trial = 0; trial < 10; ++trial) {
        Grid a = randomGrid(rng, 5, true);
        const Cx before = readBack(Determinant(toTexts(a), 5));
        std::swap(a[1], a[3]);
        const Cx after = readBack(Determinant(toTexts(a), 5));
        EXPECT_EQ(after, -before);
    }
    // With fractions the texts round, so the sign flips within that rounding.
    for (int trial = 0; trial < 5; ++trial) {
        Grid a = randomGrid(rng, 5, false);
        const Cx before = readBack(Determinant5(toTexts(a)));
        std::swap(a[0], a[2]);
        const Cx after = readBack(Determinant5(toTexts(a)));
        EXPECT_LE(std::abs(after + before), 1e-12 * std::abs(before));
    }
}

// The expansion step by step with a copied minor for every column, in text
// arithmetic: the rounding of every intermediate text must come out the same.
std::string textExpansion(const ComplexMatrix& m, int order) {
    if (order == 3) {
        return Determinant3(m, 3);
    }
    std::string total = "0 + j 0";
    for (int k = 1; k <= order; ++k) {
        ComplexMatrix minor;
        for (int i = 1; i < order; ++i) {
            for (int j = 1; j < order; ++j) {
                minor(i, j) = j < k ? m(i + 1, j) : m(i + 1, j + 1);
            }
        }
        std::string term = CplxMul(textExpansion(minor, order - 1), m(1, k));
        term = CplxMul(term, k % 2 == 1 ? " 1 + j 0 " : " -1 + j 0 ");
        total = CplxAdd(total, term);
    }
    return total;
}

TEST(Determinant, SameTextsAsTheStepByStepExpansion) {
    std::mt19937_64 rng(23);
    for (int n = 4; n <= 6; ++n) {
        for (int trial = 0; trial < 3; ++trial) {
            const ComplexMatrix m = toTexts(randomGrid(rng, n, false));
            EXPECT_EQ(Determinant(m, n), textExpansion(m, n)) << n;
        }
    }
}

TEST(Determinant, AgreesWithComplexArithmeticWithinTextRounding) {
    std::mt19937_64 rng(17);
    for (int n = 2; n <= 6; ++n) {
        for (int trial = 0; trial < (n == 6 ? 4 : 25); ++trial) {
            const Grid a = randomGrid(rng, n, false);
            // The operands as their texts hold them.
            const ComplexMatrix m = toTexts(a);
            Grid held = a;
            double hadamard = 1; // bound on |det| used to scale the tolerance
            for (std::size_t i = 0; i < held.size(); ++i) {
                double rowNorm = 0;
                for (std::size_t j = 0; j < held.size(); ++j) {
                    held[i][j] = readBack(m(static_cast<int>(i + 1), static_cast<int>(j + 1)));
                    rowNorm += std::norm(held[i][j]);
                }
                hadamard *= std::sqrt(rowNorm);
            }
            const Cx want = referenceDeterminant(held);
            const Cx got = readBack(Determinant(m, n));
            EXPECT_LE(std::abs(got - want), 1e-12 * hadamard) << n << " " << got << " " << want;
        }
    }
}

} // namespace
} // namespace ferrovane
