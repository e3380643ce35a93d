#include "shell/form.h"

#include <cmath>
#include <stdexcept>

#include "numeric/eng_text.h"
#include "numeric/numeric_fault.h"

namespace ferrovane {

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
    auto it = controls_.find(name);
    if (it == controls_.end())
        throw std::out_of_range("no control named " + name);
    return it->second;
}

const Form::Control& Form::control(const std::string& name) const {
    auto it = controls_.find(name);
    if (it == controls_.end())
        throw std::out_of_range("no control named " + name);
    return it->second;
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
    auto it = groups_.find(group);
    if (it == groups_.end())
        throw std::out_of_range("no option group named " + group);
    return it->second.selected;
}

bool Form::selected(const std::string& optionName) const {
    return option(groupOf(optionName)) == numberOf(optionName);
}

void Form::setOption(const std::string& group, int number) {
    auto it = groups_.find(group);
    if (it == groups_.end())
        throw std::out_of_range("no option group named " + group);
    if (number >= 1 && number <= static_cast<int>(it->second.options.size()))
        it->second.selected = number;
}

void Form::clearOption(const std::string& group) {
    auto it = groups_.find(group);
    if (it == groups_.end())
        throw std::out_of_range("no option group named " + group);
    it->second.selected = 0;
}

const std::string& Form::groupOf(const std::string& optionName) const {
    auto it = optionGroup_.find(optionName);
    if (it == optionGroup_.end())
        throw std::out_of_range("no option named " + optionName);
    return it->second;
}

int Form::numberOf(const std::string& optionName) const {
    const auto& opts = options(groupOf(optionName));
    for (std::size_t i = 0; i < opts.size(); ++i)
        if (opts[i] == optionName)
            return static_cast<int>(i) + 1;
    return 0;
}

const std::vector<std::string>& Form::options(const std::string& group) const {
    auto it = groups_.find(group);
    if (it == groups_.end())
        throw std::out_of_range("no option group named " + group);
    return it->second.options;
}

std::vector<std::string>& Form::list(const std::string& name) {
    auto it = lists_.find(name);
    if (it == lists_.end())
        throw std::out_of_range("no list named " + name);
    return it->second;
}

const std::vector<std::string>& Form::list(const std::string& name) const {
    auto it = lists_.find(name);
    if (it == lists_.end())
        throw std::out_of_range("no list named " + name);
    return it->second;
}

std::vector<std::string> Form::lists() const {
    std::vector<std::string> names;
    for (const auto& [name, lines] : lists_)
        names.push_back(name);
    return names;
}

double Form::value(const std::string& name) const {
    auto it = values_.find(name);
    return it == values_.end() ? 0.0 : it->second;
}

} // namespace ferrovane
