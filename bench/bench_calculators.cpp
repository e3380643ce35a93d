#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "calculators/catalogue.h"
#include "calculators/equations/simultaneous.h"
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

// Opening the window: several hundred controls declared and the file read.
void BM_OpenSixLoopWindow(benchmark::State& state) {
    SilentDialogs dialogs;
    CalcEnv env{dialogs, exampleDir()};
    for (auto _ : state)
        benchmark::DoNotOptimize(Form_Load(simultaneousEquations(), env));
}

const bool registered = [] {
    benchmark::RegisterBenchmark("SixLoops/Equations", BM_SixLoops, "OpEqu", "ComNum1")
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("SixLoops/Impedances", BM_SixLoops, "OpImp", "ComNum2")
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("SixLoops/Components", BM_SixLoops, "OpCmp", "ComNum3")
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("Open/Cmd5x5RjX", BM_OpenSixLoopWindow)
        ->Unit(benchmark::kMicrosecond);
    for (const CatalogueEntry& entry : catalogue())
        if (entry.calculator)
            benchmark::RegisterBenchmark(("Calculate/" + entry.button).c_str(), BM_Calculate,
                                         entry.calculator)
                ->Unit(benchmark::kMicrosecond);
    return true;
}();

} // namespace

BENCHMARK_MAIN();
