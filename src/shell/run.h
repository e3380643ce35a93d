#pragma once

#include <deque>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "shell/calculator.h"

namespace ferrovane {

// A calculator run without a window: a start, the user's actions in order,
// and what came of them. The scenario tests, the command line, sweeps and
// tolerance spreads all run calculators through this one path, which uses
// the same window-cycle functions a window does.

// Where the form starts: the boxes as designed (no data file of its own), or
// what the data folder holds (the worked example in a freshly seeded folder,
// or the user's last run in a copy of the user's folder).
enum class RunStart { Empty, Saved };

struct RunAction {
    enum class Kind { Set, Option, Check, Choose, Leave, Press };
    Kind kind = Kind::Press;
    std::string name; // the control's name
    std::string text; // Set and Choose: the text; Check: "on" or "off"
};

// Records every message and answers each question from a queue, then with
// the default answer.
class RecordingDialogs : public Dialogs {
public:
    explicit RecordingDialogs(Answer fallback = Answer::Yes) : fallback(fallback) {}
    Answer show(const Message& message) override;
    std::vector<std::string> texts() const;

    std::vector<Message> shown;
    std::deque<Answer> answers;
    Answer fallback;
};

// Keeps every job it is given, as if a printer had printed it.
class RecordingPrinter : public Printer {
public:
    bool print(const PrintJob& job) override {
        jobs.push_back(job);
        return true;
    }
    std::vector<PrintJob> jobs;
};

struct RunOutcome {
    Form form;                     // every box, list and drawing as the window shows them
    std::vector<Message> messages; // in the order shown
    std::vector<PrintJob> printed;
    // The data and design files the run wrote: file name -> lines.
    std::map<std::string, std::vector<std::string>> files;
    bool completed = true; // the last press ended without a message
    bool closed = false;   // the close button was pressed (and the file written)
};

// A run in progress: the form opened from dir, then one action at a time.
// A press of the close button writes the data file and ends the run.
class CalculatorRun {
public:
    CalculatorRun(const Calculator& calc, const DataDir& dir, RunStart start,
                  Answer answer = Answer::Yes);
    // Applies the action as the window would; false once the run has closed
    // (later actions are ignored).
    bool apply(const RunAction& action);

    const Calculator& calculator() const { return calc_; }
    const Form& form() const { return out_.form; }
    RecordingDialogs& dialogs() { return dialogs_; }
    const RecordingPrinter& printer() const { return printer_; }
    CalcEnv& env() { return env_; }
    bool closed() const { return out_.closed; }
    // The outcome so far, with the files written since the run began.
    RunOutcome outcome() const;

private:
    const Calculator& calc_;
    const DataDir& dir_;
    RecordingDialogs dialogs_;
    RecordingPrinter printer_;
    CalcEnv env_;
    std::map<std::string, std::string> before_; // the folder's files as the run found them
    RunOutcome out_;
};

// The whole run at once.
RunOutcome runCalculator(const Calculator& calc, const DataDir& dir, RunStart start,
                         const std::vector<RunAction>& actions, Answer answer = Answer::Yes);

// One action applied to an open form, as the window would apply it.
// Returns false when it was a press of the close button (the file is then
// written as Close writes it).
bool applyAction(const Calculator& calc, Form& form, CalcEnv& env, const RunAction& action);

// A folder of its own (in memory where the system offers it, otherwise in
// the temporary folder), removed with everything in it when the object goes.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Fills dir with every calculator's worked example, as a new installation
// has them, without waiting for the disk (the folder is a scratch one).
void seedExamples(const std::filesystem::path& dir);

// The calculator's form with its worked example loaded, as a window shows it
// on a freshly seeded data folder.
Form exampleForm(const Calculator& calc);

} // namespace ferrovane
