#include "shell/box_reading.h"

#include "numeric/eng_text.h"

namespace ferrovane {

namespace {

bool isStar(std::string_view text) {
    return TrimBlanks(text) == "*";
}

// A box's text in a message: long texts are cut (at a character's start, so
// that UTF-8 stays whole).
std::string quotedText(const std::string& text) {
    constexpr std::size_t kLongest = 40;
    if (text.size() <= kLongest)
        return "\"" + text + "\"";
    std::size_t cut = kLongest;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    return "\"" + text.substr(0, cut) + "...\"";
}

void collect(const std::vector<ControlSpec>& items, const Form& form,
             std::vector<std::string>& found) {
    for (const ControlSpec& item : items) {
        if (const auto* box = std::get_if<BoxSpec>(&item)) {
            const std::string& text = form.text(box->name);
            if (form.visible(box->name) && form.enabled(box->name) && !form.locked(box->name) &&
                holdsNoNumber(box->reading, text))
                found.push_back(boxCaption(*box, form) + " " + quotedText(text));
        } else if (const auto* frame = std::get_if<std::shared_ptr<FrameSpec>>(&item)) {
            if (form.visible((*frame)->name))
                collect((*frame)->children, form, found);
        } else if (const auto* grid = std::get_if<std::shared_ptr<GridSpec>>(&item)) {
            if (form.visible((*grid)->name))
                collect((*grid)->cells, form, found);
        }
    }
}

} // namespace

std::string readingRule(BoxReading reading) {
    switch (reading) {
    case BoxReading::Number:
        break;
    case BoxReading::SuffixedOhms:
        return "Ohms; k, M or Meg after the number multiply it, and leaving the box sets the "
               "nearest 5% standard value.";
    case BoxReading::FreeText:
        return "Free text, kept as typed.";
    case BoxReading::NumberOrStar:
        return "A number, or a single * for none.";
    }
    return "A number; anything typed after it is ignored (4.7k reads as 4.7).";
}

std::optional<std::string> boxReadingHint(BoxReading reading, std::string_view text) {
    switch (reading) {
    case BoxReading::FreeText:
        return std::nullopt;
    case BoxReading::SuffixedOhms: {
        const SuffixedOhms read = readSuffixedOhms(text);
        if (read.ignored.empty())
            return std::nullopt;
        return readingHintText(read.ohms, read.ignored);
    }
    case BoxReading::NumberOrStar:
        if (isStar(text))
            return std::nullopt;
        break;
    case BoxReading::Number:
        break;
    }
    return ReadingHint(text);
}

bool holdsNoNumber(BoxReading reading, std::string_view text) {
    if (reading == BoxReading::FreeText || (reading == BoxReading::NumberOrStar && isStar(text)))
        return false;
    // Blanks alone are an empty box; anything else without a leading number
    // has a hint, which names the whole text.
    return !hasLeadingNumber(text) && ReadingHint(text).has_value();
}

std::string boxCaption(const BoxSpec& box, const Form& form) {
    if (!box.accessibleName.empty())
        return box.accessibleName;
    const std::string& shown =
        !box.labelName.empty() && form.has(box.labelName) ? form.text(box.labelName) : box.label;
    // The lines of a two-line label, joined by one blank.
    std::string label;
    for (std::size_t start = 0; start <= shown.size();) {
        std::size_t end = shown.find('\n', start);
        if (end == std::string::npos)
            end = shown.size();
        const std::string line = TrimBlanks(std::string_view(shown).substr(start, end - start));
        if (!line.empty())
            label += (label.empty() ? "" : " ") + line;
        start = end + 1;
    }
    while (!label.empty() && (label.back() == ' ' || label.back() == ',' || label.back() == '.' ||
                              label.back() == ':'))
        label.pop_back();
    if (!label.empty())
        return label;
    return box.unit.empty() ? box.name : box.unit;
}

std::vector<std::string> boxesWithoutNumber(const FormSpec& layout, const Form& form) {
    std::vector<std::string> found;
    for (const auto* region : {&layout.left, &layout.right, &layout.bottom})
        collect(*region, form, found);
    return found;
}

} // namespace ferrovane
