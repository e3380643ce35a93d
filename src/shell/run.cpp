#include "shell/run.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>

#include "shell/example_files.h"
#include "shell/window_cycle.h"

namespace ferrovane {

Answer RecordingDialogs::show(const Message& message) {
    shown.push_back(message);
    if (message.buttons == MessageButtons::Ok)
        return Answer::Ok;
    if (answers.empty())
        return fallback;
    const Answer a = answers.front();
    answers.pop_front();
    return a;
}

std::vector<std::string> RecordingDialogs::texts() const {
    std::vector<std::string> t;
    for (const auto& m : shown)
        t.push_back(m.text);
    return t;
}

namespace {

// Scratch folders live in memory where the system offers it (a what-if run
// writes design files at every point), unless TMPDIR names another place.
std::filesystem::path scratchBase() {
    const char* tmp = std::getenv("TMPDIR");
    if ((!tmp || !*tmp) && ::access("/dev/shm", W_OK) == 0)
        return "/dev/shm";
    return std::filesystem::temp_directory_path();
}

} // namespace

ScratchDir::ScratchDir() {
    std::random_device rd;
    const std::filesystem::path base = scratchBase();
    for (;;) {
        path_ = base / ("ferrovane-" + std::to_string(rd()) + std::to_string(rd()));
        if (std::filesystem::create_directories(path_))
            return;
    }
}

ScratchDir::~ScratchDir() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
}

void seedExamples(const std::filesystem::path& dir) {
    // A folder made for one run or test need not reach the disk.
    DataDir seeded(dir);
    seeded.setDurable(false);
    RestoreExamples(seeded);
}

Form exampleForm(const Calculator& calc) {
    ScratchDir scratch;
    seedExamples(scratch.path());
    return runCalculator(calc, DataDir(scratch.path()), RunStart::Saved, {}).form;
}

namespace {

using Snapshot = std::map<std::string, std::string>;

Snapshot snapshot(const std::filesystem::path& dir) {
    Snapshot files;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(dir, ec)) {
        if (!e.is_regular_file(ec))
            continue;
        std::ifstream in(e.path(), std::ios::binary);
        files[e.path().filename().string()] = {std::istreambuf_iterator<char>(in),
                                               std::istreambuf_iterator<char>()};
    }
    return files;
}

} // namespace

bool applyAction(const Calculator& calc, Form& form, CalcEnv& env, const RunAction& action) {
    using Kind = RunAction::Kind;
    switch (action.kind) {
    case Kind::Set:
        editBox(calc, form, env, action.name, action.text);
        break;
    case Kind::Option:
        selectOption(calc, form, env, action.name);
        break;
    case Kind::Check:
        clickCheck(calc, form, env, action.name, action.text == "on");
        break;
    case Kind::Choose:
        chooseCombo(calc, form, env, action.name, action.text);
        break;
    case Kind::Leave:
        leaveBox(calc, form, env, action.name);
        break;
    case Kind::Press:
        if (pressButton(calc, form, env, action.name) == ButtonOutcome::Close) {
            CmdClose_Click(calc, form, env);
            return false;
        }
        break;
    }
    return true;
}

CalculatorRun::CalculatorRun(const Calculator& calc, const DataDir& dir, RunStart start,
                             Answer answer)
    : calc_(calc), dir_(dir), dialogs_(answer), env_{dialogs_, dir, &printer_} {
    if (start == RunStart::Empty && !calc.dataFile.empty()) {
        std::error_code ec;
        std::filesystem::remove(dir.resolve(calc.dataFile), ec);
    }
    before_ = snapshot(dir.path());
    out_.form = Form_Load(calc, env_);
}

bool CalculatorRun::apply(const RunAction& action) {
    if (out_.closed)
        return false;
    const std::size_t shown = dialogs_.shown.size();
    out_.closed = !applyAction(calc_, out_.form, env_, action);
    if (action.kind == RunAction::Kind::Press)
        out_.completed = dialogs_.shown.size() == shown;
    return !out_.closed;
}

RunOutcome CalculatorRun::outcome() const {
    RunOutcome out = out_;
    for (const auto& [name, bytes] : snapshot(dir_.path())) {
        const auto was = before_.find(name);
        if (was == before_.end() || was->second != bytes)
            out.files[name] = dir_.readLines(name, 1u << 20).value_or(std::vector<std::string>{});
    }
    out.messages = dialogs_.shown;
    out.printed = printer_.jobs;
    return out;
}

RunOutcome runCalculator(const Calculator& calc, const DataDir& dir, RunStart start,
                         const std::vector<RunAction>& actions, Answer answer) {
    CalculatorRun run(calc, dir, start, answer);
    for (const RunAction& action : actions)
        if (!run.apply(action))
            break;
    return run.outcome();
}

} // namespace ferrovane
