#include "scenarios/scenario.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <stdexcept>

namespace ferrovane::testing {

namespace {

std::string trim(const std::string& s) {
    const auto b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos)
        return {};
    return s.substr(b, s.find_last_not_of(" \t\r") - b + 1);
}

// "\r", "\n" and "\t" stand for the control characters a message holds; a
// text in double quotes keeps its leading and trailing blanks.
std::string unescape(std::string s) {
    if (s.size() >= 2 && s.front() == '"' && s.back() == '"')
        s = s.substr(1, s.size() - 2);
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size()) {
            const char c = s[++i];
            out += c == 'r' ? '\r' : c == 'n' ? '\n' : c == 't' ? '\t' : c;
        } else {
            out += s[i];
        }
    }
    return out;
}

// "NAME = TEXT" split at the first " = ".
std::pair<std::string, std::string> nameAndText(const std::string& rest) {
    const auto eq = rest.find(" = ");
    if (eq == std::string::npos)
        return {trim(rest), {}};
    return {trim(rest.substr(0, eq)), unescape(rest.substr(eq + 3))};
}

struct Reader {
    std::string path;
    std::vector<std::string> lines;
    std::size_t at = 0;

    [[noreturn]] void fail(const std::string& why) const {
        throw std::runtime_error(path + ":" + std::to_string(at) + ": " + why);
    }
    // The "| text" lines that follow: each text is what stands after "| ".
    std::vector<std::string> block() {
        std::vector<std::string> out;
        while (at < lines.size() && lines[at].rfind('|', 0) == 0) {
            const std::string& l = lines[at++];
            out.push_back(unescape(l.size() > 2 ? l.substr(2) : std::string()));
        }
        return out;
    }
};

Answer answerOf(const std::string& word, const Reader& r) {
    if (word == "yes")
        return Answer::Yes;
    if (word == "no")
        return Answer::No;
    r.fail("an answer is yes or no, not \"" + word + "\"");
}

void readAction(Scenario& s, Reader& r, const std::string& verb, const std::string& rest) {
    using Kind = RunAction::Kind;
    Step step;
    step.line = static_cast<int>(r.at);
    auto [name, text] = nameAndText(rest);
    if (verb == "set")
        step.action = {Kind::Set, name, text};
    else if (verb == "choose")
        step.action = {Kind::Choose, name, text};
    else if (verb == "option")
        step.action = {Kind::Option, name, {}};
    else if (verb == "leave")
        step.action = {Kind::Leave, name, {}};
    else if (verb == "press")
        step.action = {Kind::Press, name, {}};
    else if (verb == "check" || verb == "uncheck")
        step.action = {Kind::Check, name, verb == "check" ? "on" : "off"};
    else
        r.fail("unknown line \"" + verb + " " + rest + "\"");
    s.steps.push_back(step);
}

void readExpect(Scenario& s, Reader& r, const std::string& rest) {
    Step step;
    step.line = static_cast<int>(r.at);
    step.isAction = false;
    std::istringstream words(rest);
    std::string first, second;
    words >> first >> second;
    static const std::vector<std::string> states = {"enabled",  "disabled",   "visible",
                                                    "hidden",   "checked",    "unchecked",
                                                    "selected", "unselected", "focused"};
    if (first == "icon" || first == "title") {
        step.what = first;
        step.text = unescape(trim(rest.substr(first.size())));
    } else if (first == "count") {
        step.what = first;
        std::tie(step.name, step.text) = nameAndText(rest.substr(first.size()));
    } else if (first == "list" || first == "file" || first == "messages" || first == "drawing" ||
               first == "printed") {
        step.what = first;
        step.name = trim(rest.substr(first.size()));
        step.lines = r.block();
    } else if (first == "title" || first == "unchanged") {
        step.what = first;
        step.text = unescape(trim(rest.substr(first.size())));
    } else if (first == "message") {
        step.what = "messages";
        step.lines = {unescape(trim(rest.substr(first.size())))};
    } else if (first == "no" && (second == "message" || second == "file")) {
        step.what = second == "message" ? "messages" : "no file";
        step.name = trim(rest.substr(rest.find(second) + second.size()));
    } else if (std::find(states.begin(), states.end(), second) != states.end()) {
        step.what = "state";
        step.name = first;
        step.text = second;
    } else if (rest.find(" = ") != std::string::npos) {
        step.what = "text";
        std::tie(step.name, step.text) = nameAndText(rest);
    } else {
        r.fail("unknown expectation \"" + rest + "\"");
    }
    s.steps.push_back(step);
}

