// Every calculator of the catalogue driven through its window by a hostile
// user: nasty texts and values near the example typed into the boxes,
// options, checks, drop-downs and buttons clicked, Clear, Load, Close and
// reopen (sometimes over a damaged file), questions answered at random.
// After every action no exception has escaped, nothing shows nan or inf, and
// a numeric fault has left the form as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <random>
#include <regex>
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

// Separated by '|'; the first is the empty text.
const std::vector<std::string> kNastyTexts = [] {
    std::vector<std::string> t(1);
    for (char c : std::string("| |   |0|-0|-1|-4.7k|1e308|-1e308|1e-320|1E+400|nan|NaN|inf|-inf|"
                              "4.7k|1,5|1.5.5|e|-|.|1e|2 M|100 pF|\t7|3 + j 4|"
                              "\xCE\xA9\xCE\xBC\xCE\xAD|\xE6\x95\xB0\xE5\xAD\x97|1\r\n2"))
        if (c == '|')
            t.emplace_back();
        else
            t.back().push_back(c);
    t.push_back(std::string(60, '9'));
    t.push_back(std::string(400, '7') + ".5");
    return t;
}();

// A control the user can act on, after the frames that hold it (a hidden
// frame hides its children).
struct Reachable {
    enum Kind { Box, Option, Check, Combo, Button } kind;
    std::string name;
    std::vector<std::string> framesAndName;
    std::vector<std::string> items; // a drop-down's list
};

std::vector<Reachable> reachableControls(const FormSpec& desc) {
    std::vector<Reachable> out;
    // The frames around the control visited next, with how many controls each still holds.
    std::vector<std::pair<std::string, int>> open;
    forEachControl(desc, [&](const ControlSpec& c) {
        std::vector<std::string> holders;
        for (auto& [frame, inside] : open)
            if (inside-- > 0)
                holders.push_back(frame);
        auto add = [&](Reachable::Kind kind, const std::string& name,
                       std::vector<std::string> items = {}) {
            holders.push_back(name);
            out.push_back({kind, name, holders, std::move(items)});
            holders.pop_back();
        };
        if (const auto* f = std::get_if<std::shared_ptr<FrameSpec>>(&c)) {
            FormSpec inner{.left = (*f)->children, .buttons = {ButtonSpec{}}};
            int count = -1; // the button row above is not inside
            forEachControl(inner, [&](const ControlSpec&) { ++count; });
            open.emplace_back((*f)->name, count);
        } else if (const auto* b = std::get_if<BoxSpec>(&c)) {
            add(Reachable::Box, b->name);
        } else if (const auto* g = std::get_if<GroupSpec>(&c)) {
            for (const auto& option : g->options)
                add(Reachable::Option, option.first);
        } else if (const auto* k = std::get_if<CheckSpec>(&c)) {
            add(Reachable::Check, k->name);
        } else if (const auto* d = std::get_if<ComboSpec>(&c)) {
            add(Reachable::Combo, d->name, d->items);
        } else if (const auto* p = std::get_if<ButtonSpec>(&c)) {
            add(Reachable::Button, p->name);
        }
    });
    return out;
}

bool canUse(const Form& form, const Reachable& r) {
    return std::all_of(r.framesAndName.begin(), r.framesAndName.end(),
                       [&](const auto& n) { return form.visible(n) && form.enabled(n); }) &&
           !(r.kind == Reachable::Box && form.locked(r.name));
}

// Whether a text shows a number that is not finite: "nan", "inf" or
// "infinity" as a word of its own, in any letter case.
bool showsNonFinite(const std::string& text) {
    static const std::regex word("(^|[^a-z])(nan|inf|infinity)([^a-z]|$)", std::regex::icase);
    return text.find_first_of("nN") != std::string::npos && std::regex_search(text, word);
}

// A fresh folder in memory when the system has one (every save syncs its
// file to disk, which would take most of the walk's time).
struct WalkDir {
    WalkDir() {
        std::error_code ec;
        path = (std::filesystem::is_directory("/dev/shm", ec)
                    ? std::filesystem::path("/dev/shm")
                    : std::filesystem::temp_directory_path()) /
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
    Walk(const Calculator& c, unsigned seed) : calc(c), rng(seed) {
        testing::TestWindow::copyExamplesInto(tmp.path);
        form = Form_Load(calc, env);
        for (const Reachable& r : controls)
            if (r.kind == Reachable::Box)
                example[r.name] = ReadNumber(form.text(r.name));
    }

    std::size_t pick(std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng);
    }
    const std::string& nasty() { return kNastyTexts[pick(kNastyTexts.size())]; }

    std::string someText(const Reachable& r) {
        if (r.kind == Reachable::Combo)
            return !r.items.empty() && pick(4) != 0 ? r.items[pick(r.items.size())] : nasty();
        if (pick(2) == 0)
            return nasty();
        const double factors[] = {1, 1.01, 0.99, 0.5, 2, 10, 0.1, -1, 1e6, 1e-6};
        const double v = example[r.name] * factors[pick(std::size(factors))];
        return pick(2) ? PlainNumber(v) : FormatEng(v);
    }

