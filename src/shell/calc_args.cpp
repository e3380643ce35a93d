#include "shell/calc_args.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

namespace ferrovane {

namespace {

std::string key(const std::string& s) {
    std::string k;
    for (char c : s)
        if (c != ' ' && c != '&')
            k += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return k;
}

const char* kindName(ControlKind kind) {
    switch (kind) {
    case ControlKind::Box:
        return "box";
    case ControlKind::Option:
        return "option";
    case ControlKind::Check:
        return "check box";
    case ControlKind::Combo:
        return "drop-down box";
    case ControlKind::Button:
        return "button";
    }
    return "control";
}

std::string plural(ControlKind kind) {
    const std::string one = kindName(kind);
    return one.back() == 'x' ? one + "es" : one + "s";
}

struct Named {
    std::string name, label;
};

std::vector<Named> controlsOf(const Calculator& calc, ControlKind kind) {
    std::vector<Named> out;
    forEachControl(calc.form, [&](const ControlSpec& c) {
        if (const auto* b = std::get_if<BoxSpec>(&c); b && kind == ControlKind::Box)
            out.push_back({b->name, b->label});
        else if (const auto* g = std::get_if<GroupSpec>(&c); g && kind == ControlKind::Option)
            for (const auto& [name, caption] : g->options)
                out.push_back({name, caption});
        else if (const auto* k = std::get_if<CheckSpec>(&c); k && kind == ControlKind::Check)
            out.push_back({k->name, k->caption});
        else if (const auto* d = std::get_if<ComboSpec>(&c); d && kind == ControlKind::Combo)
            out.push_back({d->name, d->label});
        else if (const auto* u = std::get_if<ButtonSpec>(&c); u && kind == ControlKind::Button)
            out.push_back({u->name, u->caption});
    });
    return out;
}

[[noreturn]] void refuse(const std::string& text) {
    throw UsageError{text};
}

std::string choices(const std::vector<Named>& controls) {
    std::string out;
    for (const Named& n : controls)
        out += (out.empty() ? "" : ", ") + n.name;
    return out.empty() ? "none" : out;
}

} // namespace

std::string resolveControl(const Calculator& calc, ControlKind kind, const std::string& given) {
    const auto controls = controlsOf(calc, kind);
    for (const Named& n : controls)
        if (key(n.name) == key(given))
            return n.name;
    std::vector<Named> byLabel;
    for (const Named& n : controls)
        if (!n.label.empty() && key(n.label) == key(given))
            byLabel.push_back(n);
    if (byLabel.size() == 1)
        return byLabel.front().name;
    if (byLabel.size() > 1)
        refuse("\"" + given + "\" is the label of several " + plural(kind) +
               "; name one: " + choices(byLabel));
    refuse(std::string("unknown ") + kindName(kind) + " \"" + given + "\"; the " + plural(kind) +
           " are: " + choices(controls));
}

std::optional<double> parseNumber(const std::string& text) {
    if (text.empty() || text.size() > 64)
        return std::nullopt;
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

namespace {

struct Words {
    const std::vector<std::string>& args;
    std::size_t at = 0;
    bool more() const { return at < args.size(); }
    std::string next(const std::string& option) {
        if (!more())
            refuse(option + " needs a value");
        return args[at++];
    }
};

std::pair<std::string, std::string> split(const std::string& text, const std::string& option) {
    const auto eq = text.find('=');
    if (eq == std::string::npos || eq == 0)
        refuse(option + " takes NAME=VALUE, not \"" + text + "\"");
    return {text.substr(0, eq), text.substr(eq + 1)};
}

int wholeNumber(const std::string& text, const std::string& what, long long max) {
    const auto v = parseNumber(text);
    if (!v || *v != std::floor(*v) || *v < 1 || *v > static_cast<double>(max))
        refuse(what + " must be a whole number from 1 to " + std::to_string(max) + ", not \"" +
               text + "\"");
    return static_cast<int>(*v);
}

SweepRequest parseSweep(const Calculator& calc, const std::string& text) {
    const auto [name, range] = split(text, "--sweep");
    SweepRequest r;
    r.box = resolveControl(calc, ControlKind::Box, name);
    std::vector<std::string> parts;
    for (std::size_t from = 0;;) {
        const auto colon = range.find(':', from);
        parts.push_back(range.substr(from, colon - from));
        if (colon == std::string::npos)
            break;
        from = colon + 1;
    }
    if (parts.size() < 3 || parts.size() > 4 || (parts.size() == 4 && parts[3] != "log"))
        refuse("--sweep takes NAME=FROM:TO:POINTS or NAME=FROM:TO:POINTS:log");
    const auto from = parseNumber(parts[0]), to = parseNumber(parts[1]);
    if (!from || !to)
        refuse("the sweep's ends must be plain numbers, not \"" + range + "\"");
    r.from = *from;
    r.to = *to;
    r.points = wholeNumber(parts[2],
                           "the number of points (at most " + std::to_string(kMaxSweepPoints) + ")",
                           kMaxSweepPoints);
    r.log = parts.size() == 4;
    return r;
}

void parseTolerance(CalcArgs& a, const std::string& text) {
    const auto [name, percent] = split(text, "--tolerance");
    const auto p = parseNumber(percent);
    if (!p || *p <= 0 || *p > kMaxTolerancePercent)
        refuse("a tolerance is a percentage above 0 and at most 100, not \"" + percent + "\"");
    if (!a.tolerance)
        a.tolerance.emplace();
    a.tolerance->inputs.emplace_back(resolveControl(a.entry->calculator(), ControlKind::Box, name),
                                     *p);
}

ToleranceRequest& tolerance(CalcArgs& a) {
    if (!a.tolerance)
        a.tolerance.emplace();
    return a.tolerance.value();
}

const CatalogueEntry& entryNamed(const std::string& id) {
    if (const CatalogueEntry* e = findCalculator(id); e && e->calculator)
        return *e;
    std::string ids;
    for (const auto& e : catalogue())
        ids += (ids.empty() ? "" : ", ") + e.id;
    refuse("unknown calculator \"" + id + "\"; the calculators are: " + ids);
}

// One option and its value; false when the word is not an option of ours.
bool parseOption(CalcArgs& a, Words& w, const std::string& opt) {
    const Calculator& calc = a.entry->calculator();
    using Kind = RunAction::Kind;
    if (opt == "--example" || opt == "--last") {
        a.start = opt == "--example" ? CalcArgs::Start::Example : CalcArgs::Start::Last;
    } else if (opt == "--set" || opt == "--choose") {
        const auto [name, text] = split(w.next(opt), opt);
        const bool box = opt == "--set";
        a.actions.push_back(
            {box ? Kind::Set : Kind::Choose,
             resolveControl(calc, box ? ControlKind::Box : ControlKind::Combo, name), text});
    } else if (opt == "--option") {
        a.actions.push_back(
            {Kind::Option, resolveControl(calc, ControlKind::Option, w.next(opt)), {}});
    } else if (opt == "--check") {
        const auto [name, state] = split(w.next(opt), opt);
        if (state != "on" && state != "off")
            refuse("--check takes NAME=on or NAME=off, not \"" + state + "\"");
        a.actions.push_back({Kind::Check, resolveControl(calc, ControlKind::Check, name), state});
    } else if (opt == "--press") {
        a.press = resolveControl(calc, ControlKind::Button, w.next(opt));
    } else if (opt == "--answer") {
        const std::string v = w.next(opt);
        if (v != "yes" && v != "no")
            refuse("--answer takes yes or no, not \"" + v + "\"");
        a.answer = v == "yes" ? Answer::Yes : Answer::No;
    } else if (opt == "--json") {
        a.json = true;
    } else if (opt == "--data-dir") {
        a.dataDir = w.next(opt);
    } else if (opt == "--sweep") {
        a.sweep = parseSweep(calc, w.next(opt));
    } else if (opt == "--output") {
        a.outputs.push_back(w.next(opt));
    } else if (opt == "--csv") {
        a.csv = w.next(opt);
    } else if (opt == "--tolerance") {
        parseTolerance(a, w.next(opt));
    } else if (opt == "--runs") {
        tolerance(a).runs =
            wholeNumber(w.next(opt), "--runs (at most " + std::to_string(kMaxRuns) + ")", kMaxRuns);
    } else if (opt == "--seed") {
        tolerance(a).seed =
            static_cast<std::uint64_t>(wholeNumber(w.next(opt), "--seed", 2000000000));
    } else if (opt == "--worst-case") {
        tolerance(a).worstCase = true;
    } else {
        return false;
    }
    return true;
}

// --design FILE and --save-design FILE; false for any other word.
bool parseDesignOption(CalcArgs& a, Words& w, const std::string& opt) {
    if (opt == "--save-design") {
        a.saveDesign = w.next(opt);
        return true;
    }
    if (opt == "--spice") {
        a.spice = w.next(opt);
        return true;
    }
    if (opt == "--simulate") {
        a.simulate = true;
        return true;
    }
    if (opt != "--design")
        return false;
    const std::string file = w.next(opt);
    DesignRead read = readDesign(file);
    if (!read)
        refuse(read.error);
    const CatalogueEntry& entry = entryNamed(read.design->calculator);
    if (a.entry && a.entry != &entry)
        refuse("\"" + file + "\" is a design for " + entry.id + ", not for " + a.entry->id);
    a.entry = &entry;
    a.design = std::move(read.design);
    a.start = CalcArgs::Start::Design;
    return true;
}

void checkTogether(const CalcArgs& a) {
    if (a.design && a.start != CalcArgs::Start::Design)
        refuse("--design starts from the design: leave out --example and --last");
    if (a.design && a.dataDir)
        refuse("--design runs on a private copy of the data files: leave out --data-dir");
    if ((a.spice || a.simulate) && (a.sweep || a.tolerance))
        refuse("--spice and --simulate take the circuit of one press: leave out --sweep and "
               "--tolerance");
    if (a.simulate && a.json)
        refuse("--simulate prints a table: leave out --json");
    if ((a.spice || a.simulate) && a.entry && !a.entry->calculator().netlist)
        refuse(a.entry->id + " has no circuit to simulate");
    if (a.saveDesign && (a.sweep || a.tolerance))
        refuse("--save-design saves the form after the press: leave out --sweep and --tolerance");
    if (a.dataDir && a.start != CalcArgs::Start::Empty)
        refuse("--data-dir opens on that folder's files: leave out --example and --last");
    if (a.sweep && a.tolerance)
        refuse("--sweep and --tolerance cannot be used together");
    if (a.tolerance && a.tolerance->inputs.empty())
        refuse("--runs, --seed and --worst-case need at least one --tolerance NAME=PERCENT");
    if (a.tolerance && a.tolerance->worstCase &&
        static_cast<int>(a.tolerance->inputs.size()) > kMaxCornerInputs)
        refuse("--worst-case takes at most " + std::to_string(kMaxCornerInputs) + " inputs");
    if (a.csv && !a.sweep)
        refuse("--csv writes a sweep's table: add --sweep");
    if (!a.outputs.empty() && !a.sweep && !a.tolerance)
        refuse("--output names what a sweep or tolerance run reports: add --sweep or --tolerance");
}

} // namespace

CalcArgs parseCalcArgs(const std::vector<std::string>& args) {
    CalcArgs a;
    Words w{args};
    if (!w.more())
        refuse("name a calculator (ferrovane calc --list shows them)");
    const std::string first = w.next("calc");
    if (first == "--list" || first == "--help" || first == "-h") {
        a.list = first == "--list";
        a.help = !a.list;
        return a;
    }
    if (first == "--design")
        parseDesignOption(a, w, first);
    else if (first.rfind("--", 0) == 0)
        refuse("name a calculator before " + first + " (ferrovane calc --list shows them)");
    else
        a.entry = &entryNamed(first);
    while (w.more()) {
        const std::string opt = w.next("");
        if (opt == "--help" || opt == "-h")
            a.help = true;
        else if (!parseDesignOption(a, w, opt) && !parseOption(a, w, opt))
            refuse("unknown option \"" + opt + "\" (ferrovane calc --help lists them)");
    }
    checkTogether(a);
    return a;
}

} // namespace ferrovane
