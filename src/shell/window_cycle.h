#pragma once

#include <optional>
#include <string>
#include <vector>

#include "shell/calculator.h"

namespace ferrovane {

// The calculator window cycle, once for every calculator: opening, loading,
// Clear, Calculate, Close. Each takes the calculator's description, its form
// and what the handlers may use.

// The form as designed: every control with its design-time text and flags.
Form makeForm(const Calculator& calc);

// Form_Load: reads the data file once for the example flag and the fields,
// sets "Load Example", runs the window's own set-up. Returns the form to show.
Form Form_Load(const Calculator& calc, CalcEnv& env);

// The names the description uses (file fields, Clear's boxes and groups,
// handler keys, help texts) that it does not declare; empty when all are.
std::vector<std::string> undeclaredNames(const Calculator& calc);

// Reads the data file, once, into the form (the calculator's own reader when
// it has one). A missing or short file is read as far as it goes, silently.
void LoadFile(const Calculator& calc, Form& form, CalcEnv& env);
// The standard reader, for calculators that extend it: over the fields a
// load already read, or reading the file itself.
void StandardLoadFile(const Calculator& calc, Form& form, CalcEnv& env, const DataFields& fields);
void StandardLoadFile(const Calculator& calc, Form& form, CalcEnv& env);

void CmdLoadData_Click(const Calculator& calc, Form& form, CalcEnv& env);
// Empties the listed boxes and turns the listed option groups off, unless the
// calculator has a Clear of its own.
void CmdClr_Click(const Calculator& calc, Form& form, CalcEnv& env);
// Returns false when a numeric fault left the form unchanged.
bool CmdCalc_Click(const Calculator& calc, Form& form, CalcEnv& env);

// Selecting an option has the effect of clicking it: the group changes and
// the calculator's option handler runs.
void selectOption(const Calculator& calc, Form& form, CalcEnv& env, const std::string& option);
void clickCheck(const Calculator& calc, Form& form, CalcEnv& env, const std::string& name,
                bool checked);
// The user typed: the box takes the text and the box handler runs.
void editBox(const Calculator& calc, Form& form, CalcEnv& env, const std::string& name,
             const std::string& text);

// A drop-down box took a text (chosen or typed): its handler runs.
void chooseCombo(const Calculator& calc, Form& form, CalcEnv& env, const std::string& name,
                 const std::string& text);
// A box lost the keyboard focus: its handler runs.
void leaveBox(const Calculator& calc, Form& form, CalcEnv& env, const std::string& name);

enum class ButtonOutcome { Stay, Close };
// A button pressed: the standard ones run the window cycle, the close button
// asks the caller to close (CmdClose_Click), any other runs its handler.
ButtonOutcome pressButton(const Calculator& calc, Form& form, CalcEnv& env,
                          const std::string& name);

// Runs a handler on a copy of the form. When it ends in a numeric fault the
// copy is dropped, the form stays as it was and one message says what could
// not be calculated, naming the boxes whose text held no number; returns
// false then.
bool runGuarded(const Calculator& calc, Form& form, CalcEnv& env, const Handler& handler);

// The data file's lines as Close writes them: "False", then the fields.
std::vector<std::string> fileLines(const Calculator& calc, const Form& form);

enum class CloseOutcome {
    Saved,    // the file was written; the window closes
    NotSaved, // writing failed and the user chose to close anyway
    KeptOpen, // writing failed and the user kept the window open
};
// CmdClose_Click's save step. The caller discards the window unless the
// outcome is KeptOpen.
CloseOutcome CmdClose_Click(const Calculator& calc, Form& form, CalcEnv& env);

// Mouse-over help: the text the help box takes when the mouse moves over a
// control, or nothing when that control has no help.
std::optional<std::string> hoverHelpText(const Calculator& calc, const Form& form,
                                         const std::string& control);

// The message shown when a calculation ends in a numeric fault; unread names
// the boxes that held no number and so were read as 0 ('Frequency "abc"').
std::string numericFaultText(const std::string& reason,
                             const std::vector<std::string>& unread = {});

} // namespace ferrovane
