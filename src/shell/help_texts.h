#pragma once

namespace ferrovane {

// The help texts of the standard buttons, shown by the windows with a quick
// help box. Two blanks after a full stop inside a text, as users know them.
inline constexpr const char* CalcHelp =
    "Calculate all unknown values, round them off and place them in the boxes.";
inline constexpr const char* CloseHelp =
    "If you want the data to be saved DO NOT clear the data before closing.  After closing you "
    "will be returned to the main window.";
inline constexpr const char* ClearHelp = "Clear all data boxes to 0.000.";
inline constexpr const char* ReloadHelp =
    "If you want to continue working where you left off just press this button.  The data that "
    "was in the boxes when you pressed the 'close' button will be restored so you can continue "
    "working on it.";
inline constexpr const char* ExampleHelp =
    "To help you get started an example problem has been supplied.  Load it by clicking this "
    "button.";

} // namespace ferrovane
