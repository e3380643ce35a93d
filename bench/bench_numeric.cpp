#include "numeric/complex_text.h"
#include "numeric/determinant.h"
#include "numeric/eng_text.h"

#include <benchmark/benchmark.h>

#include <array>
#include <string>

namespace {

using namespace ferrovane;

void BM_FormatEng(benchmark::State& state) {
    const std::array<double, 8> values = {4700, 0.0153, -455000, 50, 1e-15, 9.999e12, 1.2, 3.3e-9};
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(FormatEng(values[i++ % values.size()]));
    }
}
BENCHMARK(BM_FormatEng);

void BM_ReadNumber(benchmark::State& state) {
    const std::array<std::string, 6> texts = {" 4.700e+3  ", " 15.30e-3  ", "-455.0e+3  ",
                                              "12.5",        " .5",         " 8.33333333333333"};
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadNumber(texts[i++ % texts.size()]));
    }
}
BENCHMARK(BM_ReadNumber);

void BM_PlainNumber(benchmark::State& state) {
    const std::array<double, 4> values = {0.5, 25.0 / 3, 1.5e-7, -1234.5678901234};
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(PlainNumber(values[i++ % values.size()], LeadingBlank::Yes));
    }
}
BENCHMARK(BM_PlainNumber);

void BM_CplxDiv(benchmark::State& state) {
    const std::string a = " 3.14159265358979 + j-2.71828182845905";
    const std::string b = " 47.1 + j 1234.5678";
    for (auto _ : state) {
        benchmark::DoNotOptimize(CplxDiv(a, b));
    }
}
BENCHMARK(BM_CplxDiv);

// A full order-6 determinant of the kind the loop-equation window solves:
// impedances with fractions, so every intermediate text carries 15 digits.
void BM_Determinant6(benchmark::State& state) {
    ComplexMatrix m;
    for (int i = 1; i <= 6; ++i) {
        for (int j = 1; j <= 6; ++j) {
            const double re = i == j ? 50.0 + i : 1.0 / (i + j);
            const double im = (i - j) * 13.7 + 0.1 * i * j;
            m(i, j) = ComplexText(re, im);
        }
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(Determinant(m, 6));
    }
    state.SetLabel(Determinant(m, 6));
}
BENCHMARK(BM_Determinant6)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
