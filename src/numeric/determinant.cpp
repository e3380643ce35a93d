#include "numeric/determinant.h"

#include "numeric/complex_text.h"

#include <array>
#include <stdexcept>

namespace ferrovane {

namespace {

// Rows and columns 1..order of a minor, as indices into the original matrix;
// element (i, j) of the minor is m(row[i], column[j]). Removing row 1 and a
// column this way gives the same elements as copying them into a minor array.
struct MatrixView {
    const ComplexMatrix* m = nullptr;
    std::array<int, ComplexMatrix::kMaxOrder + 1> row{};
    std::array<int, ComplexMatrix::kMaxOrder + 1> column{};

    explicit MatrixView(const ComplexMatrix& matrix) : m(&matrix) {
        for (int i = 0; i <= ComplexMatrix::kMaxOrder; ++i) {
            row[static_cast<std::size_t>(i)] = i;
            column[static_cast<std::size_t>(i)] = i;
        }
    }
    const std::string& operator()(int i, int j) const {
        return (*m)(row[static_cast<std::size_t>(i)], column[static_cast<std::size_t>(j)]);
    }
    // The minor without row 1 and column k.
    MatrixView minor(int order, int k) const {
        MatrixView sub = *this;
        for (int i = 1; i <= order - 1; ++i) {
            sub.row[static_cast<std::size_t>(i)] = row[static_cast<std::size_t>(i + 1)];
        }
        for (int j = 1; j <= order - 1; ++j) {
            sub.column[static_cast<std::size_t>(j)] =
                column[static_cast<std::size_t>(j < k ? j : j + 1)];
        }
        return sub;
    }
};

std::string diagonalRule(const MatrixView& m, int n);

// A minor met in the expansion always keeps the bottom rows of the matrix,
// so its set of columns names it. The expansion asks for the same minor many
// times (an order-6 expansion asks for 120 order-3 minors, of which 20
// differ); every text operation depends only on its operand texts, so each
// minor is worked out once, by the same steps, and its text reused.
struct MinorTexts {
    std::array<std::string, 1 << (ComplexMatrix::kMaxOrder + 1)> text;
    std::array<bool, 1 << (ComplexMatrix::kMaxOrder + 1)> known{};
};

unsigned columnSet(const MatrixView& m, int order) {
    unsigned set = 0;
    for (int j = 1; j <= order; ++j) {
        set |= 1u << m.column[static_cast<std::size_t>(j)];
    }
    return set;
}

// Cofactor expansion along the first row for order 4, 5 or 6; every
// intermediate value is a complex value text, so each step rounds like the
// text arithmetic does.
std::string expandFirstRow(const MatrixView& m, int order, MinorTexts& minors) {
    std::string total(kCplxEmpty);
    for (int k = 1; k <= order; ++k) {
        const MatrixView minor = m.minor(order, k);
        const unsigned set = columnSet(minor, order - 1);
        if (!minors.known[set]) {
            minors.text[set] =
                order == 4 ? diagonalRule(minor, 3) : expandFirstRow(minor, order - 1, minors);
            minors.known[set] = true;
        }
        const std::string& d = minors.text[set];
        std::string term = CplxMul(d, m(1, k));
        // (-1)^(k+1), written as a plain number between " " and " + j 0 ".
        const char* const sign = k % 2 == 1 ? " 1 + j 0 " : " -1 + j 0 ";
        term = CplxMul(term, sign);
        total = CplxAdd(total, term);
    }
    return total;
}

std::string expand(const ComplexMatrix& m, int order) {
    MinorTexts minors;
    return expandFirstRow(MatrixView(m), order, minors);
}

// Sarrus' rule: n diagonals for order 3, the single cross for order 2.
std::string diagonalRule(const MatrixView& m, int n) {
    std::string total(kCplxZero);
    const int diagonals = n == 3 ? n : 1;
    for (int d = 0; d < diagonals; ++d) {
        const int c = d + 1;
        std::string p = CplxMul(m(1, c), m(2, c % n + 1));
        const int cPrime = c < n ? n - c : n;
        std::string q = CplxMul(m(1, n + 1 - c), m(2, cPrime));
        if (n == 3) {
            const int c3 = ((d + 2) % 3) + 1;
            p = CplxMul(p, m(3, c3));
            q = CplxMul(q, m(3, 4 - c3));
        }
        total = CplxAdd(total, p);
        total = CplxSub(total, q);
    }
    return total;
}

} // namespace

std::string Determinant(const ComplexMatrix& m, int n) {
    if (n >= 7) {
        return {};
    }
    switch (n) {
    case 6:
        return Determinant6(m);
    case 5:
        return Determinant5(m);
    case 4:
        return Determinant4(m);
    default:
        return Determinant3(m, n);
    }
}

std::string Determinant6(const ComplexMatrix& m) {
    return expand(m, 6);
}

std::string Determinant5(const ComplexMatrix& m) {
    return expand(m, 5);
}

std::string Determinant4(const ComplexMatrix& m) {
    return expand(m, 4);
}

std::string Determinant3(const ComplexMatrix& m, int n) {
    // Orders the callers never ask for: the single element itself, or zero.
    if (n == 1) {
        return CplxMul(m(1, 1), " 1 + j 0");
    }
    if (n < 1) {
        return std::string(kCplxEmpty);
    }
    if (n > 3) {
        throw std::invalid_argument("Determinant3 takes order 2 or 3");
    }
    return diagonalRule(MatrixView(m), n);
}

} // namespace ferrovane
