// The named-design reader over arbitrary bytes. It refuses with one message
// naming the file, or accepts a design that is written and read back the
// same and that loads into its calculator's form without an escaping
// exception. Any text as a title, notes or explore line reads back cleaned.
#include "calculators/catalogue.h"
#include "fuzz_support.h"
#include "shell/named_design.h"
#include "shell/run.h"
#include "shell/window_cycle.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace ferrovane;

namespace {

// The run's one folder stays empty: loading reads nothing else of it.
using fuzz::folder;
using fuzz::require;

void check(std::string_view bytes) {
    const DesignRead read = parseDesign(bytes, "fuzz.fvd");
    if (!read) {
        require(read.error.starts_with("\"fuzz.fvd\" ") && read.error.size() < 400);
        return;
    }
    require(read.error.empty());
    const DesignRead again = parseDesign(designText(*read.design), "again.fvd");
    require(again && *again.design == *read.design);
    const CatalogueEntry* entry = findCalculator(read.design->calculator);
    require(entry != nullptr && entry->id == read.design->calculator);
    RecordingDialogs dialogs(Answer::No); // shows nothing; questions are answered No
    CalcEnv env{dialogs, folder()};
    Form form = makeForm(entry->calculator());
    loadDesign(*entry, form, env, *read.design, "fuzz.fvd");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        check(bytes);
        // Behind a good first line the fuzzer reaches the header at once.
        check(std::string(kDesignMagic) + " 1\r\n" + std::string(bytes));

        const Calculator& calc = findCalculator("reactance")->calculator();
        const std::string text(bytes);
        const NamedDesign design{"reactance", text, text,
                                 text,        text, fileLines(calc, makeForm(calc))};
        const DesignRead back = parseDesign(designText(design), "text.fvd");
        require(back && back.design->title == headerText(text) &&
                back.design->notes == headerText(text));
    } catch (...) {
        std::abort();
    }
    return 0;
}
