// What the scenario file cannot say: random systems and ladders of every
// order, solved by Cramer's rule over the text determinants and checked by
// putting the currents back into their equations.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <random>

#include "calculators/equations/simultaneous.h"
#include "numeric/eng_text.h"
#include "support/test_window.h"

namespace ferrovane::testing {
namespace {

using C = std::complex<double>;
using Matrix = std::vector<std::vector<C>>;

struct Window : TestWindow {
    explicit Window(const std::string& steps) : TestWindow(simultaneousEquations(), steps) {}
    void set(const std::string& box, double value) {
        editBox(*calc, form, env, box, PlainNumber(value));
    }
    // A complex value into its real and imaginary boxes of one index.
    void setPair(const char* re, const char* im, int i, C value) {
        set(indexed(re, i), value.real());
        set(indexed(im, i), value.imag());
    }
    void loops(int method, int n) {
        chooseCombo(*calc, form, env, "ComNum" + std::to_string(method), std::to_string(n));
    }
    // Loop current k (from 0) as listed, read back from its fixed columns.
    C current(std::size_t k) const {
        const std::string& line = list().at(k);
        const double im = ReadNumber(line.substr(19, 10));
        return {ReadNumber(line.substr(5, 11)), line.substr(16, 3) == "-j " ? -im : im};
    }
};

// Puts the listed currents back into M I + K = 0: they must leave no more
// than their four shown digits explain.
void expectSolved(const Window& w, const Matrix& m, const std::vector<C>& k) {
    const std::size_t n = k.size();
    ASSERT_GE(w.list().size(), n + 1);
    EXPECT_TRUE(w.dialogs.shown.empty());
    for (std::size_t r = 0; r < n; ++r) {
        C residual = k[r];
        double size = 0;
        for (std::size_t c = 0; c < n; ++c) {
            residual += m[r][c] * w.current(c);
            size += std::abs(m[r][c]) * std::abs(w.current(c));
        }
        EXPECT_LE(std::abs(residual), 1e-3 * size) << n << " loops, equation " << r + 1;
    }
}

// Random well-conditioned systems of every order, solved by Cramer's rule
// over the text determinants.
TEST(Simultaneous, ListedCurrentsSatisfyRandomSystems) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> u(-50, 50);
    for (int n = 2; n <= 6; ++n) {
        for (int trial = 0; trial < 4; ++trial) {
            Window w("OpEqu");
            w.loops(1, n);
            Matrix m(n, std::vector<C>(n));
            std::vector<C> k(n);
            for (int r = 0; r < n; ++r) {
                for (int c = 0; c < n; ++c) {
                    // A heavy diagonal keeps the system well away from singular.
                    m[r][c] = C(std::round(u(rng)), std::round(u(rng))) + (r == c ? 300. : 0.);
                    w.setPair("TxtR", "TxtX", 6 * r + c, m[r][c]);
                }
                k[r] = C(u(rng), u(rng));
                w.setPair("TxtK", "TxtKX", r, k[r]);
            }
            w.calculate();
            expectSolved(w, m, k);
        }
    }
}

// Random ladders of every order, entered as impedances and as components
// at 1 MHz (X = wL - 1/wC), with a random source in every shunt arm. By
// Kirchhoff, loop m: (Z(2m-2) + Z(2m-1) + Z(2m)) Im - Z(2m-2) Im-1 -
// Z(2m) Im+1 = E(2m-2) - E(2m).
TEST(Simultaneous, ListedCurrentsSatisfyRandomLadders) {
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> u(1, 1000);
    const double w = 2 * std::numbers::pi * 1e6;
    for (const bool parts : {false, true}) {
        for (int n = 2; n <= 6; ++n) {
            Window win(parts ? "OpCmp Text4=1e6" : "OpImp");
            win.loops(parts ? 3 : 2, n);
            std::vector<C> z(2 * n + 1), e(n + 1);
            for (int b = 1; b <= 2 * n; ++b) {
                const double r = std::round(u(rng)), l = u(rng) * 1e-6, c = u(rng) * 1e-12;
                z[b] = parts ? C(r, w * l - 1 / (w * c)) : C(r, std::round(u(rng)) - 500);
                if (parts) {
                    win.set(indexed("TxtRLC", 4 * b - 3), r);
                    win.set(indexed("TxtRLC", 4 * b - 2), l);
                    win.set(indexed("TxtRLC", 4 * b - 1), c);
                } else {
                    win.set(indexed("TxtZ", 5 * b - 4), r);
                    win.set(indexed("TxtZ", 5 * b - 2), z[b].imag());
                }
            }
            Matrix m(n, std::vector<C>(n));
            std::vector<C> k(n);
            for (int i = 0; i <= n; ++i) {
                e[i] = C(u(rng), u(rng));
                win.setPair("TxtK", "TxtKX", (parts ? 13 : 6) + i, e[i]);
            }
            for (int i = 1; i <= n; ++i) {
                m[i - 1][i - 1] = z[2 * i - 2] + z[2 * i - 1] + z[2 * i];
                if (i > 1)
                    m[i - 1][i - 2] = -z[2 * i - 2];
                if (i < n)
                    m[i - 1][i] = -z[2 * i];
                k[i - 1] = e[i] - e[i - 1];
            }
            win.calculate();
            expectSolved(win, m, k);
        }
    }
}

} // namespace
} // namespace ferrovane::testing
