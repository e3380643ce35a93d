// One catalogued calculator, picked by the first byte, opens over the rest of
// the bytes as its data file: no exception escapes and no box, label or list
// line shows nan or inf. Then the window cycle: closed and opened again, a
// box saved as engineering text reads as the number it read before, to the
// text's four digits, and from the second Close on the file stays the same
// byte for byte.
#include "fuzz_support.h"
#include "shell/window_cycle.h"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

using namespace ferrovane;
using namespace ferrovane::fuzz;

namespace {

// Says nothing and answers No.
class SilentDialogs : public Dialogs {
public:
    Answer show(const Message& m) override {
        return m.buttons == MessageButtons::Ok ? Answer::Ok : Answer::No;
    }
};

bool showsNonFinite(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    for (const char* word : {"nan", "inf"}) {
        for (std::size_t i = text.find(word); i != std::string::npos; i = text.find(word, i + 1)) {
            const bool before = i > 0 && std::isalpha(static_cast<unsigned char>(text[i - 1]));
            const bool after =
                i + 3 < text.size() && std::isalpha(static_cast<unsigned char>(text[i + 3]));
            if (!before && !after) {
                return true;
            }
        }
    }
    return false;
}

// A window opened over its file, and the file's lines as its Close wrote
// them.
struct Cycle {
    Form opened;
    std::optional<std::vector<std::string>> written;
};

// Opens the window over its file, checks what it shows and closes it.
Cycle openAndClose(const Calculator& calc, CalcEnv& env, bool inputShowsNonFinite) {
    Cycle cycle{Form_Load(calc, env), std::nullopt};
    for (const auto& [name, control] : cycle.opened.controls()) {
        require(!showsNonFinite(control.text) || inputShowsNonFinite);
    }
    for (const auto& name : cycle.opened.lists()) {
        for (const auto& line : cycle.opened.list(name)) {
            require(!showsNonFinite(line));
        }
    }
    Form closing = cycle.opened;
    require(CmdClose_Click(calc, closing, env) == CloseOutcome::Saved);
    cycle.written = env.files.readLines(calc.dataFile);
    require(cycle.written.has_value());
    return cycle;
}

// A box saved as engineering text reads, once saved and opened again, as the
// number it read as before, to the text's four digits (zero at or below
// 9.9995e-16, and beyond its range to the fifteen of plain number text).
void checkSavedNumbers(const Calculator& calc, const Form& before, const Form& after) {
    for (const FileField& field : calc.fields) {
        if (field.kind != FieldKind::Eng) {
            continue;
        }
        const double was = before.number(field.name);
        const double now = after.number(field.name);
        if (!std::isfinite(was) || std::fabs(was) <= 9.9995e-16) {
            require(now == (std::isfinite(was) ? 0 : was));
        } else {
            require(std::fabs(now - was) <= 5.0001e-4 * std::fabs(was));
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const auto& entries = entriesWithFiles();
    const Calculator& calc = entries[data[0] % entries.size()]->calculator();
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    SilentDialogs dialogs;
    CalcEnv env{dialogs, folder()};
    put(calc.dataFile, bytes);
    try {
        const Cycle first = openAndClose(calc, env, showsNonFinite(bytes));
        const Cycle second = openAndClose(calc, env, true);
        checkSavedNumbers(calc, first.opened, second.opened);
        // From the second Close on, the file opens and closes into itself.
        require(openAndClose(calc, env, true).written == second.written);
    } catch (...) {
        std::abort();
    }
    std::filesystem::remove(folder().resolve(calc.dataFile));
    return 0;
}
