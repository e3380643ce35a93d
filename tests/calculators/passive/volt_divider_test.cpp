#include "calculators/passive/volt_divider.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "numeric/eng_text.h"
#include "shell/example_files.h"
#include "shell/window_cycle.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"

namespace ferrovane {
namespace {

using testing::ScriptedDialogs;
using testing::TempDir;

constexpr const char* kHeaderDesigned = " R1    R2    Ar  %Error Current  P in R1   P in R2";
constexpr const char* kHeaderLoaded =
    " R1    R2    Ar  %Error  Rin    Ro    Current  P in R1   P in R2";

// The example files, written once for all tests (writing all of them is
// slow, each is synced to disk).
const std::filesystem::path& examples() {
    static const TempDir dir;
    static const bool restored = static_cast<bool>(RestoreExamples(DataDir(dir.path())));
    EXPECT_TRUE(restored);
    return dir.path();
}

// The voltage divider window opened over a data directory of its own that
// holds the example file, or nothing.
struct Window {
    explicit Window(bool withExample = true) {
        if (withExample)
            std::filesystem::copy_file(examples() / "VoltDiv.DAT", tmp.path() / "VoltDiv.DAT");
        form = Form_Load(voltDivider(), env);
    }
    void calculate() { CmdCalc_Click(voltDivider(), form, env); }
    void click(const std::string& option) { selectOption(voltDivider(), form, env, option); }
    const std::vector<std::string>& lines() const { return form.list("LstOutput"); }