std::vector<std::string> cells(const std::string& row) {
    std::vector<std::string> out;
    std::size_t from = 1; // past the leading "|"
    for (;;) {
        const auto bar = row.find('|', from);
        std::string cell = trim(row.substr(from, bar == std::string::npos ? bar : bar - from));
        out.push_back(cell == "_" ? std::string() : unescape(cell));
        if (bar == std::string::npos)
            return out;
        from = bar + 1;
    }
}

// A table: its first row names the columns ("set TxtF", "option", "press
// CmdCalc", "expect TxtXL", "expect message"); every further row is a
// scenario of its own that starts as the one above it and then does and
// checks its cells from left to right. "_" is an empty cell; an empty
// "option" or "press" cell does nothing, an empty "expect message" cell
// expects none.
void readTable(std::vector<Scenario>& all, Reader& r) {
    const int at = static_cast<int>(r.at);
    const std::vector<std::string> rows = r.block();
    if (rows.size() < 2)
        r.fail("a table needs a header row and at least one row");
    const Scenario base = all.back();
    all.pop_back();
    std::vector<std::string> header = cells("|" + rows[0]);
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const std::vector<std::string> row = cells("|" + rows[i]);
        if (row.size() != header.size())
            r.fail("row " + std::to_string(i) + " has " + std::to_string(row.size()) +
                   " cells, the header " + std::to_string(header.size()));
        Scenario s = base;
        s.line = at + static_cast<int>(i);
        s.title += " row " + std::to_string(i);
        for (std::size_t c = 0; c < row.size(); ++c) {
            const std::string& h = header[c];
            const std::string& cell = row[c];
            using Kind = RunAction::Kind;
            const auto act = [&](Kind kind, std::string name, std::string text) {
                s.steps.push_back(
                    Step{.line = s.line, .action = {kind, std::move(name), std::move(text)}});
            };
            const std::string named = trim(h.substr(h.find(' ') + 1));
            if ((h == "expect icon" || h == "expect title" || h == "expect unchanged") &&
                !cell.empty())
                s.steps.push_back(
                    Step{.line = s.line, .isAction = false, .what = h.substr(7), .text = cell});
            else if (h.rfind("expect count ", 0) == 0)
                s.steps.push_back(Step{.line = s.line,
                                       .isAction = false,
                                       .what = "count",
                                       .name = trim(h.substr(13)),
                                       .text = cell});
            else if (h == "expect icon" || h == "expect title" || h == "expect unchanged")
                continue;
            else if (h == "expect message")
                s.steps.push_back(Step{.line = s.line,
                                       .isAction = false,
                                       .what = "messages",
                                       .lines = cell.empty() ? std::vector<std::string>{}
                                                             : std::vector<std::string>{cell}});
            else if (h.rfind("expect ", 0) == 0)
                s.steps.push_back(Step{.line = s.line,
                                       .isAction = false,
                                       .what = "text",
                                       .name = named,
                                       .text = cell});
            else if ((h == "option" || h == "press") && !cell.empty())
                act(h == "option" ? Kind::Option : Kind::Press, cell, {});
            else if (h.rfind("press ", 0) == 0)
                act(Kind::Press, named, {});
            else if (h.rfind("leave ", 0) == 0 && !cell.empty())
                act(Kind::Leave, named, {});
            else if (h.rfind("check ", 0) == 0 && !cell.empty())
                act(Kind::Check, named, cell);
            else if (h.rfind("set ", 0) == 0 || h.rfind("choose ", 0) == 0)
                act(h[0] == 's' ? Kind::Set : Kind::Choose, named, cell);
            else if (h != "option" && h != "press" && h.rfind("check ", 0) != 0 &&
                     h.rfind("leave ", 0) != 0)
                r.fail("unknown column \"" + h + "\"");
        }
        all.push_back(std::move(s));
    }
}

