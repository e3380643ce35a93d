#include <benchmark/benchmark.h>

#include "calculators/catalogue.h"
#include "shell/explore.h"

namespace {

using namespace ferrovane;

// The example form of a calculator over a seeded folder of its own.
struct ExampleBase {
    explicit ExampleBase(const std::string& id) : dir(scratch.path()) {
        seedExamples(scratch.path());
        calc = &findCalculator(id)->calculator();
        form = CalculatorRun(*calc, dir, RunStart::Saved).form();
    }
    ExploreBase base() const { return {calc, form, &dir}; }
    ScratchDir scratch;
    DataDir dir;
    const Calculator* calc = nullptr;
    Form form;
};

// The first box a user can type in that holds a number other than zero.
std::string sweptBox(const ExampleBase& e) {
    for (const BoxSpec& b : boxesOf(*e.calc))
        if (!b.readOnly && e.form.visible(b.name) && e.form.enabled(b.name) &&
            e.form.number(b.name) != 0)
            return b.name;
    return {};
}

// 200 points from 0.9 to 1.1 times the example's value of its first input.
void BM_Sweep(benchmark::State& state, std::string id, int points) {
    const ExampleBase e(id);
    const std::string box = sweptBox(e);
    if (box.empty())
        return state.SkipWithError("no input to sweep");
    const double v = e.form.number(box);
    const SweepRequest r{box, 0.9 * v, 1.1 * v, points, false, {}};
    for (auto _ : state) {
        Progress p;
        benchmark::DoNotOptimize(runSweep(e.base(), r, p));
    }
}

void BM_MonteCarlo(benchmark::State& state, std::string id, int runs) {
    const ExampleBase e(id);
    ToleranceRequest r;
    r.inputs = {{sweptBox(e), 5}};
    r.runs = runs;
    for (auto _ : state) {
        Progress p;
        benchmark::DoNotOptimize(runTolerance(e.base(), r, p));
    }
}

int registerAll() {
    for (const auto& e : catalogue()) {
        const int points = e.id == "filter-sim" ? 50 : 200;
        benchmark::RegisterBenchmark(("Sweep" + std::to_string(points) + "/" + e.id).c_str(),
                                     BM_Sweep, e.id, points)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("MonteCarlo1000/pi-network-lossy", BM_MonteCarlo,
                                 "pi-network-lossy", 1000)
        ->Unit(benchmark::kMillisecond);
    return 0;
}

const int registered = registerAll();

} // namespace

BENCHMARK_MAIN();
