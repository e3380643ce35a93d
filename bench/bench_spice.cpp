// Netlists: building one from each calculator's worked example, and the
// part of "Check with ngspice" that is ours (netlist, text, reading the
// output) against ngspice's own run.
#include <benchmark/benchmark.h>

#include "calculators/catalogue.h"
#include "shell/ngspice.h"
#include "shell/run.h"

namespace {

using namespace ferrovane;

// The form after Calculate on the calculator's example.
Form calculated(const Calculator& calc) {
    ScratchDir dir;
    seedExamples(dir.path());
    const DataDir data(dir.path());
    CalculatorRun run(calc, data, RunStart::Saved);
    run.apply({RunAction::Kind::Press, "CmdCalc", {}});
    return run.form();
}

void BM_Netlist(benchmark::State& state, const Calculator* calc) {
    const Form form = calculated(*calc);
    for (auto _ : state) {
        const NetlistResult built = netlistOf(*calc, form);
        if (!built.netlist)
            return state.SkipWithError(built.why.c_str());
        benchmark::DoNotOptimize(renderNetlist(*built.netlist, {"2026-12-07", ""}));
    }
}

// ngspice's run alone, as the check starts it.
void BM_NgspiceRun(benchmark::State& state, const Calculator* calc) {
    const NetlistResult built = netlistOf(*calc, calculated(*calc));
    const std::string text = renderNetlist(*built.netlist, {"2026-12-07", ""});
    for (auto _ : state)
        benchmark::DoNotOptimize(runSpice(text));
}

// The whole check: netlist, text, ngspice, comparison.
void BM_Check(benchmark::State& state, const Calculator* calc) {
    const Form form = calculated(*calc);
    for (auto _ : state) {
        const NetlistResult built = netlistOf(*calc, form);
        const std::string text = renderNetlist(*built.netlist, {"2026-12-07", ""});
        benchmark::DoNotOptimize(checkWithSpice(*built.netlist, text));
    }
}

const int registered = [] {
    for (const CatalogueEntry& e : catalogue())
        if (e.calculator().netlist)
            benchmark::RegisterBenchmark(("Netlist/" + e.id).c_str(), BM_Netlist, &e.calculator())
                ->Unit(benchmark::kMicrosecond);
    const Calculator* l = &findCalculator("l-network")->calculator();
    benchmark::RegisterBenchmark("NgspiceRun/l-network", BM_NgspiceRun, l)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Check/l-network", BM_Check, l)->Unit(benchmark::kMillisecond);
    return 0;
}();

} // namespace

BENCHMARK_MAIN();
