#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "calculators/catalogue.h"
#include "calculators/equations/simultaneous.h"
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

// A button of the window's own (a second calculation) on the example.
void BM_Button(benchmark::State& state, const Calculator& (*calculator)(), std::string button) {
    const Calculator& calc = calculator();
    SilentDialogs dialogs;
    CalcEnv env{dialogs, exampleDir()};
    const Form opened = Form_Load(calc, env);
    for (auto _ : state) {
        Form form = opened;
        pressButton(calc, form, env, button);
        benchmark::DoNotOptimize(form);
    }
}

// Opening the window: its file read and its own set-up (a graph drawn).
void BM_Open(benchmark::State& state, const Calculator& (*calculator)()) {
    const Calculator& calc = calculator();
    SilentDialogs dialogs;
    CalcEnv env{dialogs, exampleDir()};
    for (auto _ : state)
        benchmark::DoNotOptimize(Form_Load(calc, env));
}

// The loop equations at their largest: six loops (seven order-6 determinants)
// by each input method, from the example file's six-loop entries.
void BM_SixLoops(benchmark::State& state, const char* option, const char* loops) {
    const Calculator& calc = simultaneousEquations();
    SilentDialogs dialogs;
    CalcEnv env{dialogs, exampleDir()};
    Form opened = Form_Load(calc, env);
    selectOption(calc, opened, env, option);
    chooseCombo(calc, opened, env, loops, "6");
    for (auto _ : state) {
        Form form = opened;
        benchmark::DoNotOptimize(CmdCalc_Click(calc, form, env));
        if (form.list("List1").size() < 7)
            state.SkipWithError("no six-loop solution");
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
    benchmark::RegisterBenchmark("SixLoops/Equations", BM_SixLoops, "OpEqu", "ComNum1")
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("SixLoops/Impedances", BM_SixLoops, "OpImp", "ComNum2")
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("SixLoops/Components", BM_SixLoops, "OpCmp", "ComNum3")
        ->Unit(benchmark::kMicrosecond);
    for (const CatalogueEntry& entry : catalogue()) {
        if (!entry.calculator)
            continue;
        benchmark::RegisterBenchmark(("Calculate/" + entry.button).c_str(), BM_Calculate,
                                     entry.calculator)
            ->Unit(benchmark::kMicrosecond);
        for (const auto& [name, handler] : entry.calculator().buttons)
            benchmark::RegisterBenchmark(("Button/" + entry.button + "/" + name).c_str(), BM_Button,
                                         entry.calculator, name)
                ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("Open/" + entry.button).c_str(), BM_Open, entry.calculator)
            ->Unit(benchmark::kMicrosecond);
    }
    return true;
}();

} // namespace

BENCHMARK_MAIN();
