#pragma once

#include <string>
#include <vector>

#include "shell/calculator.h"

namespace ferrovane {

// The help pages are HTML files in one folder: the overview and one page per
// calculator window, named by the calculator's catalogue id.
inline constexpr const char* kHelpOverview = "index.html";
std::string helpPageFile(const std::string& id); // "l-network" -> "l-network.html"

// A caption as the user reads it on the screen: "&&" is one ampersand, a
// single "&" only marks the keyboard mnemonic and is not shown, and runs of
// blanks read as one.
std::string shownCaption(const std::string& stored);

// Every caption a window shows as it opens, in the order of its description:
// box and drop-down labels, option and check-box captions, and the button row
// (the standard four where the window lists none); nothing of a control or
// frame hidden at opening. Each as shownCaption gives it, once, without empty
// ones. A help page names each of them.
std::vector<std::string> shownCaptions(const FormSpec& form);

} // namespace ferrovane
