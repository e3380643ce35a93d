// The netlist text, ngspice's output read back, and the simulator run with
// its limits.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "numeric/numeric_fault.h"
#include "shell/ngspice.h"
#include "shell/run.h"
#include "shell/spice.h"

namespace ferrovane {
namespace {

// SPICE's own reading of a number with a scale suffix, written here apart
// from the code under test.
double readSpice(const std::string& text) {
    std::size_t used = 0;
    const double mantissa = std::stod(text, &used);
    const std::string suffix = text.substr(used);
    static const std::pair<const char*, double> kSuffixes[] = {
        {"t", 1e12}, {"g", 1e9},  {"meg", 1e6}, {"k", 1e3},   {"", 1},
        {"m", 1e-3}, {"u", 1e-6}, {"n", 1e-9},  {"p", 1e-12}, {"f", 1e-15}};
    for (const auto& [s, scale] : kSuffixes)
        if (suffix == s)
            return mantissa * scale;
    ADD_FAILURE() << "unknown suffix in " << text;
    return 0;
}

TEST(SpiceNumber, WritesSuffixesAndKeepsTwelveDigits) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {4700, "4.7k"},
        {50, "50"},
        {39.9120794439e-12, "39.9120794439p"},
        {1.5e6, "1.5meg"},
        {-2.2e-3, "-2.2m"},
        {0, "0"},
        {1e12, "1t"},
        {999.999999999, "999.999999999"},
        {1e-15, "1f"},
        {3.3e-18, "3.300000000000e-18"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(spiceNumber(c.value), c.text) << c.value;
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> exponent(-17, 14), sign(-1, 1);
    for (int i = 0; i < 2000; ++i) {
        const double v = std::copysign(std::pow(10.0, exponent(rng)), sign(rng));
        EXPECT_NEAR(readSpice(spiceNumber(v)), v, std::fabs(v) * 1e-11) << spiceNumber(v);
    }
    EXPECT_THROW(spiceNumber(NAN), NumericFault);
    EXPECT_THROW(spiceNumber(INFINITY), NumericFault);
}

TEST(SpiceElement, OnlyPlainWords) {
    EXPECT_EQ(spiceElement("R1", {"in", "0"}, "4.7k"), "R1 in 0 4.7k");
    EXPECT_THROW(spiceElement("R1\n.control", {"in", "0"}, "1"), std::invalid_argument);
    EXPECT_THROW(spiceElement("R1", {"in out"}, "1"), std::invalid_argument);
    EXPECT_THROW(spiceElement("1R", {"a", "b"}, "1"), std::invalid_argument);
    EXPECT_THROW(spiceElement("R1", {"a", "b"}, "1\nshell rm x"), std::invalid_argument);
}

TEST(SpiceComment, KeepsOneLineOfPrintableText) {
    EXPECT_EQ(spiceComment("40 m\r\n.control\tshell\x01 touch x\x7f"),
              "40 m .control shell touch x");
    EXPECT_EQ(spiceComment(std::string(500, 'a')).size(), 200u);
    EXPECT_EQ(spiceComment("  \n "), "");
}

Netlist divider() {
    Netlist n;
    n.calculator = "Divider";
    n.elements = {{spiceElement("V1", {"in", "0"}, "DC 10"), "source"},
                  {spiceElement("R1", {"in", "out"}, spiceNumber(3000)), "upper"},
                  {spiceElement("R2", {"out", "0"}, spiceNumber(1000)), "lower"}};
    n.analyses = {dcAnalysisAt("V1", 10)};
    n.figures = {{"dc", "vo", "Vo", "V", "find v(out) at=10", 2.5, 0.1},
                 {"dc", "vi", "", "", "find v(in) at=10"},
                 {"dc", "ratio", "Ratio", "", "param='vo/vi'", 0.25, 0.1}};
    return n;
}

TEST(Netlist, TextFromAFileStaysInCommentsAndNgspiceRunsNothingOfIt) {
    ScratchDir dir;
    const auto victim = dir.path() / "victim";
    Netlist n = divider();
    n.elements[1].from = "R1 from \"x\n.control\nshell touch " + victim.string() + "\n.endc\"";
    NetlistContext context{"2026-12-07",
                           "Match\n.control\nshell touch " + victim.string() + "\n.endc"};
    const std::string text = renderNetlist(n, context);
    std::istringstream lines(text);
    std::string line;
    std::getline(lines, line); // the title line
    while (std::getline(lines, line)) {
        EXPECT_NE(line.rfind(".control", 0), 0u) << line;
        EXPECT_NE(line.rfind(".endc", 0), 0u) << line;
        EXPECT_NE(line.rfind("shell", 0), 0u) << line;
    }
    const SpiceCheck check = checkWithSpice(n, text);
    ASSERT_EQ(check.run.status, SpiceRun::Status::Done) << check.run.why << check.run.output;
    EXPECT_TRUE(check.passed()) << renderChecks(check.checks);
    EXPECT_FALSE(std::filesystem::exists(victim));
}

TEST(Measurements, ReadsResultsAndSkipsFailuresAndJunk) {
    const std::string output = "Warning: can't parse 'vm': ignored\n"
                               "  Measurements for AC Analysis\n"
                               "zin_re              =  6.000000e+03\n"
                               "zin_im              =  -8.152853e-08\n"
                               "Q                   =  1.09087e+01 targ= 2 trig= 1\n"
                               "bw                  =   failed\n"
                               "= 5\n" +
                               std::string(2000, 'x') + " = 3\n" + "1abc = 4\n" + "nan_v = nan\n";
    const auto found = parseMeasurements(output);
    const std::vector<std::pair<std::string, double>> expected{
        {"zin_re", 6000}, {"zin_im", -8.152853e-08}, {"q", 10.9087}};
    EXPECT_EQ(found, expected);
}

TEST(Checks, ComparesAgainstTheScaleAndFlagsWhatIsMissingOrOutside) {
    Netlist n;
    n.figures = {{"ac", "a", "A", "", "x", 100.0, 0.1},
                 {"ac", "b", "B", "", "x", 0.0, 0.1, 50},
                 {"ac", "c", "C", "", "x", 10.0, 1},
                 {"ac", "d", "D", "", "x", 1.0, 1},
                 {"ac", "e", "", "", "x"}};
    const auto checks = checkFigures(n, "a = 100.05\nb = 0.1\nc = 10.2\ne = 9\n");
    ASSERT_EQ(checks.size(), 4u);
    EXPECT_NEAR(checks[0].differencePercent, 0.05, 1e-9);
    EXPECT_TRUE(checks[0].ok);
    EXPECT_NEAR(checks[1].differencePercent, 0.2, 1e-9);
    EXPECT_FALSE(checks[1].ok);
    EXPECT_NEAR(checks[2].differencePercent, 2, 1e-9);
    EXPECT_FALSE(checks[2].ok);
    EXPECT_FALSE(checks[3].simulated);
    EXPECT_FALSE(checks[3].ok);
}

// A stand-in for ngspice: a script that ignores its netlist.
std::string fakeSpice(const ScratchDir& dir, const std::string& body) {
    const auto path = dir.path() / "fake-spice";
    std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
    return path.string();
}

TEST(SpiceRunner, StopsWhatHangsFloodsOrIsCancelledAndSaysWhatIsMissing) {
    ScratchDir dir;
    const struct {
        std::string body;
        SpiceRun::Status status;
    } cases[] = {
        {"exec sleep 30", SpiceRun::Status::TimedOut},
        {"exec yes", SpiceRun::Status::TooMuchOutput},
        {"echo 'v = 1'; exit 3", SpiceRun::Status::Failed},
        {"echo 'v = 1'", SpiceRun::Status::Done},
    };
    for (const auto& c : cases) {
        SpiceLimits limits{fakeSpice(dir, c.body), std::chrono::milliseconds(400), 64 << 10};
        const auto start = std::chrono::steady_clock::now();
        const SpiceRun run = runSpice("* nothing\n.end\n", limits);
        EXPECT_EQ(run.status, c.status) << c.body << ": " << run.why;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << c.body;
        EXPECT_LE(run.output.size(), (64u << 10) + 8192) << c.body;
        EXPECT_EQ(run.why.empty(), c.status == SpiceRun::Status::Done) << c.body;
    }
    Progress cancelled;
    cancelled.cancel();
    EXPECT_EQ(runSpice("", {fakeSpice(dir, "exec sleep 30")}, &cancelled).status,
              SpiceRun::Status::Cancelled);
    const SpiceRun missing = runSpice("", {"ferrovane-no-such-simulator"});
    EXPECT_EQ(missing.status, SpiceRun::Status::NotInstalled);
    EXPECT_NE(missing.why.find(kInstallNgspice), std::string::npos);
}

} // namespace
} // namespace ferrovane
