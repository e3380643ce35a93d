// The named-design reader over arbitrary bytes. It refuses with one message
// naming the file, or accepts a design that is written and read back the
// same and that loads into its calculator's form without an escaping
// exception. Any text as a title, notes or explore line reads back cleaned.
#include "calculators/catalogue.h"
#include "shell/named_design.h"
#include "shell/window_cycle.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

using namespace ferrovane;

namespace {

// Says nothing and answers No.
class SilentDialogs : public Dialogs {
public:
    Answer show(const Message& m) override {
        return m.buttons == MessageButtons::Ok ? Answer::Ok : Answer::No;
    }
};

// An empty folder for the whole run: loading reads nothing else of it.
const DataDir& folder() {
    static const DataDir dir = [] {
        static const auto path = std::filesystem::temp_directory_path() /
                                 ("ferrovane-fuzz-design-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        });
        return DataDir(path);
    }();
    return dir;
}

void require(bool ok) {
    if (!ok) {
        std::abort();
    }
}

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
    SilentDialogs dialogs;
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
