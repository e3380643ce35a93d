#include "shell/calc_output.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <ostream>
#include <sstream>

#include "numeric/eng_text.h"
#include "shell/help_topics.h"
#include "shell/quantities.h"

namespace ferrovane {

std::string mainWindowCaption(const CatalogueEntry& entry) {
    return TrimBlanks(shownCaption(entry.caption));
}

namespace {

// Line breaks inside a message become an indented new line.
std::string oneLine(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        out += text[i] == '\n' || text[i] == '\r' ? std::string("\n    ") : std::string(1, text[i]);
    }
    return out;
}

std::string json(const std::string& s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\u%04x", c);
            out += esc;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

std::string jsonArray(const std::vector<std::string>& items) {
    std::string out = "[";
    for (std::size_t i = 0; i < items.size(); ++i)
        out += (i ? ", " : "") + json(items[i]);
    return out + "]";
}

template <typename Map> void jsonObject(std::ostream& out, const char* name, const Map& map) {
    out << "  " << json(name) << ": {";
    bool first = true;
    for (const auto& [key, value] : map) {
        out << (first ? "\n" : ",\n") << "    " << json(key) << ": " << value;
        first = false;
    }
    out << (first ? "}" : "\n  }");
}

std::string listHeader(const Calculator& calc, const Form& form, const std::string& list) {
    std::string header;
    forEachControl(calc.form, [&](const ControlSpec& c) {
        if (const auto* l = std::get_if<ListSpec>(&c);
            l && l->name == list && !l->headerName.empty())
            header = form.text(l->headerName);
    });
    return header;
}

} // namespace

void printText(std::ostream& out, const Calculator& calc, const RunOutcome& outcome) {
    for (const Message& m : outcome.messages)
        out << m.title << ": " << oneLine(m.text) << "\n";
    const Form& form = outcome.form;
    for (const BoxSpec& b : boxesOf(calc)) {
        if (!form.visible(b.name))
            continue;
        const std::string label = b.labelName.empty() ? b.label : form.text(b.labelName);
        const std::string unit = b.unitName.empty() ? b.unit : form.text(b.unitName);
        out << (label.empty() ? b.name : label) << "  " << TrimBlanks(form.text(b.name))
            << (unit.empty() ? "" : " " + unit) << "\n";
    }
    for (const std::string& list : form.lists()) {
        if (form.list(list).empty())
            continue;
        out << "\n";
        if (const std::string header = listHeader(calc, form, list); !header.empty())
            out << header << "\n";
        for (const std::string& line : form.list(list))
            out << line << "\n";
    }
}

void printJson(std::ostream& out, const CatalogueEntry& entry, const RunOutcome& outcome) {
    const Form& form = outcome.form;
    out << "{\n  \"calculator\": " << json(entry.id) << ",\n  \"messages\": [";
    for (std::size_t i = 0; i < outcome.messages.size(); ++i) {
        const Message& m = outcome.messages[i];
        out << (i ? ",\n" : "\n") << "    {\"title\": " << json(m.title)
            << ", \"text\": " << json(m.text) << ", \"icon\": " << json(iconName(m.icon)) << "}";
    }
    out << (outcome.messages.empty() ? "]" : "\n  ]") << ",\n";
    std::map<std::string, std::string> boxes, lists, drawings, files;
    for (const BoxSpec& b : boxesOf(entry.calculator()))
        boxes[b.name] = json(form.text(b.name));
    for (const std::string& l : form.lists())
        lists[l] = jsonArray(form.list(l));
    forEachControl(entry.calculator().form, [&](const ControlSpec& c) {
        if (const auto* d = std::get_if<DrawingSpec>(&c))
            drawings[d->name] = jsonArray(form.drawing(d->name).texts());
    });
    for (const auto& [name, lines] : outcome.files)
        files[name] = jsonArray(lines);
    jsonObject(out, "boxes", boxes);
    out << ",\n";
    jsonObject(out, "lists", lists);
    out << ",\n";
    jsonObject(out, "drawings", drawings);
    out << ",\n";
    jsonObject(out, "files", files);
    out << "\n}\n";
}

namespace {

// The text of an HTML fragment: tags dropped, the few entities pages use
// decoded, blanks and line breaks read as one blank.
std::string plainText(const std::string& html) {
    std::string out;
    for (std::size_t i = 0; i < html.size(); ++i) {
        if (html[i] == '<') {
            // A table cell starts a column; a line break is a blank; inline
            // tags such as the subscript of X<sub>L</sub> vanish.
            const bool cell = html.compare(i, 3, "<td") == 0 || html.compare(i, 3, "<th") == 0;
            const bool blank = html.compare(i, 3, "<br") == 0 || html.compare(i, 2, "<p") == 0;
            if (cell && !TrimBlanks(out).empty())
                out = TrimBlanks(out) + " | ";
            else if (blank && !out.empty() && out.back() != ' ')
                out += ' ';
            i = std::min(html.find('>', i), html.size());
            continue;
        }
        if (html[i] == '&') {
            static const std::pair<const char*, const char*> entities[] = {
                {"&amp;", "&"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&nbsp;", " "}, {"&quot;", "\""}};
            bool decoded = false;
            for (const auto& [name, text] : entities)
                if (html.compare(i, std::strlen(name), name) == 0) {
                    out += text;
                    i += std::strlen(name) - 1;
                    decoded = true;
                }
            if (decoded)
                continue;
        }
        const char c = html[i] == '\n' || html[i] == '\r' || html[i] == '\t' ? ' ' : html[i];
        if (c != ' ' || (!out.empty() && out.back() != ' '))
            out += c;
    }
    return TrimBlanks(out);
}

// The rows of the page's table under the heading, one line each.
void printSection(std::ostream& out, const std::string& page, const std::string& heading) {
    const auto start = page.find("<h2>" + heading + "</h2>");
    if (start == std::string::npos)
        return;
    const auto end = std::min(page.find("<h2>", start + 4), page.size());
    out << heading << "\n";
    for (auto row = page.find("<tr>", start); row < end; row = page.find("<tr>", row + 4)) {
        const auto rowEnd = std::min(page.find("</tr>", row), end);
        if (page.compare(row, 8, "<tr><th>") != 0)
            out << "  " << plainText(page.substr(row, rowEnd - row)) << "\n";
    }
}

} // namespace

void printCalculatorHelp(std::ostream& out, const Calculator& calc, const std::string& page) {
    out << calc.form.caption << "\n";
    if (!page.empty()) {
        printSection(out, page, "Inputs");
        printSection(out, page, "Results");
    }
    out << "Controls (name, then what the window shows)\n";
    forEachControl(calc.form, [&](const ControlSpec& c) {
        if (const auto* b = std::get_if<BoxSpec>(&c))
            out << (b->readOnly ? "  result  " : "  box     ") << b->name << "  " << b->label
                << (b->unit.empty() ? "" : " (" + b->unit + ")") << "\n";
        else if (const auto* g = std::get_if<GroupSpec>(&c))
            for (const auto& [name, caption] : g->options)
                out << "  option  " << name << "  " << caption << "\n";
        else if (const auto* k = std::get_if<CheckSpec>(&c))
            out << "  check   " << k->name << "  " << k->caption << "\n";
        else if (const auto* d = std::get_if<ComboSpec>(&c))
            out << "  choose  " << d->name << "  " << d->label << "\n";
        else if (const auto* l = std::get_if<ListSpec>(&c))
            out << "  list    " << l->name << (l->header.empty() ? "" : "  " + l->header) << "\n";
        else if (const auto* u = std::get_if<ButtonSpec>(&c))
            out << "  button  " << u->name << "  " << u->caption << "\n";
    });
}

namespace {

std::string number(const std::optional<double>& v) {
    if (!v)
        return "";
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", *v);
    return text;
}

std::vector<std::vector<std::string>> sweepRows(const SweepResult& r) {
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> head{r.input};
    for (const Quantity& q : r.outputs)
        head.push_back(q.label);
    rows.push_back(head);
    for (std::size_t i = 0; i < r.x.size(); ++i) {
        std::vector<std::string> row{number(r.x[i])};
        for (const auto& v : r.y[i])
            row.push_back(number(v));
        rows.push_back(row);
    }
    return rows;
}

std::string csvCell(const std::string& s) {
    if (s.find_first_of(",\"\r\n") == std::string::npos)
        return s;
    std::string out = "\"";
    for (char c : s)
        out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

} // namespace

void printSweep(std::ostream& out, const SweepResult& result) {
    for (const auto& row : sweepRows(result)) {
        for (std::size_t c = 0; c < row.size(); ++c)
            out << (c ? "\t" : "") << row[c];
        out << "\n";
    }
    for (const Gap& g : result.gaps)
        out << "points " << g.first + 1 << "-" << g.last + 1 << ": " << oneLine(g.message) << "\n";
}

std::string sweepCsv(const SweepResult& result) {
    std::ostringstream out;
    for (const auto& row : sweepRows(result)) {
        for (std::size_t c = 0; c < row.size(); ++c)
            out << (c ? "," : "") << csvCell(row[c]);
        out << "\r\n";
    }
    return out.str();
}

bool writeSweepCsv(const std::filesystem::path& file, const SweepResult& result) {
    std::ofstream f(file, std::ios::binary);
    f << sweepCsv(result);
    return static_cast<bool>(f.flush());
}

void printTolerance(std::ostream& out, const ToleranceResult& result, bool worstCase) {
    out << (worstCase ? "corners: " : "runs: ") << result.runs << "\n";
    out << "output\tnominal\tmin\tmean\tmax\tstd dev\tfailed\n";
    for (const Spread& s : result.spreads) {
        const bool any = !s.values.empty();
        out << s.output.label << "\t" << number(s.nominal) << "\t"
            << number(any ? std::optional(s.min) : std::nullopt) << "\t"
            << number(any ? std::optional(s.mean) : std::nullopt) << "\t"
            << number(any ? std::optional(s.max) : std::nullopt) << "\t"
            << number(any ? std::optional(s.stddev) : std::nullopt) << "\t" << s.failed << "\n";
    }
    for (const std::string& m : result.messages)
        out << "message: " << oneLine(m) << "\n";
}

} // namespace ferrovane
