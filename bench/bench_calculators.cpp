#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "calculators/catalogue.h"
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