void readLine(std::vector<Scenario>& all, const CatalogueEntry*& entry, Reader& r) {
    const std::string line = trim(r.lines[r.at++]);
    if (line.empty() || line[0] == '#')
        return;
    const auto blank = line.find(' ');
    const std::string verb = line.substr(0, blank);
    const std::string rest = blank == std::string::npos ? "" : line.substr(blank + 1);
    if (verb == "calculator") {
        entry = findCalculator(rest);
        if (!entry)
            r.fail("no calculator \"" + rest + "\"");
        return;
    }
    if (verb == "scenario") {
        if (!entry)
            r.fail("a scenario before its calculator line");
        all.push_back(Scenario{
            .file = r.path, .line = static_cast<int>(r.at), .title = rest, .entry = entry});
        return;
    }
    if (all.empty())
        r.fail("\"" + verb + "\" before the first scenario");
    Scenario& s = all.back();
    if (verb == "start")
        s.start = rest == "empty" ? RunStart::Empty : RunStart::Saved;
    else if (verb == "answer")
        s.fallback = answerOf(rest, r);
    else if (verb == "answers") {
        std::istringstream words(rest);
        for (std::string w; words >> w;)
            s.answers.push_back(answerOf(w, r));
    } else if (verb == "given") {
        const bool remove = rest.rfind("no file ", 0) == 0;
        if (!remove && rest.rfind("file ", 0) != 0)
            r.fail("\"given file NAME\" or \"given no file NAME\"");
        s.given.push_back({trim(rest.substr(remove ? 8 : 5)), remove, r.block()});
    } else if (verb == "expect")
        readExpect(s, r, rest);
    else if (verb == "table")
        readTable(all, r);
    else
        readAction(s, r, verb, rest);
}

} // namespace

std::vector<Scenario> readScenarios(const std::string& path) {
    Reader r{path, {}, 0};
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error(path + ": cannot be read");
    for (std::string l; std::getline(in, l);)
        r.lines.push_back(l.size() && l.back() == '\r' ? l.substr(0, l.size() - 1) : l);
    std::vector<Scenario> all;
    const CatalogueEntry* entry = nullptr;
    while (r.at < r.lines.size())
        readLine(all, entry, r);
    return all;
}

namespace {

std::string shown(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines)
        out += "\n      | " + l;
    return lines.empty() ? " (nothing)" : out;
}

// Whether every line of want appears in have, in this order.
bool inOrder(const std::vector<std::string>& want, const std::vector<std::string>& have) {
    auto it = have.begin();
    for (const auto& w : want) {
        it = std::find(it, have.end(), w);
        if (it == have.end())
            return false;
        ++it;
    }
    return true;
}

bool stateHolds(const Form& form, const std::string& name, const std::string& state) {
    if (state == "enabled" || state == "disabled")
        return form.enabled(name) == (state == "enabled");
    if (state == "visible" || state == "hidden")
        return form.visible(name) == (state == "visible");
    if (state == "focused")
        return form.focus() == name;
    if (state == "checked" || state == "unchecked")
        return form.checked(name) == (state == "checked");
    return form.selected(name) == (state == "selected");
}

struct Checker {
    const Scenario& s;
    CalculatorRun& run;
    const DataDir& dir;
    std::vector<std::string> failures;
    std::size_t seen = 0; // messages already expected
    // The form and the files the run had written, as the last press found them.
    std::optional<Form> beforePress;
    std::map<std::string, std::vector<std::string>> filesBeforePress;

