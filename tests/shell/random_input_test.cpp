// Every calculator of the catalogue driven through its window by a hostile
// user: nasty texts and values near the example typed into the boxes,
// options, checks, drop-downs and buttons clicked, Clear, Load, Close and
// reopen (sometimes over a damaged file), questions answered at random.
// After every action no exception has escaped, nothing shows nan or inf, and
// a numeric fault has left the form as it was.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include <unistd.h>

#include "calculators/catalogue.h"
#include "numeric/eng_text.h"
#include "support/recording_printer.h"
#include "support/test_window.h"

namespace ferrovane {
namespace {

// A few thousand actions per calculator; fewer under the sanitizers, which
// run the same walk some ten times slower. FERROVANE_RANDOM_ACTIONS overrides.
int actionsPerCalculator() {
    if (const char* n = std::getenv("FERROVANE_RANDOM_ACTIONS"))
        return std::atoi(n);
#if defined(__SANITIZE_ADDRESS__)
    return 1000;
#else
    return 3000;
#endif
}

const std::vector<std::string> kNastyTexts = {"",
                                              " ",
                                              "   ",
                                              "0",
                                              "-0",
                                              "-1",
                                              "-4.7k",
                                              "1e308",
                                              "-1e308",
                                              "1e-320",
                                              "1E+400",
                                              "nan",
                                              "NaN",
                                              "inf",
                                              "-inf",
                                              "4.7k",
                                              "1,5",
                                              "1.5.5",
                                              "e",
                                              "-",
                                              ".",
                                              "1e",
                                              "2 M",
                                              "100 pF",
                                              "\t7",
                                              "3 + j 4",
                                              std::string(60, '9'),
                                              std::string(400, '7') + ".5",
                                              "\xCE\xA9\xCE\xBC\xCE\xAD",
                                              "\xE6\x95\xB0\xE5\xAD\x97",
                                              "1\r\n2"};

// Answers every question at random and keeps every message.
class RandomDialogs : public Dialogs {
public:
    explicit RandomDialogs(std::mt19937& rng) : rng_(rng) {}
    Answer show(const Message& m) override {
        shown.push_back(m.text);
        if (m.buttons == MessageButtons::Ok)
            return Answer::Ok;
        return rng_() % 2 ? Answer::Yes : Answer::No;
    }
    std::vector<std::string> shown;

private:
    std::mt19937& rng_;
};

// A control the user can act on, with the frames that hold it (a hidden
// frame hides its children).
struct Reachable {
    enum Kind { Box, Option, Check, Combo, Button } kind;
    std::string name;
    std::vector<std::string> frames;
    std::vector<std::string> items; // a drop-down's list
};

void collect(const std::vector<ControlSpec>& items, const std::vector<std::string>& frames,
             std::vector<Reachable>& out) {
    for (const ControlSpec& item : items) {
        std::visit(
            [&](const auto& c) {
                using T = std::decay_t<decltype(c)>;
                if constexpr (std::is_same_v<T, BoxSpec>) {
                    out.push_back({Reachable::Box, c.name, frames, {}});
                } else if constexpr (std::is_same_v<T, GroupSpec>) {
                    for (const auto& option : c.options)
                        out.push_back({Reachable::Option, option.first, frames, {}});
                } else if constexpr (std::is_same_v<T, CheckSpec>) {
                    out.push_back({Reachable::Check, c.name, frames, {}});
                } else if constexpr (std::is_same_v<T, ComboSpec>) {
                    out.push_back({Reachable::Combo, c.name, frames, c.items});
                } else if constexpr (std::is_same_v<T, ButtonSpec>) {
                    out.push_back({Reachable::Button, c.name, frames, {}});
                } else if constexpr (std::is_same_v<T, std::shared_ptr<FrameSpec>>) {
                    auto inner = frames;
                    inner.push_back(c->name);
                    collect(c->children, inner, out);
                } else if constexpr (std::is_same_v<T, std::shared_ptr<GridSpec>>) {
                    collect(c->cells, frames, out);
                }
            },
            item);
    }
}

std::vector<Reachable> reachableControls(const FormSpec& desc) {
    std::vector<Reachable> out;
    for (const auto* region : {&desc.left, &desc.right, &desc.bottom})
        collect(*region, {}, out);
    collect(std::vector<ControlSpec>(desc.buttons.begin(), desc.buttons.end()), {}, out);
    if (desc.buttons.empty())
        for (const ButtonSpec& b : standardButtons(desc))
            out.push_back({Reachable::Button, b.name, {}, {}});
    return out;
}

bool canUse(const Form& form, const Reachable& r) {
    for (const auto& frame : r.frames)
        if (!form.visible(frame) || !form.enabled(frame))
            return false;
    return form.enabled(r.name) && form.visible(r.name) &&
           !(r.kind == Reachable::Box && form.locked(r.name));
}

// Whether a text shows a number that is not finite: "nan", "inf" or
// "infinity" as a word of its own, in any letter case.
bool showsNonFinite(const std::string& text) {
    std::string t;
    for (char c : text)
        t += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    auto letter = [&](std::size_t i) {
        return i < t.size() && std::isalpha(static_cast<unsigned char>(t[i]));
    };
    for (const std::string word : {"nan", "inf", "infinity"})
        for (std::size_t i = t.find(word); i != std::string::npos; i = t.find(word, i + 1))
            if ((i == 0 || !letter(i - 1)) && !letter(i + word.size()))
                return true;
    return false;
}

std::string trimmed(const std::string& s) {
    const auto b = s.find_first_not_of(" \t");
    return b == std::string::npos ? "" : s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

// A fresh folder in memory when the system has one (every save syncs its
// file to disk, which would take most of the walk's time), else in the
// temporary directory.
struct WalkDir {
    WalkDir() {
        std::error_code ec;
        const std::filesystem::path shm = "/dev/shm";
        const auto base =
            std::filesystem::is_directory(shm, ec) ? shm : std::filesystem::temp_directory_path();
        path = base /
               ("ferrovane-walk-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        std::filesystem::create_directories(path);
    }
    ~WalkDir() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    inline static int counter = 0;
    std::filesystem::path path;
};

// The walk of one calculator.
struct Walk {
    explicit Walk(const Calculator& c, unsigned seed) : calc(c), rng(seed) {
        testing::TestWindow::copyExamplesInto(tmp.path);
        form = Form_Load(calc, env);
        for (const Reachable& r : controls)
            if (r.kind == Reachable::Box)
                example[r.name] = ReadNumber(form.text(r.name));
    }

    std::size_t pick(std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng);
    }

    std::string someText(const std::string& box) {
        if (pick(2) == 0)
            return kNastyTexts[pick(kNastyTexts.size())];
        const double factors[] = {1, 1.01, 0.99, 0.5, 2, 10, 0.1, -1, 1e6, 1e-6};
        const double v = example[box] * factors[pick(std::size(factors))];
        return pick(2) ? PlainNumber(v) : FormatEng(v);
    }

    // The data file as a crash or another program might leave it.
    void damageFile() {
        if (calc.dataFile.empty())
            return;
        const auto path = dir.resolve(calc.dataFile);
        std::string bytes;
        switch (pick(5)) {
        case 0:
            break; // empty
        case 1:
            for (int i = 0; i < 300; ++i)
                bytes += static_cast<char>(pick(256));
            break;
        case 2:
            bytes = "True\r\n" + std::string(20000, '5');
            break;
        case 3:
            bytes = std::string(40, '\0');
            break;
        default: {
            std::ifstream in(path, std::ios::binary);
            bytes.assign(std::istreambuf_iterator<char>(in), {});
            bytes.resize(bytes.size() / 2);
        }
        }
        std::ofstream(path, std::ios::binary) << bytes;
    }

    void closeAndReopen() {
        if (CmdClose_Click(calc, form, env) == CloseOutcome::KeptOpen)
            return;
        if (pick(5) == 0)
            damageFile();
        form = Form_Load(calc, env);
    }

    // One action, described in `doing`; sets `expected` when a numeric fault
    // must leave the form exactly so.
    void act(std::optional<Form>& expected) {
        doing.clear();
        std::vector<const Reachable*> usable;
        for (const Reachable& r : controls)
            if (canUse(form, r))
                usable.push_back(&r);
        const std::size_t roll = pick(100);
        if (roll < 4 || usable.empty()) {
            doing = "close and reopen";
            closeAndReopen();
            return;
        }
        if (roll < 12) {
            doing = "CmdCalc";
            expected = form;
            CmdCalc_Click(calc, form, env);
            return;
        }
        const Reachable& r = *usable[pick(usable.size())];
        switch (r.kind) {
        case Reachable::Box: {
            const std::string text = someText(r.name);
            typed[r.name].insert(trimmed(text.substr(0, text.find_first_of(",\r\n"))));
            typed[r.name].insert(trimmed(text));
            expected = form;
            expected->setText(r.name, text);
            doing = "type \"" + text + "\" into " + r.name;
            editBox(calc, form, env, r.name, text);
            if (pick(4) == 0) {
                doing += " and leave it";
                expected.reset();
                leaveBox(calc, form, env, r.name);
            }
            return;
        }
        case Reachable::Option:
            doing = "select " + r.name;
            expected = form;
            expected->setOption(form.groupOf(r.name), form.numberOf(r.name));
            selectOption(calc, form, env, r.name);
            return;
        case Reachable::Check: {
            const bool on = !form.checked(r.name);
            expected = form;
            expected->setChecked(r.name, on);
            doing = "click " + r.name;
            clickCheck(calc, form, env, r.name, on);
            return;
        }
        case Reachable::Combo: {
            const std::string text = !r.items.empty() && pick(4) != 0
                                         ? r.items[pick(r.items.size())]
                                         : kNastyTexts[pick(kNastyTexts.size())];
            typed[r.name].insert(trimmed(text));
            expected = form;
            expected->setText(r.name, text);
            doing = "choose \"" + text + "\" in " + r.name;
            chooseCombo(calc, form, env, r.name, text);
            return;
        }
        case Reachable::Button:
            doing = "press " + r.name;
            if (r.name != "CmdLoadData")
                expected = form;
            if (pressButton(calc, form, env, r.name) == ButtonOutcome::Close) {
                expected.reset();
                closeAndReopen();
            }
            return;
        }
    }

    // What is wrong with the form now, or nothing.
    std::string problem() const {
        for (const auto& [name, control] : form.controls()) {
            if (!showsNonFinite(control.text))
                continue;
            const auto it = typed.find(name);
            if (it == typed.end() || !it->second.count(trimmed(control.text)))
                return name + " shows \"" + control.text + "\"";
        }
        for (const auto& name : form.lists())
            for (const auto& line : form.list(name))
                if (showsNonFinite(line))
                    return name + " shows \"" + line + "\"";
        return {};
    }

    const Calculator& calc;
    std::mt19937 rng;
    WalkDir tmp;
    DataDir dir{tmp.path};
    RandomDialogs dialogs{rng};
    testing::RecordingPrinter printer;
    CalcEnv env{dialogs, dir, &printer};
    const std::vector<Reachable> controls = reachableControls(calc.form);
    std::map<std::string, double> example;
    std::map<std::string, std::set<std::string>> typed;
    Form form;
    std::string doing;
};

bool isNumericFault(const std::string& message) {
    static const std::string full = numericFaultText("");
    static const std::string prefix = full.substr(0, full.find('(') + 1);
    return message.rfind(prefix, 0) == 0;
}

TEST(RandomInput, EveryCalculatorSurvivesAHostileUser) {
    const int actions = actionsPerCalculator();
    int calculators = 0;
    for (const CatalogueEntry& entry : catalogue()) {
        if (!entry.calculator)
            continue;
        ++calculators;
        const Calculator& calc = entry.calculator();
        unsigned seed = 2166136261u; // the button name's FNV-1a hash
        for (char c : entry.button)
            seed = (seed ^ static_cast<unsigned char>(c)) * 16777619u;
        Walk walk(calc, seed);
        for (int i = 0; i < actions; ++i) {
            const std::size_t messages = walk.dialogs.shown.size();
            std::optional<Form> expected;
            std::string failure;
            try {
                walk.act(expected);
                failure = walk.problem();
            } catch (const std::exception& e) {
                failure = std::string("exception: ") + e.what();
            }
            bool faulted = false;
            for (std::size_t m = messages; m < walk.dialogs.shown.size(); ++m)
                faulted = faulted || isNumericFault(walk.dialogs.shown[m]);
            if (failure.empty() && faulted && expected) {
                // A calculator may empty its result lists before it calculates.
                for (const auto& name : expected->lists())
                    if (walk.form.list(name).empty())
                        expected->list(name).clear();
                if (!(walk.form == *expected))
                    failure = "a numeric fault changed the form";
            }
            if (!failure.empty()) {
                ADD_FAILURE() << entry.button << ", action " << i << " (seed " << seed
                              << "): " << walk.doing << ": " << failure;
                break;
            }
        }
    }
    EXPECT_GT(calculators, 0);
}

} // namespace
} // namespace ferrovane
