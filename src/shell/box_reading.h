#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "shell/calculator.h"

namespace ferrovane {

// The sentence that tells how a box of this kind takes its text.
std::string readingRule(BoxReading reading);

// What the box's own rule leaves out of its text, said for the user
// ('Read as 4.7: the rest ("k") is ignored.'); nothing where the rule takes
// the whole text: "4.7" in a number box, "470 k" in a resistor box, a "*"
// that stands for none, any free text.
std::optional<std::string> boxReadingHint(BoxReading reading, std::string_view text);

// Whether the text holds no number the box could read: something other than
// blanks, no leading number, and not a "*" that stands for none. An empty box
// is a zero the user left, not this; free text never is.
bool holdsNoNumber(BoxReading reading, std::string_view text);

// The box as the window names it now: its accessible name, else its label
// (a changed one as the form holds it, its lines joined by a blank, without
// a closing comma or full stop), else its unit or its control name.
std::string boxCaption(const BoxSpec& box, const Form& form);

// The boxes a user can type in now (shown, in shown frames, enabled, not
// locked) whose text holds no number, each as its caption and the text in
// double quotes: 'Frequency "abc"'.
std::vector<std::string> boxesWithoutNumber(const FormSpec& layout, const Form& form);

} // namespace ferrovane
