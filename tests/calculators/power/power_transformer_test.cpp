#include "calculators/power/power_transformer.h"

#include <gtest/gtest.h>

#include "numeric/eng_text.h"
#include "support/test_window.h"

namespace ferrovane {
namespace {

using testing::TestWindow;
using testing::Texts;

// Worked by hand from the example: area 476.08 cm2, currents 0.135032,
// 0.136383 and 2.61463 A found, 3.0 A entered; primary 0.73139 A, 85.573 W,
// 1.0966 W lost; 4.192 W in all, 88.05 W/m2, 223.40 F.
const Texts kExampleList = {
    "        Primary Voltage = 117.0     Volts",
    "        Primary Current = 731.4e-3  Amps",
    "          Primary Power = 85.57     Watts",
    "    Primary Dissipation = 1.097     Watts",
    "  Primary % Dissipation = 1.265     %",
    "Secondayr 1     Voltage = 338.4     Volts",
    "Secondary 1     Current = 135.0e-3  Amps",
    "Secondary 1       Power = 45.70     Watts",
    "Secondary 1 Dissipation = 1.229     Watts",
    "Secondary 1 Percent Dis = 2.619     %",
    "Secondayr 2     Voltage = 38.93     Volts",
    "Secondary 2     Current = 136.4e-3  Amps",
    "Secondary 2       Power = 5.309     Watts",
    "Secondary 2 Dissipation = 141.4e-3  Watts",
    "Secondary 2 Percent Dis = 2.593     %",
    "Secondayr 3     Voltage = 4.987     Volts",
    "Secondary 3     Current = 3.000     Amps",
    "Secondary 3       Power = 14.96     Watts",
    "Secondary 3 Dissipation = 891.0e-3  Watts",
    "Secondary 3 Percent Dis = 5.620     %",
    "Secondayr 4     Voltage = 6.314     Volts",
    "Secondary 4     Current = 2.615     Amps",
    "Secondary 4       Power = 16.51     Watts",
    "Secondary 4 Dissipation = 834.0e-3  Watts",
    "Secondary 4 Percent Dis = 4.809     %",
    "----------------------------------------------------------",
    "      Total Dissipation = 4.192     Watts",
    "    Total % Dissipation = 4.837     %",
    "          Power Dendity = 88.05     W/Sq Meter",
    "  Operating Temperature = 223.4     \u00B0 F",
};

struct Xfm : TestWindow {
    explicit Xfm(const std::string& steps = "") : TestWindow(powerTransformer(), steps) {}
    const Texts& out() const { return list("ListOut"); }
    // The number shown on a list line.
    double shownOn(std::size_t line) const { return ReadNumber(out().at(line).substr(25)); }
};

TEST(PowerTransformer, ExampleListsEveryWindingLetterForLetter) {
    Xfm w("CmdCalc");
    EXPECT_EQ(w.out(), kExampleList);
    EXPECT_TRUE(w.dialogs.shown.empty());
    EXPECT_EQ(w.form.text("TxtSec1I(0)"), "0"); // the found current is only listed
}

// One secondary of V volts and 1 ohm without a current: the kept current is
// one step of 1 % above the first step whose loss reaches the limit K, so it
// lies between 1 % and 2 % above I = K V / (100 - K). 30 V and below is a
// filament winding (K = 4.5), above it a plate winding (K = 2.5).
TEST(PowerTransformer, SearchUsesTheWindingsLimitAndStopsOneStepPast) {
    for (const auto& [volts, limit] : {std::pair{"30.0", 4.5}, {"30.5", 2.5}, {"5", 4.5}}) {
        Xfm w("TxtNoSec=1 TxtSec1I(0)=0 TxtSec1R(0)=1 -ChkLoading");
        w.apply(std::string("TxtSec1V(0)=") + volts + " CmdCalc");
        const double reach = limit * ReadNumber(volts) / (100 - limit);
        ASSERT_EQ(w.out().size(), 15u);
        EXPECT_GT(w.shownOn(6), reach * 1.01 * 0.999) << volts;
        EXPECT_LT(w.shownOn(6), reach * 1.0201 * 1.001) << volts;
    }
}

// With the check box off the primary resistance reaches only the primary
// lines and the totals.
TEST(PowerTransformer, EnteredCurrentIsKeptAndCheckBoxOffIgnoresTheDrop) {
    Xfm a("TxtSec1I(0)=.5 -ChkLoading CmdCalc");
    Xfm b("TxtSec1I(0)=.5 -ChkLoading TxtPriR=40 CmdCalc");
    EXPECT_EQ(Texts(a.out().begin() + 5, a.out().begin() + 8),
              (Texts{"Secondayr 1     Voltage = 350.0     Volts",
                     "Secondary 1     Current = 500.0e-3  Amps",
                     "Secondary 1       Power = 175.0     Watts"}));
    EXPECT_EQ(Texts(a.out().begin() + 5, a.out().begin() + 25),
              Texts(b.out().begin() + 5, b.out().begin() + 25));
    EXPECT_NE(a.out()[3], b.out()[3]);
}

TEST(PowerTransformer, NumberOfSecondariesShowsThatManyRows) {
    for (const auto& [typed, rows] :
         {std::pair{"2", 2}, {"0", 0}, {"abc", 0}, {"2.5", 2}, {"3.5", 4}, {"9", 6}}) {
        Xfm w(std::string("TxtNoSec=") + typed);
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(w.form.visible(indexed("FrameSec", i)), i < rows) << typed << " row " << i;
    }
    // Two rows: rows 2 and 3 of the example hold numbers but are not read.
    Xfm two("TxtNoSec=2 CmdCalc");
    EXPECT_EQ(two.out().size(), 5u + 2 * 5 + 1 + 4);
    EXPECT_EQ(two.out()[11], kExampleList[11]);
}

// Potted: 2 (XY + XZ + YZ) = 622.42 cm2 for the same 4.192 W.
TEST(PowerTransformer, PottedUsesTheClosedBoxWithoutABC) {
    Xfm w("OpMil");
    w.type({"TxtA", "TxtB", "TxtC"}, "_ _ _");
    w.apply("CmdCalc");
    EXPECT_FALSE(w.form.visible("TxtA"));
    EXPECT_EQ(w.form.text("Image1"), "Transformer-4.jpg");
    EXPECT_EQ(w.out()[28], "          Power Dendity = 67.35     W/Sq Meter");
    w.select("OpType1");
    EXPECT_TRUE(w.form.visible("TxtA"));
}

// Silent stops, the surface-area message and the refusals: the list keeps
// what it showed and the data file is not touched.
TEST(PowerTransformer, BadInputChangesNothing) {
    const std::pair<const char*, const char*> cases[] = {
        {"TxtPriV=0", ""},
        {"TxtPriR=_", ""},
        {"TxtSec1V(1)=abc", ""},
        {"TxtSec1R(3)=0", ""},
        {"TxtB=0", "What kind of transformer do you have?\r\nA, B, C and D MUST all be zero "
                   "or\r\nMUST ALL have nonzero values."},
        {"TxtNoSec=0", "Enter a number of secondaries from 1 to 6."},
        {"TxtNoSec=7", "Enter a number of secondaries from 1 to 6."},
        {"-ChkLoading TxtSec1V(0)=-67.4 TxtSec1I(0)=1",
         "a winding's copper loss plus its power is zero"},
        {"TxtSec1V(0)=1e999", "no current of secondary 1 reaches its dissipation limit"},
        {"OpMil TxtX=0 TxtY=0", "the surface area is zero"},
    };
    for (const auto& [steps, message] : cases) {
        Xfm w("TxtSec1V(3)=7 CmdCalc");
        const Texts before = w.out();
        const std::string file = w.tmp.read("PowerXfm.DAT");
        w.apply(std::string(steps) + " CmdCalc");
        EXPECT_EQ(w.out(), before) << steps;
        EXPECT_EQ(w.tmp.read("PowerXfm.DAT"), file);
        EXPECT_EQ(w.dialogs.shown.size(), *message ? 1u : 0u) << steps;
        if (*message) {
            EXPECT_NE(w.dialogs.shown.at(0).text.find(message), std::string::npos);
        }
    }
}

// Limits of 100 % are refused; twice the plate limit gives about twice the
// plate currents.
TEST(PowerTransformer, LimitsComeFromConstantsFile) {
    const auto limits = [](const char* plate) {
        return "Plate\r\n" + std::string(plate) + "\r\nFilament\r\n4.5\r\nx\r\n1.5\r\ny\r\n2.5\r\n";
    };
    Xfm w;
    w.tmp.write("CONSTANT.DAT", limits("100"));
    w.open(powerTransformer());
    w.apply("CmdCalc");
    EXPECT_TRUE(w.out().empty());
    EXPECT_EQ(w.dialogs.texts(),
              Texts{"The percent dissipation limits in \"CONSTANT.DAT\" must be below 100."});
    w.tmp.write("CONSTANT.DAT", limits("5"));
    w.apply("CmdLoadData CmdCalc");
    EXPECT_NEAR(w.shownOn(6), 0.1350 * 2 * 0.975 / 0.95, 0.006);
}

// The boxes are written as typed, the check box as "False", the type as its
// index; Clear empties all but the primary voltage and shows six rows.
TEST(PowerTransformer, ClearAndTheDataFile) {
    Texts lines = Xfm("CmdCalc TxtX=12.5abc TxtNoSec=2 -ChkLoading").close();
    ASSERT_EQ(lines.size(), 30u);
    EXPECT_EQ(Texts(lines.begin(), lines.begin() + 8),
              (Texts{"False", "117", "2.05", "2", "350", "67.4", "0", "40.0"}));
    EXPECT_EQ(Texts(lines.begin() + 22, lines.end()),
              (Texts{"3", "12.5abc", "9.6", "9.7", "4.0", "8.4", "6.4", "0"}));
    Xfm c("CmdCalc CmdClr");
    EXPECT_EQ(c.shown({"TxtPriV", "TxtPriR", "TxtNoSec", "TxtSec1V(0)", "TxtX"}),
              (Texts{"117.0", "", "6", "", ""}));
    EXPECT_TRUE(c.out().empty() && c.form.visible("FrameSec(5)") && c.form.checked("ChkLoading"));
    lines = c.close();
    EXPECT_EQ(Texts({lines[22], lines[29]}), (Texts{"0", "1"}));
}

} // namespace
} // namespace ferrovane
