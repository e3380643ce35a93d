#pragma once

#include <array>
#include <string>

namespace ferrovane {

// A square matrix of complex value texts, addressed from 1 like the loop
// equations it holds: m(row, column) with row and column from 1 to 6.
// Elements never set are empty texts, which the products count as zero.
class ComplexMatrix {
public:
    static constexpr int kMaxOrder = 6;
    std::string& operator()(int row, int column) { return cells_.at(row).at(column); }
    const std::string& operator()(int row, int column) const { return cells_.at(row).at(column); }

private:
    // Every std::string starts empty without an initializer; clang 14 crashes
    // on a brace initializer here.
    std::array<std::array<std::string, kMaxOrder + 1>, kMaxOrder + 1> cells_;
};

// What Determinant returns for an order of 7 or more, and the message to show.
inline constexpr const char* kProblemTooBig = "Problem too big.";

// Determinant of rows and columns 1..n as a complex value text. For n >= 7
// the result is the empty text; the caller shows kProblemTooBig. Orders
// below 2: n = 1 gives m(1, 1) rewritten ("0 + j 0" when it is empty or one
// character), n <= 0 gives "0 + j 0". An element that cannot be read as a
// complex value text throws NumericFault.
std::string Determinant(const ComplexMatrix& m, int n);
std::string Determinant6(const ComplexMatrix& m);
std::string Determinant5(const ComplexMatrix& m);
std::string Determinant4(const ComplexMatrix& m);
// Diagonal rule for n = 2 or 3 (n below 2 as for Determinant; n above 3
// throws std::invalid_argument).
std::string Determinant3(const ComplexMatrix& m, int n);

} // namespace ferrovane
