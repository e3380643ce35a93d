// What the scenario file cannot say: random systems and ladders, solved by
// Cramer's rule over the text determinants and checked by other means.
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

struct Window : TestWindow {
    explicit Window(const std::string& steps) : TestWindow(simultaneousEquations(), steps) {}
    void set(const std::string& box, double value) {
        editBox(*calc, form, env, box, PlainNumber(value));
    }
    void loops(int method, int n) {
        chooseCombo(*calc, form, env, "ComNum" + std::to_string(method), std::to_string(n));
    }
    // Loop current k (from 0) as listed, read back from its fixed columns.
    C current(int k) const {
        const std::string& line = list().at(static_cast<std::size_t>(k));
        const double im = ReadNumber(line.substr(19, 10));
        return {ReadNumber(line.substr(5, 11)), line.substr(16, 3) == "-j " ? -im : im};
    }
};

// Random well-conditioned systems of every order: put back into M I + K = 0,
// the listed currents leave no more than their four shown digits explain.
TEST(Simultaneous, ListedCurrentsSatisfyRandomSystems) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> u(-50, 50);
    for (int n = 2; n <= 6; ++n) {
        for (int trial = 0; trial < 4; ++trial) {
            Window w("OpEqu");
            w.loops(1, n);
            std::vector<std::vector<C>> m(n, std::vector<C>(n));
            std::vector<C> k(n);
            for (int r = 0; r < n; ++r) {
                for (int c = 0; c < n; ++c) {
                    // A heavy diagonal keeps the system well away from singular.
                    m[r][c] = C(std::round(u(rng)), std::round(u(rng))) + (r == c ? 300. : 0.);
                    w.set(indexed("TxtR", 6 * r + c), m[r][c].real());
                    w.set(indexed("TxtX", 6 * r + c), m[r][c].imag());
                }
                k[r] = C(u(rng), u(rng));
                w.set(indexed("TxtK", r), k[r].real());
                w.set(indexed("TxtKX", r), k[r].imag());
            }
            ASSERT_TRUE(w.calculate());
            ASSERT_EQ(w.list().size(), n + 1u);
            for (int r = 0; r < n; ++r) {
                C residual = k[r];
                double size = 0;
                for (int c = 0; c < n; ++c) {
                    residual += m[r][c] * w.current(c);
                    size += std::abs(m[r][c]) * std::abs(w.current(c));
                }
                EXPECT_LE(std::abs(residual), 1e-3 * size) << n << " loops, equation " << r + 1;
            }
        }
    }
}

// Random ladders entered twice: as impedances, and as components chosen to
// give the same impedances at 1 MHz (X = wL - 1/wC).
TEST(Simultaneous, ImpedanceAndComponentLaddersAgree) {
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> r(1, 1000), x(-1000, 1000);
    const double w = 2 * std::numbers::pi * 1e6;
    for (int n = 2; n <= 6; ++n) {
        Window win("OpImp Text4=1e6 TxtK(6)=3 TxtK(13)=3");
        win.loops(2, n);
        win.loops(3, n);
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
        std::vector<C> impedances;
        for (int k = 0; k < n; ++k)
            impedances.push_back(win.current(k));
        win.select("OpCmp");
        ASSERT_TRUE(win.calculate());
        for (int k = 0; k < n; ++k)
            for (const auto& [a, b] : {std::pair{win.current(k).real(), impedances[k].real()},
                                       {win.current(k).imag(), impedances[k].imag()}})
                EXPECT_NEAR(a, b, 1e-3 * std::abs(b) + 1e-10 * std::abs(impedances[k]))
                    << n << " loops, current " << k + 1;
        EXPECT_TRUE(win.dialogs.shown.empty());
    }
}

} // namespace
} // namespace ferrovane::testing
