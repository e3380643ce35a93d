#include "shell/explore_session.h"

#include <utility>

#include "numeric/eng_text.h"
#include "shell/example_files.h"
#include "shell/plot_axes.h"
#include "shell/window_cycle.h"

namespace ferrovane {

namespace {

// The form without what changes while nobody calculates: the mouse-over
// help, a pending focus request, the window's maximised state.
Form withoutPassingState(const Calculator& calc, Form form) {
    if (calc.form.hoverHelp && form.has(calc.form.hoverHelp->box))
        form.setText(calc.form.hoverHelp->box, "");
    form.clearFocus();
    form.setMaximised(false);
    return form;
}

// Runs work over a fresh scratch copy of the data folder, through host when
// there is one. Nothing when it was cancelled.
template <typename Result, typename Work>
std::optional<Result> onScratchCopy(const DataDir& files, const std::string& title,
                                    LongRunHost* host, Work work) {
    ScratchDir scratch;
    const DataDir dir(scratch.path());
    copyDataFiles(files, dir);
    std::optional<Result> out;
    const LongWork job = [&](Progress& progress) { out = work(dir, progress); };
    if (host) {
        if (!host->run(title, job))
            return std::nullopt;
    } else {
        Progress progress;
        job(progress);
    }
    return out;
}

} // namespace

bool isCalculateButton(const std::string& button) {
    return button.rfind("CmdCalc", 0) == 0;
}

std::string explorePress(const Calculator& calc, const LastPress* last) {
    if (last)
        return last->button;
    std::string first;
    forEachControl(calc.form, [&](const ControlSpec& c) {
        if (const auto* b = std::get_if<ButtonSpec>(&c);
            b && first.empty() && isCalculateButton(b->name))
            first = b->name;
    });
    return first;
}

void copyDataFiles(const DataDir& from, const DataDir& to) {
    for (const ExampleFile& file : exampleFiles()) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(from.resolve(file.name), ec))
            to.copyFrom(from, file.name);
    }
}

std::string gapText(const SweepResult& r, const Gap& g) {
    const auto at = [&](int i) { return axisNumber(r.x[static_cast<std::size_t>(i)]); };
    if (g.first == g.last)
        return "Point " + std::to_string(g.first + 1) + " (" + r.input + " = " + at(g.first) +
               "): " + g.message;
    return "Points " + std::to_string(g.first + 1) + " to " + std::to_string(g.last + 1) + " (" +
           r.input + " = " + at(g.first) + " to " + at(g.last) + "): " + g.message;
}

ExploreSession::ExploreSession(const Calculator& calc, const DataDir& files, const Form& shown,
                               const LastPress* last)
    : calc_(calc), files_(files), shown_(shown), form_(shown), press_(explorePress(calc, last)) {
    if (last && withoutPassingState(calc, last->after) == withoutPassingState(calc, shown)) {
        form_ = last->before;
        results_ = resultQuantities(calc, last->before, last->after);
    }
}

std::vector<BoxSpec> ExploreSession::inputs() const {
    std::vector<BoxSpec> out;
    for (BoxSpec b : boxesOf(calc_)) {
        if (b.readOnly || !form_.visible(b.name) || !form_.enabled(b.name) || form_.locked(b.name))
            continue;
        // A label the calculator changes reads as it shows now.
        if (!b.labelName.empty() && form_.has(b.labelName))
            b.label = form_.text(b.labelName);
        b.label = TrimBlanks(b.label);
        if (b.label.empty())
            b.label = b.accessibleName.empty() ? b.name : b.accessibleName;
        out.push_back(std::move(b));
    }
    return out;
}

bool ExploreSession::findResults(LongRunHost* host) {
    const auto after =
        onScratchCopy<Form>(files_, "Calculating once", host, [&](const DataDir& dir, Progress&) {
            RecordingDialogs dialogs;
            CalcEnv env{dialogs, dir};
            Form f = form_;
            if (!press_.empty())
                pressButton(calc_, f, env, press_);
            return f;
        });
    if (!after)
        return false;
    shown_ = *after;
    results_ = resultQuantities(calc_, form_, *after);
    return true;
}

std::string ExploreSession::describe(const Quantity& q) const {
    if (!q.box.empty())
        return q.label + ": " + TrimBlanks(shown_.text(q.box));
    const auto& lines = shown_.list(q.list);
    if (q.line < 1 || q.line > static_cast<int>(lines.size()))
        return q.label;
    const std::string& line = lines[static_cast<std::size_t>(q.line - 1)];
    const std::size_t n = numbersIn(line).size();
    std::string text = TrimBlanks(line);
    if (n > 1)
        text += "  (number " + std::to_string(q.k) + " of " + std::to_string(n) + ")";
    return text;
}

namespace {

ExploreBase baseOf(const Calculator& calc, const Form& form, const DataDir& dir,
                   const std::string& press) {
    return ExploreBase{&calc, form, &dir, press};
}

constexpr const char* kNoCalculate = "This window has no Calculate button to press.";
constexpr const char* kNoOutputs = "Choose at least one result.";

} // namespace

std::optional<std::string> ExploreSession::check(const SweepRequest& r) const {
    if (press_.empty())
        return kNoCalculate;
    if (r.outputs.empty())
        return kNoOutputs;
    return checkSweep(baseOf(calc_, form_, files_, press_), r);
}

std::optional<std::string> ExploreSession::check(const ToleranceRequest& r) const {
    if (press_.empty())
        return kNoCalculate;
    if (r.outputs.empty())
        return kNoOutputs;
    return checkTolerance(baseOf(calc_, form_, files_, press_), r);
}

std::optional<SweepResult> ExploreSession::sweep(const SweepRequest& r, LongRunHost* host) const {
    std::string title = "Sweeping " + r.box;
    for (const BoxSpec& b : inputs())
        if (b.name == r.box)
            title = "Sweeping " + b.label;
    return onScratchCopy<SweepResult>(
        files_, title, host, [&](const DataDir& dir, Progress& progress) {
            return runSweep(baseOf(calc_, form_, dir, press_), r, progress);
        });
}

std::optional<ToleranceResult> ExploreSession::tolerance(const ToleranceRequest& r,
                                                         LongRunHost* host) const {
    const std::string title = r.worstCase ? "Working every corner" : "Running the spread";
    return onScratchCopy<ToleranceResult>(
        files_, title, host, [&](const DataDir& dir, Progress& progress) {
            return runTolerance(baseOf(calc_, form_, dir, press_), r, progress);
        });
}

} // namespace ferrovane
