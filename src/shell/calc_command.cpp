#include "shell/calc_command.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <ostream>

#include "numeric/eng_text.h"
#include "shell/calc_args.h"
#include "shell/calc_output.h"
#include "shell/help_topics.h"
#include "shell/ngspice.h"

namespace ferrovane {

std::filesystem::path userDataFolder(const std::filesystem::path& programDir, bool installed) {
    if (!installed && !programDir.empty() && ::access(programDir.c_str(), W_OK) == 0)
        return programDir;
    const char* xdg = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    const std::filesystem::path base = xdg && *xdg ? std::filesystem::path(xdg)
                                       : home      ? std::filesystem::path(home) / ".local/share"
                                                   : std::filesystem::path(".");
    return base / "Ferrovane" / "Ferrovane";
}

namespace {

const char* kUsage =
    "usage: ferrovane calc --list\n"
    "       ferrovane calc ID [--example | --last] [--set NAME=TEXT]... [--option NAME]...\n"
    "                  [--check NAME=on|off]... [--choose NAME=TEXT]... [--answer yes|no]\n"
    "                  [--press BUTTON] [--json] [--data-dir DIR]\n"
    "       ferrovane calc ID ... --sweep NAME=FROM:TO:POINTS[:log] [--output OUT]... [--csv "
    "FILE]\n"
    "       ferrovane calc ID ... --tolerance NAME=PERCENT... [--runs N] [--seed S]\n"
    "                  [--worst-case] [--output OUT]...\n"
    "       ferrovane calc [ID] --design FILE.fvd ... [--save-design FILE.fvd]\n"
    "       ferrovane calc ID ... [--spice FILE.cir] [--simulate]\n"
    "--design starts from a saved design; --save-design saves the form after the press.\n"
    "NAME is a control's name or its label; OUT is a box's name or LIST:LINE:K.\n"
    "--spice writes the circuit as a SPICE netlist; --simulate runs it in ngspice and\n"
    "compares its figures with the calculator's (status 1 when one is out of tolerance).\n"
    "Runs use a private copy of the data files: your own files are never changed.\n";

// Copies the regular files of from (each up to the data files' size limit)
// into to; a folder that cannot be read gives nothing.
void copyFiles(const std::filesystem::path& from, const std::filesystem::path& to) {
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(from, ec)) {
        std::error_code fileEc;
        if (e.is_regular_file(fileEc) && e.file_size(fileEc) <= (1u << 20))
            std::filesystem::copy_file(e.path(), to / e.path().filename(),
                                       std::filesystem::copy_options::overwrite_existing, fileEc);
    }
}

// The data folder of the run: the one named, or a private one seeded with
// the examples (and the user's files for --last).
struct RunFolder {
    std::optional<ScratchDir> scratch;
    std::filesystem::path path;
};

void prepareFolder(RunFolder& f, const CalcArgs& a, const std::filesystem::path& userData) {
    if (a.dataDir) {
        f.path = *a.dataDir;
        return;
    }
    f.scratch.emplace();
    f.path = f.scratch->path();
    seedExamples(f.path);
    if (a.start == CalcArgs::Start::Last)
        copyFiles(userData, f.path);
    // A design holds the data file's lines: the run opens on them as a
    // window opens on its last run.
    const Calculator& calc = a.entry->calculator();
    if (a.design && !calc.dataFile.empty())
        DataDir(f.path).writeLines(calc.dataFile, a.design->fields);
}

// --save-design: the form after the press, keeping the title and notes of
// the design the run started from.
bool saveDesign(const CalcArgs& a, CalculatorRun& run, std::ostream& err) {
    NamedDesign design = makeDesign(*a.entry, run.form(), run.env(), designTimeNow());
    if (a.design) {
        design.title = a.design->title;
        design.notes = a.design->notes;
        design.explore = a.design->explore;
    }
    const WriteResult written = writeDesign(*a.saveDesign, design);
    if (!written)
        err << "ferrovane calc: the design could not be saved: " << written.error << "\n";
    return written.ok;
}

std::vector<Quantity> outputsOf(const CalcArgs& a, const Form& form) {
    std::vector<Quantity> out;
    for (const std::string& text : a.outputs) {
        auto q = parseQuantity(a.entry->calculator(), form, text);
        if (!q)
            throw UsageError{"unknown output \"" + text +
                             "\": name a box, or LIST:LINE:K with the list's name"};
        out.push_back(*q);
    }
    return out;
}

int explore(const CalcArgs& a, CalculatorRun& run, const DataDir& dir, std::ostream& out,
            std::ostream& err) {
    // Sweeps never write the folder a user named: they run on a copy of it.
    std::optional<ScratchDir> copy;
    std::optional<DataDir> copied;
    if (a.dataDir) {
        copy.emplace();
        copyFiles(dir.path(), copy->path());
        copied.emplace(copy->path());
    }
    const DataDir* runDir = copied ? &*copied : &dir;
    const ExploreBase base{&a.entry->calculator(), run.form(), runDir, a.press, a.answer};
    Progress progress;
    if (a.sweep) {
        SweepRequest r = *a.sweep;
        r.outputs = outputsOf(a, run.form());
        if (auto why = checkSweep(base, r))
            return err << "ferrovane calc: " << *why << "\n", 2;
        const SweepResult result = *runSweep(base, r, progress);
        printSweep(out, result);
        if (a.csv && !writeSweepCsv(*a.csv, result))
            return err << "ferrovane calc: cannot write " << a.csv->string() << "\n", 1;
        return result.gaps.empty() ? 0 : 1;
    }
    ToleranceRequest r = *a.tolerance;
    r.outputs = outputsOf(a, run.form());
    if (auto why = checkTolerance(base, r))
        return err << "ferrovane calc: " << *why << "\n", 2;
    const ToleranceResult result = *runTolerance(base, r, progress);
    printTolerance(out, result, r.worstCase);
    return 0;
}

// --spice and --simulate after a completed press: writes the netlist, runs
// it, prints the comparison. 1 when any of it fails or a figure is outside
// its tolerance.
int exportSpice(const CalcArgs& a, const Form& form, std::ostream& out, std::ostream& err) {
    const NetlistResult built = netlistOf(a.entry->calculator(), form);
    if (!built.netlist)
        return err << "ferrovane calc: " << built.why << "\n", 1;
    NetlistContext context{todayText(), a.design ? a.design->title : ""};
    const std::string text = renderNetlist(*built.netlist, context);
    if (a.spice) {
        std::ofstream file(*a.spice, std::ios::binary);
        if (!(file << text) || !file.flush())
            return err << "ferrovane calc: cannot write " << a.spice->string() << "\n", 1;
    }
    if (!a.simulate)
        return 0;
    const SpiceCheck check = checkWithSpice(*built.netlist, text);
    if (check.run.status != SpiceRun::Status::Done && check.checks.empty())
        return err << "ferrovane calc: " << check.run.why << "\n", 1;
    out << "\n" << renderChecks(check.checks);
    if (!check.run.why.empty())
        err << "ferrovane calc: " << check.run.why << "\n";
    return check.passed() ? 0 : 1;
}

int runCommand(const CalcArgs& a, const std::filesystem::path& userData, std::ostream& out,
               std::ostream& err) {
    RunFolder folder;
    prepareFolder(folder, a, userData);
    const DataDir dir(folder.path);
    const RunStart start =
        a.start == CalcArgs::Start::Empty && !a.dataDir ? RunStart::Empty : RunStart::Saved;
    CalculatorRun run(a.entry->calculator(), dir, start, a.answer);
    for (const RunAction& action : a.actions)
        run.apply(action);
    if (a.sweep || a.tolerance)
        return explore(a, run, dir, out, err);
    run.apply({RunAction::Kind::Press, a.press, {}});
    if (a.saveDesign && !saveDesign(a, run, err))
        return 1;
    const RunOutcome outcome = run.outcome();
    if (a.json)
        printJson(out, *a.entry, outcome);
    else
        printText(out, a.entry->calculator(), outcome);
    if (!outcome.completed)
        return 1;
    return a.spice || a.simulate ? exportSpice(a, outcome.form, out, err) : 0;
}

} // namespace

int calcCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                const std::filesystem::path& userData, const std::filesystem::path& helpDir) {
    try {
        const CalcArgs a = parseCalcArgs(args);
        if (a.help && !a.entry)
            return out << kUsage, 0;
        if (a.list) {
            for (const auto& e : catalogue())
                out << e.id << "  " << mainWindowCaption(e) << "\n";
            return 0;
        }
        if (a.help) {
            std::ifstream in(helpDir / helpPageFile(a.entry->id), std::ios::binary);
            const std::string page{std::istreambuf_iterator<char>(in), {}};
            return printCalculatorHelp(out, a.entry->calculator(), page), 0;
        }
        return runCommand(a, userData, out, err);
    } catch (const UsageError& e) {
        err << "ferrovane calc: " << e.text << "\n";
        return 2;
    } catch (const std::exception& e) {
        err << "ferrovane calc: " << e.what() << "\n";
        return 1;
    }
}

} // namespace ferrovane