    TempDir tmp;
    DataDir dir{tmp.path()};
    ScriptedDialogs dialogs;
    CalcEnv env{dialogs, dir};
    Form form;
};

// The 5% values from 1 ohm to 10 M, written out here from the E24 series so
// that the expected lines do not depend on the calculator's own snapping.
std::vector<double> standardTable() {
    const int e24[] = {10, 11, 12, 13, 15, 16, 18, 20, 22, 24, 27, 30,
                       33, 36, 39, 43, 47, 51, 56, 62, 68, 75, 82, 91};
    std::vector<double> table{0};
    for (double decade = 0.1; decade < 1e6; decade *= 10)
        for (int v : e24)
            table.push_back(std::round(v * decade * 10) / 10);
    table.push_back(1e7);
    return table;
}

// Nearest by relative error, the lower value on a tie.
double snap(double r) {
    double best = 0;
    double bestError = 1;
    for (double t : standardTable()) {
        const double e = std::fabs(r - t) / r;
        if (e < bestError) {
            best = t;
            bestError = e;
        }
    }
    return best;
}

std::string shortest(double x) {
    std::ostringstream s;
    s.precision(15);
    s << x;
    return s.str();
}

// "6.2 k", "510 ", "1 M".
std::string standardText(double r) {
    if (r < 1000)
        return shortest(r) + " ";
    if (r < 1e6)
        return shortest(r / 1000) + " k";
    return shortest(r / 1e6) + " M";
}

std::string padded(std::string s, std::size_t column) {
    s += ' ';
    while (s.size() < column)
        s += ' ';
    return s;
}

std::string ratioText(double ar) {
    std::string t = shortest(std::floor(1000 * ar + 0.5) / 1000);
    if (t.rfind("0.", 0) == 0)
        t.erase(0, 1);
    return " " + t;
}

std::string errorText(double percent) {
    const double v = std::floor(100 * percent + 0.5) / 100;
    return (v < 0 ? "" : " ") + shortest(v);
}

// One expected line of the list from the divider's own circuit: R1 and R2,
// the attenuation they give, and what the source sees and delivers.
struct Divider {
    double r1, r2, arReal, arWanted, rin, ro;
};

std::string expectedLine(const Divider& d, const std::string& r1Text, const std::string& r2Text,
                         bool withPowers, double vin = 0, double vo = 0) {
    std::string line = padded(r1Text, 7);
    line = padded(line + r2Text, 14);
    line = padded(line + ratioText(d.arReal), 21);
    line = padded(line + errorText(100 * (d.arReal - d.arWanted) / d.arWanted), 28);
    line = padded(line + "  " + FormatOhms(d.rin) + "  " + FormatOhms(d.ro), 42);
    if (withPowers) {
        line = padded(line + FormatEng((vin - vo) / d.r1), 49);
        line = padded(line + FormatEng((vin - vo) * (vin - vo) / d.r1), 56);
        line += FormatEng(vo * vo / d.r2) + " ";
    }
    return line;
}

// R2 || RL must be k = Ar / (1 - Ar) times R1:
// R2 = k RL R1 / (RL - k R1).
double r2ForLoad(double r1, double rl, double ar) {
    const double k = ar / (1 - ar);
    return k * rl * r1 / (rl - k * r1);
}

// A divider R1, R2 feeding a load resistance RL.
Divider loadedByResistance(double r1, double r2, double rl, double arWanted) {
    const double r2Parallel = r2 * rl / (r2 + rl);
    return {r1,
            r2,
            r2Parallel / (r1 + r2Parallel),
            arWanted,
            r1 + r2Parallel,
            1 / (1 / r1 + 1 / r2 + 1 / rl)};
}

Divider unloaded(double r1, double r2, double arWanted) {
    return {r1, r2, r2 / (r1 + r2), arWanted, r1 + r2, r1 * r2 / (r1 + r2)};
}

// The example: 150 V out of 400 V into 1 M, Rt from 10 k to 1 M, standard
// values. R1 runs over every 5% value from 6.2 k (nearest 6.25 k) to 620 k
// (the next, 680 k, is above 625 k); R2 is the value nearest to what makes
// R2 || RL = 0.6 R1.
TEST(VoltDivider, ExampleListsEveryStandardR1From6k2To620kWithCurrentAndPowers) {
    Window w;
    w.calculate();
    EXPECT_TRUE(w.dialogs.shown.empty());
    EXPECT_EQ(w.form.text("TxtAr"), " 375.0e-3  ");
    EXPECT_EQ(w.form.text("TxtdB"), "-8.519     ");

    const double vin = 400, vo = 150, rl = 1e6, ar = 0.375;
    std::vector<std::string> expected;
    for (double r1 : standardTable()) {
        if (r1 < 6200 || r1 > 625e3)
            continue;
        const double r2 = snap(r2ForLoad(r1, rl, ar));
        expected.push_back(expectedLine(loadedByResistance(r1, r2, rl, ar), standardText(r1),
                                        standardText(r2), true, vin, vo));
    }
    ASSERT_EQ(expected.size(), 49u); // 6.2 k .. 9.1 k, 10 k .. 91 k, 100 k .. 620 k
    EXPECT_EQ(w.lines(), expected);

    // Worked by hand: R2 = 3.734 k -> 3.6 k, Ar' = 0.36651, error -2.263 %,
    // Rin = 6.2 k + 3.587 k, Ro = 2.272 k, I = 250 V / 6.2 k, P1 = 10.08 W,
    // P2 = 150^2 / 3.6 k = 6.25 W.
    ASSERT_EQ(w.lines().size(), 49u);
    EXPECT_EQ(w.lines()[0], "6.2 k  3.6 k   .367  -2.26    9.79 k  2.27 k  40.32e-3    10.08    "
                            "   6.250      ");
    EXPECT_EQ(w.lines()[5], "10 k   6.2 k   .381   1.67    16.2 k  3.81 k  25.00e-3    6.250    "
                            "   3.629      ");
    EXPECT_EQ(w.lines()[29], "100 k  62 k    .369  -1.7     158 k   36.9 k  2.500e-3    625.0e-3 "
                             "   362.9e-3   ");
    EXPECT_EQ(w.lines()[48], "620 k  620 k   .382   1.78    1.00 M  237 k   403.2e-6    100.8e-3 "
                             "   36.29e-3   ");
}

TEST(VoltDivider, ArModeHalfWithoutLoadGivesEqualStandardResistors) {
    Window w;
    w.click("OpAr");
    w.click("OpNoLoad");
    w.form.setText("TxtAr", ".5");
    w.form.setText("TxtRtMin", "1000");
    w.form.setText("TxtRtMax", "2000");
    w.calculate();
    EXPECT_TRUE(w.dialogs.shown.empty());
    EXPECT_EQ(w.form.text("TxtAr"), ".5"); // typed, not rewritten

    // R1 from 500 (nearest 510) to 1000; R2 = R1 exactly, so Ar' = 0.5.
    const std::vector<std::string> r1s = {"510 ", "560 ", "620 ", "680 ",
                                          "750 ", "820 ", "910 ", "1 k"};
    ASSERT_EQ(w.lines().size(), r1s.size());
    EXPECT_EQ(w.lines()[0], "510    510     .5     0       1.02 k  255    ");
    EXPECT_EQ(w.lines()[7], "1 k    1 k     .5     0       2.00 k  500    ");
    for (std::size_t i = 0; i < r1s.size(); ++i) {
        const std::string& line = w.lines()[i];
        EXPECT_EQ(line.substr(0, 7), padded(r1s[i], 7));
        EXPECT_EQ(line.substr(7, 7), padded(r1s[i], 7));
        EXPECT_EQ(line.substr(14, 14), " .5     0     ");
        EXPECT_EQ(line.size(), 45u); // no current or powers without the voltages
    }
}

TEST(VoltDivider, DecibelsOfEitherSignGiveTheSameAttenuation) {
    for (const char* dB : {"6", "-6"}) {
        SCOPED_TRACE(dB);
        Window w;
        w.click("OpdB");
        w.click("OpNoLoad");
        w.form.setText("TxtdB", dB);
        w.form.setText("TxtRtMin", "1000");
        w.form.setText("TxtRtMax", "2000");
        clickCheck(voltDivider(), w.form, w.env, "Check1", false);
        w.calculate();
        EXPECT_TRUE(w.dialogs.shown.empty());
        // 10^(-6/20) = 0.50119
        EXPECT_EQ(w.form.text("TxtAr"), " 501.2e-3  ");
        EXPECT_EQ(w.form.text("TxtdB"), dB);
        ASSERT_FALSE(w.lines().empty());
        // R1 = 0.49881 * 1 k, R2 = R1 * Ar / (1 - Ar) = 501.2.
        EXPECT_EQ(w.lines()[0], "499    501     .501   0       1.00 k  250    ");
    }
}

TEST(VoltDivider, WithoutStandardValuesEveryLineMatchesExactly) {
    Window w;
    clickCheck(voltDivider(), w.form, w.env, "Check1", false);
    w.calculate();
    EXPECT_TRUE(w.dialogs.shown.empty());

    // R1 = 6.25 k growing 10% a line while it stays at or below 625 k.
    std::vector<std::string> expected;
    for (double r1 = 6250; r1 <= 625e3; r1 *= 1.1) {
        // Exactly 3.764 k at the start, where P2 = 150^2 / R2 is 5.9775 exactly.
        const double r2 = r2ForLoad(r1, 1e6, 0.375);
        expected.push_back(expectedLine(loadedByResistance(r1, r2, 1e6, 0.375), FormatOhms(r1),
                                        FormatOhms(r2), true, 400, 150));
    }
    EXPECT_EQ(expected.size(), 49u);
    EXPECT_EQ(w.lines(), expected);
    for (const auto& line : w.lines())
        EXPECT_EQ(line.substr(14, 14), " .375   0     ") << line;
    ASSERT_FALSE(w.lines().empty());
    // R2 = 0.6 * 6.25 k * 1 M / (1 M - 3.75 k) = 3.764 k; P2 = 150^2 / 3764.
    EXPECT_EQ(w.lines()[0], "6.25 k 3.76 k  .375   0       10.0 k  2.34 k  40.00e-3    10.00    "
                            "   5.978      ");
}

TEST(VoltDivider, CurrentLoadingTakesTheLoadCurrentFromR2) {
    Window w;
    w.click("OpILoad");
    w.form.setText("TxtIL", ".01");
    w.calculate();
    // R2 carries (400 - 150) / R1 - 10 mA, which is gone above R1 = 25 k.
    ASSERT_EQ(w.dialogs.texts(),
              std::vector<std::string>{"The load current is too large for R1 of 27 k and above: R2 "
                                       "would be negative."});
    ASSERT_EQ(w.lines().size(), 15u); // 6.2 k .. 24 k
    // R2 = 150 / (250 / 6200 - 0.01) = 4.947 k -> 5.1 k;
    // Ar' = (400 - 62) / (1 + 6200 / 5100) / 400 = 0.38137.
    EXPECT_EQ(w.lines()[0], "6.2 k  5.1 k   .381   1.7     11.3 k  2.80 k  40.32e-3    10.08    "
                            "   4.412      ");
    EXPECT_EQ(w.lines()[14].substr(0, 7), "24 k   ");
}

TEST(VoltDivider, ZeroLoadCurrentIsToldOncePerPressAndActsAsNoLoad) {
    Window unloadedWindow;
    unloadedWindow.click("OpNoLoad");
    unloadedWindow.calculate();

    Window w;
    w.click("OpILoad");
    w.form.setText("TxtIL", "0");
    w.calculate();
    ASSERT_EQ(w.dialogs.shown.size(), 1u);
    EXPECT_EQ(w.dialogs.shown[0].text, "FYI, Load current is zero.");
    EXPECT_EQ(w.dialogs.shown[0].icon, MessageIcon::Information);
    EXPECT_EQ(w.dialogs.shown[0].title, kAppTitle);
    EXPECT_EQ(w.dialogs.shown[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(w.lines().size(), 49u);
    EXPECT_EQ(w.lines(), unloadedWindow.lines());

    w.calculate();
    EXPECT_EQ(w.dialogs.shown.size(), 2u);
    EXPECT_EQ(w.lines().size(), 49u);

    // No load: R2 = 0.6 R1, snapped; the current columns use the wanted Vo.
    std::vector<std::string> expected;
    for (double r1 : standardTable())
        if (r1 >= 6200 && r1 <= 625e3) {
            const double r2 = snap(0.6 * r1);
            expected.push_back(expectedLine(unloaded(r1, r2, 0.375), standardText(r1),
                                            standardText(r2), true, 400, 150));
        }
    EXPECT_EQ(unloadedWindow.lines(), expected);
}

TEST(VoltDivider, LoadResistanceTooSmallKeepsTheLinesBeforeR2TurnsNegative) {
    Window w;
    w.form.setText("TxtIL", "100e3");
    w.calculate();
    // R2 || 100 k = 0.6 R1 has no positive R2 once 0.6 R1 reaches 100 k.
    EXPECT_EQ(w.dialogs.texts(), std::vector<std::string>{"The load resistance is too small for R1 "
                                                          "of 180 k and above: R2 would be "
                                                          "negative."});
    ASSERT_EQ(w.lines().size(), 35u); // 6.2 k .. 160 k
    EXPECT_EQ(w.lines().back().substr(0, 7), "160 k  ");
    // At 160 k: R2 = 0.6 * 100 k * 160 k / (100 k - 96 k) = 2.4 M.
    EXPECT_EQ(w.lines().back().substr(7, 7), "2.4 M  ");
}

struct MessageCase {
    const char* name;
    const char* attenuation; // option
    const char* loading;     // option
    std::vector<std::pair<const char*, const char*>> boxes;
    const char* message;
};

TEST(VoltDivider, BadInputStopsWithItsMessageInOrder) {
    const std::vector<MessageCase> cases = {
        {"no Vin",
         "OpVinVout",
         "OpRLoad",
         {{"TxtVin", ""}, {"TxtVo", ""}},
         "Need a value for Vin."},
        {"no Vo", "OpVinVout", "OpRLoad", {{"TxtVo", "abc"}}, "Need a value for Vo."},
        {"Vo above Vin",
         "OpVinVout",
         "OpRLoad",
         {{"TxtVo", "500"}, {"TxtRtMin", "0"}},
         "Ar can't be greater than 1."},
        {"Ar above 1", "OpAr", "OpNoLoad", {{"TxtAr", "1.5"}}, "Ar can't be greater than 1."},
        {"Ar of 1",
         "OpAr",
         "OpNoLoad",
         {{"TxtAr", "1"}, {"TxtRtMin", "0"}},
         "Ar = 1 is a trivial case."},
        {"0 dB", "OpdB", "OpNoLoad", {{"TxtdB", "0"}}, "Ar = 1 is a trivial case."},
        {"Ar of 0",
         "OpAr",
         "OpNoLoad",
         {{"TxtAr", ""}, {"TxtRtMin", "0"}},
         "Ar must be greater than 0."},
        {"negative Ar", "OpAr", "OpRLoad", {{"TxtAr", "-.5"}}, "Ar must be greater than 0."},
        {"Vo against Vin",
         "OpVinVout",
         "OpNoLoad",
         {{"TxtVo", "-150"}},
         "Ar must be greater than 0."},
        {"no Rt min",
         "OpVinVout",
         "OpRLoad",
         {{"TxtRtMin", ""}, {"TxtRtMax", "-5"}},
         "Rt min and Rt max MUST NOT be zero."},
        {"no Rt max",
         "OpAr",
         "OpNoLoad",
         {{"TxtAr", ".5"}, {"TxtRtMax", "0"}},
         "Rt min and Rt max MUST NOT be zero."},
        {"negative Rt",
         "OpVinVout",
         "OpRLoad",
         {{"TxtRtMin", "-10e3"}},
         "Rt min and Rt max MUST be greater than zero."},
        {"Rt min = max",
         "OpVinVout",
         "OpRLoad",
         {{"TxtRtMin", "1e6"}},
         "Rt min MUST be less than Rt max."},
        {"Rt min > max",
         "OpVinVout",
         "OpRLoad",
         {{"TxtRtMax", "5e3"}, {"TxtIL", "0"}},
         "Rt min MUST be less than Rt max."},
        {"no load resistance",
         "OpVinVout",
         "OpRLoad",
         {{"TxtIL", ""}},
         "Need a value for load resistance."},
        {"negative load",
         "OpVinVout",
         "OpRLoad",
         {{"TxtIL", "-1e6"}},
         "Load resistance MUST be greater than zero."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Window w;
        w.calculate(); // a list to be emptied
        ASSERT_FALSE(w.lines().empty());
        w.click(c.attenuation);
        w.click(c.loading);
        for (const auto& [box, text] : c.boxes)
            w.form.setText(box, text);
        const std::string dBBefore = w.form.text("TxtdB");
        w.calculate();
        ASSERT_EQ(w.dialogs.shown.size(), 1u);
        const Message& m = w.dialogs.shown[0];
        EXPECT_EQ(m.text, c.message);
        EXPECT_EQ(m.title, kAppTitle);
        EXPECT_EQ(m.icon, MessageIcon::None);
        EXPECT_EQ(m.buttons, MessageButtons::Ok);
        EXPECT_TRUE(w.lines().empty());
        if (std::string(c.attenuation) == "OpdB") {
            EXPECT_EQ(w.form.text("TxtdB"), dBBefore);
        }
    }
}

TEST(VoltDivider, VoltagesAboveOneShowTheirRatioBeforeTheMessage) {
    Window w;
    w.form.setText("TxtVo", "500");
    w.calculate();
    EXPECT_EQ(w.form.text("TxtAr"), " 1.250     ");
    EXPECT_EQ(w.form.text("TxtdB"), " 1.938     "); // 20 log10(1.25)
    EXPECT_EQ(w.dialogs.texts(), std::vector<std::string>{"Ar can't be greater than 1."});
}

TEST(VoltDivider, TheListAlwaysEnds) {
    {
        SCOPED_TRACE("standard values stop at 10 M");
        Window w;
        w.click("OpAr");
        w.click("OpNoLoad");
        w.form.setText("TxtAr", ".5");
        w.form.setText("TxtRtMin", "1e6");
        w.form.setText("TxtRtMax", "1e12");
        w.calculate();
        EXPECT_TRUE(w.dialogs.shown.empty());
        // 510 k .. 910 k, 1 M .. 9.1 M, 10 M
        ASSERT_EQ(w.lines().size(), 7u + 24u + 1u);
        EXPECT_EQ(w.lines().back().substr(0, 14), "10 M   10 M   ");
    }
    {
        SCOPED_TRACE("10 M below the limit, where stepping stays at 10 M");
        Window w;
        w.click("OpAr");
        w.click("OpNoLoad");
        w.form.setText("TxtAr", ".5");
        w.form.setText("TxtRtMin", "20e6");
        w.form.setText("TxtRtMax", "21e6");
        w.calculate();
        ASSERT_EQ(w.lines().size(), 1u);
        EXPECT_EQ(w.lines()[0].substr(0, 7), "10 M   ");
    }
    {
        SCOPED_TRACE("a first R1 above the limit is listed alone");
        Window w;
        w.click("OpAr");
        w.click("OpNoLoad");
        w.form.setText("TxtAr", ".5");
        w.form.setText("TxtRtMin", "1000");
        w.form.setText("TxtRtMax", "1010");
        w.calculate();
        EXPECT_TRUE(w.dialogs.shown.empty());
        // R1 = 500 -> 510, above the limit of 505.
        EXPECT_EQ(w.lines(),
                  std::vector<std::string>{"510    510     .5     0       1.02 k  255    "});
    }
    {
        SCOPED_TRACE("10% steps over hundreds of decades");
        Window w;
        w.click("OpAr");
        w.click("OpNoLoad");
        clickCheck(voltDivider(), w.form, w.env, "Check1", false);
        w.form.setText("TxtAr", ".5");
        w.form.setText("TxtRtMin", "1e-3");
        w.form.setText("TxtRtMax", "1e300");
        w.calculate();
        EXPECT_EQ(w.dialogs.texts(),
                  std::vector<std::string>{"The list stops at 500 lines; narrow the range of Rt."});
        EXPECT_EQ(w.lines().size(), 500u);
    }
    {
        SCOPED_TRACE("R1 below the smallest standard value");
        Window w;
        w.click("OpAr");
        w.click("OpNoLoad");
        w.form.setText("TxtAr", ".5");
        w.form.setText("TxtRtMin", "1");
        w.form.setText("TxtRtMax", "100");
        w.calculate();
        EXPECT_EQ(
            w.dialogs.texts(),
            std::vector<std::string>{"R1 would be less than 1 ohm, the smallest standard value."});
        EXPECT_TRUE(w.lines().empty());
    }
    {
        SCOPED_TRACE("R2 below the smallest standard value");
        Window w;
        w.click("OpAr");
        w.click("OpNoLoad");
        w.form.setText("TxtAr", "1e-6");
        w.calculate();
        EXPECT_EQ(
            w.dialogs.texts(),
            std::vector<std::string>{"R2 would be less than 1 ohm, the smallest standard value."});
        EXPECT_TRUE(w.lines().empty());
    }
}

TEST(VoltDivider, OpeningTheExampleSetsOptionsLabelsAndHeader) {
    Window w;
    const Form& f = w.form;
    EXPECT_EQ(voltDivider().form.name, "Form01");
    EXPECT_EQ(voltDivider().form.caption, "Voltage Divider");
    EXPECT_EQ(f.text("CmdLoadData"), "Load Example");
    EXPECT_EQ(f.text("CmdClr"), "Clear Data");
    EXPECT_EQ(f.text("Text16"), kHeaderLoaded);
    EXPECT_TRUE(f.checked("Check1"));
    EXPECT_EQ(f.text("Check1"), "Use Standard Values.");
    EXPECT_EQ(f.text("TxtAr"), "375.0e-3");
    EXPECT_EQ(f.text("TxtdB"), "-8.519");
    EXPECT_EQ(f.text("TxtVo"), "150.0");
    EXPECT_EQ(f.text("TxtVin"), "400.0");
    EXPECT_EQ(f.text("TxtIL"), "1.000e+6");
    EXPECT_EQ(f.text("TxtRtMin"), "10.00e+3");
    EXPECT_EQ(f.text("TxtRtMax"), "1.000e+6");
    EXPECT_TRUE(f.selected("OpVinVout"));
    EXPECT_TRUE(f.selected("OpRLoad"));
    EXPECT_EQ(f.text("Text5"), "Load Resistance");
    EXPECT_EQ(f.text("Text14"), "Ohms");
    EXPECT_FALSE(f.enabled("TxtAr"));
    EXPECT_FALSE(f.enabled("TxtdB"));
    for (const char* box : {"TxtVo", "TxtVin", "TxtIL", "TxtRtMin", "TxtRtMax"})
        EXPECT_TRUE(f.enabled(box)) << box;
}

TEST(VoltDivider, HeaderNamesRinAndRoOnlyWhenTheFileCouldBeRead) {
    {
        SCOPED_TRACE("no file");
        Window w(false);
        EXPECT_EQ(w.form.text("Text16"), kHeaderDesigned);
        EXPECT_EQ(w.form.text("CmdLoadData"), "Load Last Run");
        EXPECT_TRUE(w.form.checked("Check1"));
        EXPECT_EQ(w.form.text("Text5"), "Load Current");
        EXPECT_EQ(w.form.text("Text14"), "Amps");
    }
    {
        SCOPED_TRACE("unreadable flag line");
        TempDir tmp;
        tmp.write("voltdiv.dat", "maybe\r\n.25\r\n");
        DataDir dir(tmp.path());
        ScriptedDialogs dialogs;
        CalcEnv env{dialogs, dir};
        const Form f = Form_Load(voltDivider(), env);
        EXPECT_EQ(f.text("Text16"), kHeaderDesigned);
        EXPECT_EQ(f.text("TxtAr"), ".25"); // the fields are still loaded
    }
    {
        SCOPED_TRACE("saved by the user");
        TempDir tmp;
        tmp.write("VoltDiv.DAT", "False\r\n");
        DataDir dir(tmp.path());
        ScriptedDialogs dialogs;
        CalcEnv env{dialogs, dir};
        const Form f = Form_Load(voltDivider(), env);
        EXPECT_EQ(f.text("Text16"), kHeaderLoaded);
        EXPECT_EQ(f.text("CmdLoadData"), "Load Last Run");
    }
}

TEST(VoltDivider, OptionsEnableBoxesAndSwitchTheOtherGroup) {
    {
        SCOPED_TRACE("Ar typed keeps resistance loading");
        Window w;
        w.click("OpAr");
        EXPECT_TRUE(w.form.enabled("TxtAr"));
        EXPECT_FALSE(w.form.enabled("TxtdB"));
        for (const char* box : {"TxtVo", "TxtVin"}) {
            EXPECT_EQ(w.form.text(box), "0.00");
            EXPECT_FALSE(w.form.enabled(box));
        }
        EXPECT_TRUE(w.form.selected("OpRLoad"));
        EXPECT_TRUE(w.form.enabled("TxtIL"));
    }
    {
        SCOPED_TRACE("dB typed drops current loading");
        Window w;
        w.click("OpILoad");
        EXPECT_TRUE(w.form.selected("OpVinVout"));
        w.click("OpdB");
        EXPECT_FALSE(w.form.enabled("TxtAr"));
        EXPECT_TRUE(w.form.enabled("TxtdB"));
        EXPECT_EQ(w.form.text("TxtVo"), "0.00");
        EXPECT_TRUE(w.form.selected("OpNoLoad"));
        EXPECT_EQ(w.form.text("Text5"), "");
        EXPECT_EQ(w.form.text("Text14"), "");
        EXPECT_FALSE(w.form.enabled("TxtIL"));
    }
    {
        SCOPED_TRACE("current loading needs the voltages");
        Window w;
        w.click("OpAr");
        w.click("OpILoad");
        EXPECT_TRUE(w.form.selected("OpVinVout"));
        EXPECT_EQ(w.form.text("Text5"), "Load Current");
        EXPECT_EQ(w.form.text("Text14"), "Amps");
        for (const char* box : {"TxtVo", "TxtVin", "TxtIL"})
            EXPECT_TRUE(w.form.enabled(box)) << box;
        EXPECT_FALSE(w.form.enabled("TxtAr"));
        // Vin and Vo still read "0.00" from the Ar mode.
        w.calculate();
        EXPECT_EQ(w.dialogs.texts(), std::vector<std::string>{"Need a value for Vin."});
    }
    {
        SCOPED_TRACE("resistance loading labels");
        Window w;
        w.click("OpNoLoad");
        w.click("OpRLoad");
        EXPECT_EQ(w.form.text("Text5"), "Load Resistance");
        EXPECT_EQ(w.form.text("Text14"), "Ohms");
        EXPECT_TRUE(w.form.enabled("TxtIL"));
    }
}

TEST(VoltDivider, ClearEmptiesTheRangeAndVoltagesOnly) {
    Window w;
    w.calculate();
    const auto listed = w.lines();
    CmdClr_Click(voltDivider(), w.form, w.env);
    for (const char* box : {"TxtAr", "TxtVo", "TxtVin", "TxtRtMin", "TxtRtMax"})
        EXPECT_EQ(w.form.text(box), "") << box;
    EXPECT_EQ(w.form.text("TxtdB"), "-8.519     ");
    EXPECT_EQ(w.form.text("TxtIL"), "1.000e+6");
    EXPECT_EQ(w.lines(), listed);
}

TEST(VoltDivider, CloseWritesTheBoxesAndOptionsAndReopensAsLastRun) {
    {
        SCOPED_TRACE("after Calculate");
        Window w;
        w.calculate();
        ASSERT_EQ(CmdClose_Click(voltDivider(), w.form, w.env), CloseOutcome::Saved);
        EXPECT_EQ(w.tmp.read("VoltDiv.DAT"), "False\r\n 375.0e-3  \r\n-8.519     \r\n"
                                             " 150.0     \r\n 400.0     \r\n 1.000e+6  \r\n"
                                             " 10.00e+3  \r\n 1.000e+6  \r\n3\r\n3\r\n");
        const Form reopened = Form_Load(voltDivider(), w.env);
        EXPECT_EQ(reopened.text("CmdLoadData"), "Load Last Run");
        EXPECT_EQ(reopened.text("Text16"), kHeaderLoaded);
        EXPECT_EQ(reopened.number("TxtAr"), 0.375);
        EXPECT_EQ(reopened.number("TxtRtMin"), 10e3);
        EXPECT_TRUE(reopened.selected("OpVinVout"));
        EXPECT_TRUE(reopened.selected("OpRLoad"));
    }
    {
        SCOPED_TRACE("after Clear, with Ar typed and current loading");
        Window w;
        w.click("OpAr");
        w.click("OpNoLoad");
        CmdClr_Click(voltDivider(), w.form, w.env);
        EXPECT_EQ(
            fileLines(voltDivider(), w.form),
            (std::vector<std::string>{"False", "0.00", "-8.519", " 0.000     ", " 0.000     ",
                                      " 1.000e+6  ", " 0.000     ", " 0.000     ", "1", "1"}));
        ASSERT_EQ(CmdClose_Click(voltDivider(), w.form, w.env), CloseOutcome::Saved);
        const Form reopened = Form_Load(voltDivider(), w.env);
        EXPECT_EQ(reopened.text("CmdLoadData"), "Load Last Run");
        EXPECT_EQ(reopened.text("TxtAr"), "0.00");
        EXPECT_TRUE(reopened.selected("OpAr"));
        EXPECT_TRUE(reopened.selected("OpNoLoad"));
        EXPECT_TRUE(reopened.enabled("TxtAr"));
        EXPECT_FALSE(reopened.enabled("TxtIL"));
        // Ar typed sets Vo and Vin to "0.00" as it loads, after their fields.
        EXPECT_EQ(reopened.text("TxtVo"), "0.00");
    }
}

} // namespace
} // namespace ferrovane