    void fail(const Step& st, const std::string& why) {
        failures.push_back(s.file + ":" + std::to_string(st.line) + ": " + why);
    }
    std::vector<std::string> newMessages() {
        const auto texts = run.dialogs().texts();
        std::vector<std::string> fresh(texts.begin() + static_cast<long>(seen), texts.end());
        seen = texts.size();
        return fresh;
    }
    void check(const Step& st) {
        const Form& form = run.form();
        std::vector<std::string> have;
        if (st.what == "text") {
            if (form.text(st.name) != st.text)
                fail(st,
                     st.name + " shows \"" + form.text(st.name) + "\", not \"" + st.text + "\"");
            return;
        }
        if (st.what == "state") {
            if (!stateHolds(form, st.name, st.text))
                fail(st, st.name + " is not " + st.text);
            return;
        }
        if (st.what == "icon" || st.what == "title") {
            const auto& shown = run.dialogs().shown;
            if (shown.empty())
                return fail(st, "no message was shown");
            const std::string have =
                st.what == "icon" ? iconName(shown.back().icon) : shown.back().title;
            if (have != st.text)
                fail(st, "the last message's " + st.what + " is \"" + have + "\", not \"" +
                             st.text + "\"");
            return;
        }
        if (st.what == "count") {
            const std::size_t n = form.list(st.name).size();
            if (std::to_string(n) != st.text)
                fail(st, st.name + " holds " + std::to_string(n) + " lines, not " + st.text);
            return;
        }
        if (st.what == "unchanged") {
            if (!beforePress || !(*beforePress == form))
                fail(st, "the last press changed the form");
            else if (run.outcome().files != filesBeforePress)
                fail(st, "the last press wrote a file");
            return;
        }
        if (st.what == "no file") {
            if (run.outcome().files.count(st.name))
                fail(st, st.name + " was written");
            return;
        }
        if (st.what == "list")
            have = form.list(st.name);
        else if (st.what == "file")
            have = dir.readLines(st.name, 1u << 20).value_or(std::vector<std::string>{});
        else if (st.what == "messages")
            have = newMessages();
        else if (st.what == "drawing")
            have = form.drawing(st.name).texts();
        else if (st.what == "printed")
            for (const auto& job : run.printer().jobs)
                for (const auto& t : job.texts())
                    have.push_back(t);
        const bool partial = st.what == "drawing" || st.what == "printed";
        if (partial ? !inOrder(st.lines, have) : have != st.lines)
            fail(st, st.what + " " + st.name + " holds" + shown(have) + "\n    expected" +
                         shown(st.lines));
    }
};

} // namespace

std::vector<std::string> runScenario(const Scenario& s) {
    ScratchDir scratch;
    seedExamples(scratch.path());
    const DataDir dir(scratch.path());
    for (const GivenFile& g : s.given) {
        std::error_code ec;
        if (g.remove)
            std::filesystem::remove(dir.resolve(g.name), ec);
        else
            dir.writeLines(g.name, g.lines);
    }
    CalculatorRun run(s.entry->calculator(), dir, s.start, s.fallback);
    run.dialogs().answers.assign(s.answers.begin(), s.answers.end());
    Checker checker{s, run, dir, {}};
    const bool watchesPresses = std::any_of(s.steps.begin(), s.steps.end(),
                                            [](const Step& st) { return st.what == "unchanged"; });
    for (const Step& st : s.steps) {
        try {
            if (watchesPresses && st.isAction && st.action.kind == RunAction::Kind::Press) {
                checker.beforePress = run.form();
                checker.filesBeforePress = run.outcome().files;
            }
            if (st.isAction)
                run.apply(st.action);
            else
                checker.check(st);
        } catch (const std::out_of_range&) {
            checker.fail(st, "no control, group or list \"" +
                                 (st.isAction ? st.action.name : st.name) + "\"");
        }
    }
    Step end;
    end.line = static_cast<int>(s.steps.empty() ? s.line : s.steps.back().line);
    if (const auto rest = checker.newMessages(); !rest.empty())
        checker.fail(end, "messages nobody expected:" + shown(rest));
    return checker.failures;
}

} // namespace ferrovane::testing
