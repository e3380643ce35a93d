#include "shell/form.h"

#include <cmath>
#include <stdexcept>

#include "numeric/eng_text.h"
#include "numeric/numeric_fault.h"

namespace ferrovane {

namespace {

// The entry of a name, which must have been declared: an unknown name is a
// programming error in a calculator's description or rules.
template <typename Map> auto& entry(Map& map, const std::string& name, const char* what) {
    auto it = map.find(name);
    if (it == map.end())
        throw std::out_of_range(std::string("no ") + what + " named " + name);
    return it->second;
}

} // namespace

double checkFinite(double x, const char* what) {
    if (!std::isfinite(x))
        throw NumericFault(what);
    return x;
}

std::string engText(double value) {
    return FormatEng(checkFinite(value));
}

void Form::addControl(const std::string& name, const std::string& text) {
    controls_[name].text = text;
}

void Form::addGroup(const std::string& group, const std::vector<std::string>& options) {
    groups_[group].options = options;
    for (const auto& option : options) {
        optionGroup_[option] = group;
        controls_.try_emplace(option);
    }
}

void Form::addList(const std::string& name) {
    lists_[name];
}

Form::Control& Form::control(const std::string& name) {
    return entry(controls_, name, "control");
}

const Form::Control& Form::control(const std::string& name) const {
    return entry(controls_, name, "control");
}

const std::string& Form::text(const std::string& name) const {
    return control(name).text;
}

void Form::setText(const std::string& name, std::string text) {
    control(name).text = std::move(text);
}

double Form::number(const std::string& name) const {
    return ReadNumber(text(name));
}

void Form::setEng(const std::string& name, double value) {
    setText(name, engText(value));
}

int Form::option(const std::string& group) const {
    return entry(groups_, group, "option group").selected;
}

bool Form::selected(const std::string& optionName) const {
    return option(groupOf(optionName)) == numberOf(optionName);
}

void Form::setOption(const std::string& group, int number) {
    auto& found = entry(groups_, group, "option group");
    if (number >= 1 && number <= static_cast<int>(found.options.size()))
        found.selected = number;
}

void Form::clearOption(const std::string& group) {
    entry(groups_, group, "option group").selected = 0;
}

const std::string& Form::groupOf(const std::string& optionName) const {
    return entry(optionGroup_, optionName, "option");
}

int Form::numberOf(const std::string& optionName) const {
    const auto& opts = options(groupOf(optionName));
    for (std::size_t i = 0; i < opts.size(); ++i)
        if (opts[i] == optionName)
            return static_cast<int>(i) + 1;
    return 0;
}

std::vector<std::string> Form::options(const std::string& group) const {
    return entry(groups_, group, "option group").options;
}

std::vector<std::string>& Form::list(const std::string& name) {
    return entry(lists_, name, "list");
}

const std::vector<std::string>& Form::list(const std::string& name) const {
    return entry(lists_, name, "list");
}

std::vector<std::string> Form::lists() const {
    std::vector<std::string> names;
    for (const auto& [name, lines] : lists_)
        names.push_back(name);
    return names;
}

double Form::value(const std::string& name) const {
    return entry(values_, name, "window value");
}

void Form::setValue(const std::string& name, double v) {
    entry(values_, name, "window value") = v;
}

void Form::addValue(const std::string& name) {
    values_.try_emplace(name, 0.0);
}

void Form::addDrawing(const std::string& name, double widthTwips, double heightTwips) {
    Drawing& d = drawings_[name];
    d.widthTwips = widthTwips;
    d.heightTwips = heightTwips;
    controls_.try_emplace(name);
}

Drawing& Form::drawing(const std::string& name) {
    return entry(drawings_, name, "drawing");
}

const Drawing& Form::drawing(const std::string& name) const {
    return entry(drawings_, name, "drawing");
}

} // namespace ferrovane
