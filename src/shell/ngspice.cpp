#include "shell/ngspice.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <vector>

#include "numeric/numeric_fault.h"
#include "shell/explore_session.h"
#include "shell/named_design.h"
#include "shell/run.h"
#include "shell/window_cycle.h"

extern char** environ;

namespace ferrovane {

namespace {

bool executable(const std::string& path) {
    return ::access(path.c_str(), X_OK) == 0;
}

// A child process whose stdout and stderr come through one pipe.
struct Child {
    pid_t pid = -1;
    int out = -1;
};

int spawn(const SpiceLimits& limits, const std::filesystem::path& folder, const std::string& file,
          Child& child) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return errno;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 2);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    // Its own process group, so that stopping it stops anything it started.
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attr, 0);
    std::string program = limits.program, batch = "-b", name = file;
    char* argv[] = {program.data(), batch.data(), name.data(), nullptr};
    const int rc = posix_spawnp(&child.pid, program.c_str(), &actions, &attr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    ::close(fds[1]);
    if (rc != 0) {
        ::close(fds[0]);
        return rc;
    }
    child.out = fds[0];
    return 0;
}

SpiceRun stopped(Child& child, SpiceRun run, SpiceRun::Status status, std::string why) {
    ::kill(-child.pid, SIGKILL);
    run.status = status;
    run.why = std::move(why);
    return run;
}

// Reads the child's output until it ends, the time is up, the output is too
// long or the user cancels.
SpiceRun collect(Child& child, const SpiceLimits& limits, Progress* progress) {
    SpiceRun run;
    const auto start = std::chrono::steady_clock::now();
    char buf[8192];
    for (;;) {
        if (progress && progress->cancelled())
            return stopped(child, run, SpiceRun::Status::Cancelled,
                           "The simulation was cancelled.");
        const auto elapsed = std::chrono::steady_clock::now() - start;
        if (elapsed > limits.time)
            return stopped(child, run, SpiceRun::Status::TimedOut,
                           "ngspice did not finish within " +
                               std::to_string(limits.time.count() / 1000) +
                               " seconds and was stopped.");
        pollfd p{child.out, POLLIN, 0};
        const int ready = ::poll(&p, 1, 50);
        if (ready < 0 && errno != EINTR)
            return stopped(child, run, SpiceRun::Status::Failed,
                           "ngspice's output could not be read.");
        if (ready <= 0)
            continue;
        const ssize_t got = ::read(child.out, buf, sizeof buf);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        run.output.append(buf, static_cast<std::size_t>(got));
        if (run.output.size() > limits.outputBytes)
            return stopped(child, run, SpiceRun::Status::TooMuchOutput,
                           "ngspice printed more than " + std::to_string(limits.outputBytes >> 10) +
                               " KiB and was stopped.");
    }
    run.status = SpiceRun::Status::Done;
    return run;
}

} // namespace

bool spiceAvailable(const SpiceLimits& limits) {
    if (limits.program.find('/') != std::string::npos)
        return executable(limits.program);
    const char* path = std::getenv("PATH");
    std::stringstream dirs(path ? path : "/usr/bin:/bin");
    std::string dir;
    while (std::getline(dirs, dir, ':'))
        if (!dir.empty() && executable(dir + "/" + limits.program))
            return true;
    return false;
}

SpiceRun runSpice(const std::string& netlist, const SpiceLimits& limits, Progress* progress) {
    SpiceRun run;
    if (!spiceAvailable(limits)) {
        run.status = SpiceRun::Status::NotInstalled;
        run.why = std::string("ngspice is not installed. Install it with \"") + kInstallNgspice +
                  "\" and try again.";
        return run;
    }
    ScratchDir folder;
    const std::string file = "circuit.cir";
    {
        std::ofstream out(folder.path() / file, std::ios::binary);
        out << netlist;
        if (!out.flush()) {
            run.why = "The netlist could not be written to a temporary folder.";
            return run;
        }
    }
    Child child;
    if (const int rc = spawn(limits, folder.path(), file, child); rc != 0) {
        run.status = rc == ENOENT ? SpiceRun::Status::NotInstalled : SpiceRun::Status::Failed;
        run.why = "ngspice could not be started.";
        return run;
    }
    run = collect(child, limits, progress);
    ::close(child.out);
    int status = 0;
    while (::waitpid(child.pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (run.status == SpiceRun::Status::Done && !(WIFEXITED(status) && WEXITSTATUS(status) == 0)) {
        run.status = SpiceRun::Status::Failed;
        run.why = "ngspice reported an error in the netlist.";
    }
    return run;
}

NetlistResult netlistOf(const Calculator& calc, const Form& form) {
    NetlistResult r;
    if (!calc.netlist) {
        r.why = "This calculator has no circuit to simulate.";
        return r;
    }
    try {
        r.netlist = calc.netlist(form);
        if (!r.netlist)
            r.why = "The last calculation holds no circuit to simulate.";
        else if (r.netlist->calculator.empty())
            r.netlist->calculator = calc.form.caption;
    } catch (const NumericFault& fault) {
        r.netlist.reset();
        r.why = std::string("The circuit cannot be written: ") + fault.what() + ".";
    }
    return r;
}

namespace {

// Passes messages on and counts them: a press that shows none completed.
class CountingDialogs : public Dialogs {
public:
    explicit CountingDialogs(Dialogs& inner) : inner_(inner) {}
    Answer show(const Message& message) override {
        ++shown;
        return inner_.show(message);
    }
    int shown = 0;

private:
    Dialogs& inner_;
};

} // namespace

void pressKeepingCircuit(const Calculator& calc, Form& form, CalcEnv& env,
                         const std::string& button, std::optional<Form>& circuit) {
    CountingDialogs counting(env.dialogs);
    CalcEnv counted{counting, env.files, env.printer, env.metrics, env.longRuns};
    pressButton(calc, form, counted, button);
    if (isCalculateButton(button))
        circuit = counting.shown == 0 ? std::optional<Form>(form) : std::nullopt;
    else if (button == "CmdClr" || button == "CmdLoadData")
        circuit.reset();
}

bool SpiceCheck::passed() const {
    if (run.status != SpiceRun::Status::Done || checks.empty())
        return false;
    return std::all_of(checks.begin(), checks.end(), [](const FigureCheck& c) { return c.ok; });
}

SpiceCheck checkWithSpice(const Netlist& netlist, const std::string& text,
                          const SpiceLimits& limits, Progress* progress) {
    SpiceCheck check;
    check.run = runSpice(text, limits, progress);
    if (check.run.status == SpiceRun::Status::Done || check.run.status == SpiceRun::Status::Failed)
        check.checks = checkFigures(netlist, check.run.output);
    return check;
}

std::string todayText() {
    return designTimeNow().substr(0, 10); // "2026-12-07 14:03:12"
}

} // namespace ferrovane
