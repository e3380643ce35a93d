#include "shell/quantities.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>

#include "numeric/eng_text.h"

namespace ferrovane {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isWordChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// Where a number starts at i: a digit, or a sign or point before one, not
// continuing a word or another number. Returns its length, 0 for none.
std::size_t numberAt(const std::string& s, std::size_t i, double& value) {
    if (i > 0 && (isWordChar(s[i - 1]) || s[i - 1] == '.'))
        return 0;
    std::size_t j = i;
    if (s[j] == '-' || s[j] == '+')
        ++j;
    if (j < s.size() && s[j] == '.')
        ++j;
    if (j >= s.size() || !isDigit(s[j]))
        return 0;
    char* end = nullptr;
    value = std::strtod(s.c_str() + i, &end);
    return static_cast<std::size_t>(end - (s.c_str() + i));
}

template <typename Visit> void scanNumbers(const std::string& s, Visit visit) {
    for (std::size_t i = 0; i < s.size();) {
        double v = 0;
        const std::size_t n = numberAt(s, i, v);
        visit(i, n, v);
        i += n ? n : 1;
    }
}

} // namespace

std::vector<double> numbersIn(const std::string& text) {
    std::vector<double> out;
    scanNumbers(text, [&](std::size_t, std::size_t n, double v) {
        if (n)
            out.push_back(v);
    });
    return out;
}

std::string numberLabel(const std::string& text) {
    std::string out;
    scanNumbers(text, [&](std::size_t i, std::size_t n, double) {
        out += n ? std::string("#") : text.substr(i, 1);
    });
    return TrimBlanks(out);
}

std::vector<BoxSpec> boxesOf(const Calculator& calc) {
    std::vector<BoxSpec> boxes;
    forEachControl(calc.form, [&](const ControlSpec& c) {
        if (const auto* b = std::get_if<BoxSpec>(&c))
            boxes.push_back(*b);
    });
    return boxes;
}

std::optional<Quantity> parseQuantity(const Calculator& calc, const Form& form,
                                      const std::string& text) {
    const auto colon = text.find(':');
    if (colon == std::string::npos) {
        for (const BoxSpec& b : boxesOf(calc))
            if (b.name == text)
                return Quantity{.box = b.name, .label = b.label.empty() ? b.name : b.label};
        return std::nullopt;
    }
    const auto second = text.find(':', colon + 1);
    const std::string list = text.substr(0, colon);
    const auto lists = form.lists();
    if (second == std::string::npos || std::find(lists.begin(), lists.end(), list) == lists.end())
        return std::nullopt;
    const std::string lineText = text.substr(colon + 1, second - colon - 1);
    const std::string kText = text.substr(second + 1);
    const auto whole = [](const std::string& t) {
        return !t.empty() && t.size() < 7 &&
               std::all_of(t.begin(), t.end(), [](char c) { return isDigit(c); });
    };
    if (!whole(lineText) || !whole(kText) || std::stoi(lineText) < 1 || std::stoi(kText) < 1)
        return std::nullopt;
    Quantity q{.list = list, .line = std::stoi(lineText), .k = std::stoi(kText)};
    const auto& lines = form.list(list);
    q.label = q.line <= static_cast<int>(lines.size()) ? numberLabel(lines[q.line - 1]) : text;
    return q;
}

std::optional<double> readQuantity(const Form& form, const Quantity& q) {
    if (!q.box.empty())
        return form.number(q.box);
    const auto& lines = form.list(q.list);
    if (q.line > static_cast<int>(lines.size()))
        return std::nullopt;
    const auto numbers = numbersIn(lines[q.line - 1]);
    if (q.k > static_cast<int>(numbers.size()))
        return std::nullopt;
    return numbers[q.k - 1];
}

std::vector<std::optional<double>> readQuantities(const Form& form,
                                                  const std::vector<Quantity>& qs) {
    std::map<std::pair<std::string, int>, std::vector<double>> read;
    std::vector<std::optional<double>> out;
    for (const Quantity& q : qs) {
        if (!q.box.empty()) {
            out.push_back(form.number(q.box));
            continue;
        }
        const auto& lines = form.list(q.list);
        if (q.line > static_cast<int>(lines.size())) {
            out.push_back(std::nullopt);
            continue;
        }
        auto [it, fresh] = read.try_emplace({q.list, q.line});
        if (fresh)
            it->second = numbersIn(lines[q.line - 1]);
        out.push_back(q.k <= static_cast<int>(it->second.size())
                          ? std::optional<double>(it->second[q.k - 1])
                          : std::nullopt);
    }
    return out;
}

std::vector<Quantity> resultQuantities(const Calculator& calc, const Form& before,
                                       const Form& after) {
    std::vector<Quantity> out;
    for (const BoxSpec& b : boxesOf(calc))
        if (after.visible(b.name) &&
            (after.locked(b.name) || after.text(b.name) != before.text(b.name)) &&
            !numbersIn(after.text(b.name)).empty())
            out.push_back(Quantity{.box = b.name, .label = b.label.empty() ? b.name : b.label});
    for (const auto& list : after.lists()) {
        const auto& lines = after.list(list);
        for (std::size_t l = 0; l < lines.size(); ++l) {
            const std::size_t n = numbersIn(lines[l]).size();
            for (std::size_t k = 0; k < n; ++k) {
                const std::string label = numberLabel(lines[l]);
                out.push_back(
                    Quantity{.list = list,
                             .line = static_cast<int>(l + 1),
                             .k = static_cast<int>(k + 1),
                             .label = n > 1 ? label + " #" + std::to_string(k + 1) : label});
            }
        }
    }
    return out;
}

} // namespace ferrovane