    // The data file as a crash or another program might leave it: empty,
    // random bytes, one endless line, zeros, or cut in half.
    void damageFile() {
        const auto path = dir.resolve(calc.dataFile);
        std::ifstream in(path, std::ios::binary);
        std::string bytes(std::istreambuf_iterator<char>(in), {});
        in.close();
        switch (pick(5)) {
        case 0:
            bytes.clear();
            break;
        case 1:
            bytes.resize(300);
            for (char& b : bytes)
                b = static_cast<char>(pick(256));
            break;
        case 2:
            bytes = "True\r\n" + std::string(20000, '5');
            break;
        case 3:
            bytes.assign(40, '\0');
            break;
        default:
            bytes.resize(bytes.size() / 2);
        }
        std::ofstream(path, std::ios::binary) << bytes;
    }

    void closeAndReopen() {
        if (CmdClose_Click(calc, form, env) == CloseOutcome::KeptOpen)
            return;
        if (!calc.dataFile.empty() && pick(5) == 0)
            damageFile();
        form = Form_Load(calc, env);
    }

    // One action, described in `doing`; returns the form a numeric fault
    // must leave exactly as it is, if any.
    std::optional<Form> act() {
        std::vector<const Reachable*> usable;
        for (const Reachable& r : controls)
            if (canUse(form, r))
                usable.push_back(&r);
        std::optional<Form> expected = form;
        while (dialogs.answers.size() < 4) // every question answered at random
            dialogs.answers.push_back(pick(2) ? Answer::Yes : Answer::No);
        const std::size_t roll = pick(100);
        if (roll < 4 || usable.empty()) {
            doing = "close and reopen";
            closeAndReopen();
            return {};
        }
        if (roll < 12) {
            doing = "CmdCalc";
            CmdCalc_Click(calc, form, env);
            return expected;
        }
        const Reachable& r = *usable[pick(usable.size())];
        doing = "act on " + r.name;
        switch (r.kind) {
        case Reachable::Box:
        case Reachable::Combo: {
            const std::string text = someText(r);
            typed.insert(
                {TrimBlanks(text.substr(0, text.find_first_of(",\r\n"))), TrimBlanks(text)});
            expected->setText(r.name, text);
            doing = "type \"" + text + "\" into " + r.name;
            if (r.kind == Reachable::Combo) {
                chooseCombo(calc, form, env, r.name, text);
            } else {
                editBox(calc, form, env, r.name, text);
                if (pick(4) == 0) {
                    doing += " and leave it";
                    leaveBox(calc, form, env, r.name);
                    return {};
                }
            }
            return expected;
        }
        case Reachable::Option:
            expected->setOption(form.groupOf(r.name), form.numberOf(r.name));
            selectOption(calc, form, env, r.name);
            return expected;
        case Reachable::Check:
            expected->setChecked(r.name, !form.checked(r.name));
            clickCheck(calc, form, env, r.name, !form.checked(r.name));
            return expected;
        case Reachable::Button:
            if (pressButton(calc, form, env, r.name) == ButtonOutcome::Close) {
                closeAndReopen();
                return {};
            }
            return r.name == "CmdLoadData" ? std::nullopt : expected;
        }
        return {};
    }

    // What is wrong with the form now, or nothing.
    std::string problem() const {
        for (const auto& [name, control] : form.controls())
            if (showsNonFinite(control.text) && !typed.count(TrimBlanks(control.text)))
                return name + " shows \"" + control.text + "\"";
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
    testing::ScriptedDialogs dialogs;
    testing::RecordingPrinter printer;
    CalcEnv env{dialogs, dir, &printer};
    const std::vector<Reachable> controls = reachableControls(calc.form);
    std::map<std::string, double> example;
    // Texts the user typed, into any box: a rule may copy one box's text into
    // another, as the feedback window copies A to the gain error's A.
    std::set<std::string> typed;
    Form form;
    std::string doing;
};

// The fault's message, whether or not it begins with the boxes that held no
// number: the part from "cannot" to the reason's parenthesis.
bool isNumericFault(const std::string& message) {
    static const std::string full = numericFaultText("");
    static const std::string core =
        full.substr(full.find("cannot"), full.find('(') + 1 - full.find("cannot"));
    return message.find(core) != std::string::npos;
}

TEST(RandomInput, EveryCalculatorSurvivesAHostileUser) {
    int calculators = 0;
    for (const CatalogueEntry& entry : catalogue()) {
        if (!entry.calculator)
            continue;
        ++calculators;
        unsigned seed = 2166136261u; // the button name's FNV-1a hash
        for (char c : entry.button)
            seed = (seed ^ static_cast<unsigned char>(c)) * 16777619u;
        Walk walk(entry.calculator(), seed);
        for (int i = 0, n = actionsPerCalculator(); i < n; ++i) {
            const std::size_t messages = walk.dialogs.shown.size();
            std::optional<Form> expected;
            std::string failure;
            try {
                expected = walk.act();
                failure = walk.problem();
            } catch (const std::exception& e) {
                failure = std::string("exception: ") + e.what();
            }
            const auto& shown = walk.dialogs.shown;
            if (failure.empty() && expected &&
                std::any_of(shown.begin() + static_cast<std::ptrdiff_t>(messages), shown.end(),
                            [](const Message& m) { return isNumericFault(m.text); })) {
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
