#include "shell/help_topics.h"

#include <algorithm>
#include <functional>

namespace ferrovane {

std::string helpPageFile(const std::string& id) {
    return id + ".html";
}

std::string shownCaption(const std::string& stored) {
    std::string out;
    for (std::size_t i = 0; i < stored.size(); ++i) {
        char c = stored[i];
        if (c == '&') {
            if (i + 1 < stored.size() && stored[i + 1] == '&')
                ++i; // "&&": one literal ampersand
            else
                continue; // a mnemonic marker
        }
        if (c == '\t' || c == '\r' || c == '\n')
            c = ' ';
        if (c == ' ' && (out.empty() || out.back() == ' '))
            continue;
        out += c;
    }
    if (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

namespace {

using AddCaption = std::function<void(const std::string&)>;

// The captions of the controls shown at opening; a hidden control, or a
// hidden frame with everything in it, shows none.
void addShown(const std::vector<ControlSpec>& items, const AddCaption& add) {
    for (const ControlSpec& item : items) {
        if (const auto* b = std::get_if<BoxSpec>(&item)) {
            if (b->visible)
                add(b->label);
        } else if (const auto* c = std::get_if<ComboSpec>(&item)) {
            add(c->label);
        } else if (const auto* g = std::get_if<GroupSpec>(&item)) {
            for (const auto& option : g->options)
                add(option.second);
        } else if (const auto* k = std::get_if<CheckSpec>(&item)) {
            add(k->caption);
        } else if (const auto* button = std::get_if<ButtonSpec>(&item)) {
            if (button->visible)
                add(button->caption);
        } else if (const auto* f = std::get_if<std::shared_ptr<FrameSpec>>(&item)) {
            if ((*f)->visible)
                addShown((*f)->children, add);
        } else if (const auto* grid = std::get_if<std::shared_ptr<GridSpec>>(&item)) {
            addShown((*grid)->cells, add);
        }
    }
}

} // namespace

std::vector<std::string> shownCaptions(const FormSpec& form) {
    std::vector<std::string> captions;
    const AddCaption add = [&captions](const std::string& stored) {
        std::string caption = shownCaption(stored);
        if (!caption.empty() &&
            std::find(captions.begin(), captions.end(), caption) == captions.end())
            captions.push_back(std::move(caption));
    };
    for (const auto* region : {&form.left, &form.right, &form.bottom})
        addShown(*region, add);
    for (const ButtonSpec& b : form.buttons.empty() ? standardButtons(form) : form.buttons)
        if (b.visible)
            add(b.caption);
    return captions;
}

} // namespace ferrovane
