#include "shell/spice.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "numeric/numeric_fault.h"

namespace ferrovane {

namespace {

bool isWordChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

void requireWord(std::string_view word, const char* what) {
    if (word.empty() || !std::all_of(word.begin(), word.end(), isWordChar))
        throw std::invalid_argument(std::string("netlist ") + what + " \"" + std::string(word) +
                                    "\" is not a plain word");
}

std::string lower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string trimmedNumber(double mantissa) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.12g", mantissa);
    return buf;
}

std::string percentText(double value) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%+.4f %%", value);
    return buf;
}

std::string figureText(double value, const std::string& unit) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.6g", value);
    return unit.empty() ? std::string(buf) : std::string(buf) + " " + unit;
}

} // namespace

std::string spiceNumber(double value) {
    if (!std::isfinite(value))
        throw NumericFault("a netlist value is not a finite number");
    if (value == 0)
        return "0";
    struct Scale {
        int exponent;
        const char* suffix;
    };
    static constexpr Scale kScales[] = {{12, "t"}, {9, "g"},  {6, "meg"}, {3, "k"},   {0, ""},
                                        {-3, "m"}, {-6, "u"}, {-9, "n"},  {-12, "p"}, {-15, "f"}};
    const double magnitude = std::fabs(value);
    for (const Scale& s : kScales) {
        const double unit = std::pow(10.0, s.exponent);
        if (magnitude >= unit * (1 - 1e-13))
            return trimmedNumber(value / unit) + s.suffix;
    }
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.12e", value);
    return buf;
}

std::string spiceElement(std::string_view designator, const std::vector<std::string>& nodes,
                         std::string_view value) {
    requireWord(designator, "designator");
    if (!std::isalpha(static_cast<unsigned char>(designator.front())))
        throw std::invalid_argument("netlist designator must start with a letter");
    std::string line(designator);
    for (const std::string& node : nodes) {
        requireWord(node, "node");
        line += ' ' + node;
    }
    if (value.find_first_of("\r\n") != std::string_view::npos)
        throw std::invalid_argument("netlist value holds a line break");
    if (!value.empty())
        line += ' ' + std::string(value);
    return line;
}

std::string spiceAt(double value) {
    return "at=" + spiceNumber(value);
}

std::string acAnalysisAt(double f) {
    return ".ac lin 3 " + spiceNumber(f * (1 - 1e-6)) + " " + spiceNumber(f * (1 + 1e-6));
}

std::string dcAnalysisAt(std::string_view source, double value) {
    requireWord(source, "source");
    const double step = std::max(std::fabs(value) * 1e-6, 1e-9);
    return ".dc " + std::string(source) + " " + spiceNumber(value - step) + " " +
           spiceNumber(value + step) + " " + spiceNumber(step);
}

std::string spiceComment(std::string_view text) {
    std::string out;
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        const char kept = (u < 0x20 || u == 0x7f) ? ' ' : c;
        if (kept == ' ' && (out.empty() || out.back() == ' '))
            continue;
        out += kept;
        if (out.size() >= 200)
            break;
    }
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

std::string renderNetlist(const Netlist& n, const NetlistContext& context) {
    std::string out = spiceComment("Ferrovane: " + n.calculator + ", " + context.date) + "\n";
    auto comment = [&out](std::string_view text) { out += "* " + spiceComment(text) + "\n"; };
    if (!context.designTitle.empty())
        comment("Design: " + context.designTitle);
    for (const std::string& note : n.notes)
        comment(note);
    out += "\n";
    for (const SpiceElement& e : n.elements) {
        if (!e.from.empty())
            comment(e.from);
        out += e.line + "\n";
    }
    for (const std::string& m : n.models)
        out += m + "\n";
    out += "\n.save all\n";
    for (const std::string& a : n.analyses)
        out += a + "\n";
    out += "\n";
    for (const SpiceFigure& f : n.figures) {
        requireWord(f.name, "measurement");
        if (f.calculated)
            comment(f.label + ": calculated " + figureText(*f.calculated, f.unit) + ", within " +
                    figureText(f.tolerancePercent, "%"));
        requireWord(f.analysis, "analysis");
        if (f.measure.find_first_of("\r\n") != std::string::npos)
            throw std::invalid_argument("netlist measurement holds a line break");
        out += ".meas " + f.analysis + " " + f.name + " " + f.measure + "\n";
    }
    out += ".end\n";
    return out;
}

std::vector<std::pair<std::string, double>> parseMeasurements(std::string_view output) {
    std::vector<std::pair<std::string, double>> found;
    std::size_t pos = 0;
    while (pos < output.size()) {
        std::size_t end = output.find('\n', pos);
        if (end == std::string_view::npos)
            end = output.size();
        const std::string_view line = output.substr(pos, end - pos);
        pos = end + 1;
        if (line.size() > 1000)
            continue;
        std::size_t i = 0;
        while (i < line.size() && line[i] == ' ')
            ++i;
        const std::size_t nameStart = i;
        while (i < line.size() && isWordChar(line[i]))
            ++i;
        if (i == nameStart || !std::isalpha(static_cast<unsigned char>(line[nameStart])))
            continue;
        const std::string name = lower(line.substr(nameStart, i - nameStart));
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        if (i >= line.size() || line[i] != '=')
            continue;
        const std::string rest(line.substr(i + 1, std::min<std::size_t>(60, line.size() - i - 1)));
        char* stop = nullptr;
        const double value = std::strtod(rest.c_str(), &stop);
        if (stop == rest.c_str() || !std::isfinite(value))
            continue;
        found.emplace_back(name, value);
    }
    return found;
}

std::vector<FigureCheck> checkFigures(const Netlist& netlist, std::string_view output) {
    const auto measured = parseMeasurements(output);
    std::vector<FigureCheck> checks;
    for (const SpiceFigure& f : netlist.figures) {
        if (!f.calculated)
            continue;
        FigureCheck c;
        c.label = f.label;
        c.unit = f.unit;
        c.calculated = *f.calculated;
        c.tolerancePercent = f.tolerancePercent;
        // The last value of that name: ngspice prints each result once, after
        // any echo of the netlist.
        for (const auto& [name, value] : measured)
            if (name == lower(f.name))
                c.simulated = value;
        if (c.simulated) {
            const double scale = f.scale > 0 ? f.scale : std::fabs(c.calculated);
            const double diff = *c.simulated - c.calculated;
            c.differencePercent = scale > 0 ? 100 * diff / scale : (diff == 0 ? 0 : INFINITY);
            c.ok = std::fabs(c.differencePercent) <= c.tolerancePercent;
        }
        checks.push_back(c);
    }
    return checks;
}

std::string renderChecks(const std::vector<FigureCheck>& checks) {
    std::size_t width = 6;
    for (const FigureCheck& c : checks)
        width = std::max(width, c.label.size());
    auto pad = [](std::string text, std::size_t w) {
        text.resize(std::max(w, text.size()), ' ');
        return text;
    };
    std::string out = pad("Figure", width) + "  " + pad("Calculated", 18) + "  " +
                      pad("Simulated", 18) + "  Difference\n";
    for (const FigureCheck& c : checks) {
        out += pad(c.label, width) + "  " + pad(figureText(c.calculated, c.unit), 18) + "  ";
        if (!c.simulated) {
            out += pad("(none)", 18) + "  not measured\n";
            continue;
        }
        out += pad(figureText(*c.simulated, c.unit), 18) + "  " + percentText(c.differencePercent);
        out += c.ok ? "\n" : "  outside +/-" + figureText(c.tolerancePercent, "%") + "\n";
    }
    return out;
}

} // namespace ferrovane
