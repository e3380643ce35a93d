#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "calculators/catalogue.h"
#include "calculators/power/filter_sim.h"
#include "shell/example_files.h"
#include "shell/window_cycle.h"

namespace {

using namespace ferrovane;

// Answers every message with OK, showing nothing.
class SilentDialogs : public Dialogs {
public:
    Answer show(const Message&) override { return Answer::Ok; }
};

// A data directory holding the example files, for as long as the program runs.
const DataDir& exampleDir() {
    static const DataDir dir = [] {
        auto path = std::filesystem::temp_directory_path() / "ferrovane-bench";
        std::filesystem::create_directories(path);
        DataDir d(path);
        RestoreExamples(d);
        return d;
    }();
    return dir;
}

// Calculate on the example problem, from the form as the window opens with it.
void BM_Calculate(benchmark::State& state, const Calculator& (*calculator)()) {
    const Calculator& calc = calculator();
    SilentDialogs dialogs;
    CalcEnv env{dialogs, exampleDir()};
    const Form opened = Form_Load(calc, env);
    for (auto _ : state) {
        Form form = opened;
        benchmark::DoNotOptimize(CmdCalc_Click(calc, form, env));
    }
}

// The filter simulation alone, both passes with the graph's traces and
// decoration, on the example and on a run of 1000 s.
void BM_FilterSimulation(benchmark::State& state, double seconds) {
    SilentDialogs dialogs;
    CalcEnv env{dialogs, exampleDir()};
    FilterInputs in = filterInputs(Form_Load(filterSim(), env));
    in.tTotal = seconds;
    for (auto _ : state) {
        Progress progress;
        FilterRun run;
        simulateFilter(in, progress, run);
        decorateFilterGraph(in, env.textMetrics(), run.graph);
        benchmark::DoNotOptimize(run.graph.items.data());
    }
}
BENCHMARK_CAPTURE(BM_FilterSimulation, Example, 4.0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FilterSimulation, Seconds1000, 1000.0)->Unit(benchmark::kMillisecond);

const bool registered = [] {
    for (const CatalogueEntry& entry : catalogue())
        if (entry.calculator)
            benchmark::RegisterBenchmark(("Calculate/" + entry.button).c_str(), BM_Calculate,
                                         entry.calculator)
                ->Unit(benchmark::kMicrosecond);
    return true;
}();

} // namespace

BENCHMARK_MAIN();
