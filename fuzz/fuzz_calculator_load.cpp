// One catalogued calculator, picked by the first byte, opens over the rest of
// the bytes as its data file: no exception escapes and no box, label or list
// line shows nan or inf. Then the window cycle, three times over: the line
// Close writes for a box saved as engineering text reads back as the box's
// number, to the text's four digits, and from the second Close on the file
// stays the same byte for byte.
#include "fuzz_support.h"
#include "numeric/eng_text.h"
#include "shell/window_cycle.h"

#include <cctype>
#include <cmath>
#include <cstdint>
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

// The line Close wrote for a box saved as engineering text reads as the
// number the box read as, to the text's four digits (zero at or below
// 9.9995e-16, and beyond its range to the fifteen of plain number text).
void checkEngLines(const Calculator& calc, const Form& closed,
                   const std::vector<std::string>& written) {
    std::size_t line = 1; // after the flag
    for (const FileField& field : calc.fields) {
        if (field.kind == FieldKind::OptionIfAny && closed.option(field.name) == 0) {
            continue; // Close writes no line for it
        }
        require(line < written.size());
        if (field.kind == FieldKind::Eng) {
            const double was = closed.number(field.name);
            const double now = ReadNumber(written[line]);
            if (!std::isfinite(was) || std::fabs(was) <= 9.9995e-16) {
                require(now == (std::isfinite(was) ? 0 : was));
            } else {
                require(std::fabs(now - was) <= 5.0001e-4 * std::fabs(was));
            }
        }
        ++line;
    }
    require(line == written.size());
}

// Opens the window over its file, checks what it shows, closes it and gives
// the file's lines as Close wrote them.
std::vector<std::string> openAndClose(const Calculator& calc, CalcEnv& env,
                                      bool inputShowsNonFinite) {
    Form form = Form_Load(calc, env);
    for (const auto& [name, control] : form.controls()) {
        require(!showsNonFinite(control.text) || inputShowsNonFinite);
    }
    for (const auto& name : form.lists()) {
        for (const auto& line : form.list(name)) {
            require(!showsNonFinite(line));
        }
    }
    require(CmdClose_Click(calc, form, env) == CloseOutcome::Saved);
    const auto written = env.files.readLines(calc.dataFile, std::size_t{1} << 16);
    require(written.has_value());
    checkEngLines(calc, form, *written);
    return *written;
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
        openAndClose(calc, env, showsNonFinite(bytes));
        // From the second Close on, the file opens and closes into itself.
        const auto second = openAndClose(calc, env, true);
        require(openAndClose(calc, env, true) == second);
    } catch (...) {
        std::abort();
    }
    std::filesystem::remove(folder().resolve(calc.dataFile));
    return 0;
}
