#include "calculators/rf/tracking.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>
#include <tuple>

#include "numeric/eng_text.h"
#include "support/recording_printer.h"
#include "support/test_window.h"

namespace ferrovane {
namespace {

using testing::TestWindow;
using testing::Texts;
using namespace tracking;

const Texts kBoxes = {"TxtFLo", "TxtFHi", "TxtCapMax", "TxtCapMin",
                      "TxtIF",  "TxtLRF", "TxtLOsc",   "TxtTrkInc"};
const Texts kWorkButtons = {"CmdCalc", "CmdClr", "CmdLoadData", "CmdRecL"};
constexpr double kPi = 3.14159265358979323846;

double resonance(double c, double l) {
    return 1 / (2 * kPi * std::sqrt(l * c));
}
double series(double a, double b) {
    return a * b / (a + b);
}
// Minimum and maximum coil of a band over a capacitor, by hand.
double lMin(double f, double cMax) {
    return 1 / (std::pow(2 * kPi * f, 2) * cMax);
}
double lMax(double f, double cMin) {
    return 1 / (std::pow(2 * kPi * f, 2) * cMin);
}

// The columns of a table row: F, C, offset (kHz), Max Q.
std::array<double, 4> columns(const std::string& row) {
    EXPECT_EQ(row.size(), 44u) << row;
    return {ReadNumber(row.substr(0, 11)), ReadNumber(row.substr(11, 11)),
            ReadNumber(row.substr(22, 11)), ReadNumber(row.substr(33, 11))};
}

void expectButtonsBack(const TestWindow& w) {
    for (const auto& b : kWorkButtons)
        EXPECT_TRUE(w.form.enabled(b)) << b;
}

TEST(Tracking, ExampleInPadderAndTrimmer2) {
    TestWindow w(receiverTracking());
    EXPECT_TRUE(w.form.selected("OpCandC2"));
    EXPECT_EQ(w.form.text("Image1"), "C and C-2.GIF");
    EXPECT_FALSE(w.form.enabled("CmdPrint"));
    w.press("CmdCalc");
    EXPECT_TRUE(w.dialogs.shown.empty());
    EXPECT_EQ(w.list("LstValues"),
              (Texts{"          RF Padder = 55.33     pf", "         RF Trimmer = 73.67     pf",
                     "  Oscillator Padder = 53.06     pf", " Oscillator Trimmer = 81.57     pf"}));
    const Texts& rows = w.list("LstTracking");
    ASSERT_EQ(rows.size(), 11u); // 3.5 to 4.0 MHz every 50 kHz
    EXPECT_EQ(rows.front(), " 3.500e+6   360.0e-12  0.000      1.000e+12 ");
    const auto mid = columns(rows[5]);
    EXPECT_EQ(mid[0], 3.75e6);
    EXPECT_NEAR(mid[1], 77.5e-12, 0.05e-12);
    EXPECT_NEAR(mid[2], 0.032, 0.0005);
    EXPECT_EQ(rows.back().substr(0, 22), " 4.000e+6   30.00e-12 ");
    EXPECT_TRUE(w.form.enabled("CmdPrint"));
    expectButtonsBack(w);

    for (auto [lower, upper, coil] :
         {std::tuple{3.5e6, 4e6, 17e-6}, std::tuple{3.955e6, 4.455e6, 12.67e-6}}) {
        const auto r = designStage(PadderTrimmer2, coil, lower, upper, 30e-12, 360e-12);
        ASSERT_TRUE(r.stage);
        EXPECT_EQ(r.stage->passes, 6);
    }
}

TEST(Tracking, ExampleInPadderAndTrimmer1) {
    TestWindow w(receiverTracking(), "OpCandC1 CmdCalc");
    EXPECT_EQ(w.form.text("Image1"), "C and C-1.GIF");
    EXPECT_EQ(w.list("LstValues").at(0), "          RF Padder = 155.2     pf");
    EXPECT_EQ(w.list("LstValues").at(1), "         RF Trimmer = 202.9     pf");
    const Texts& rows = w.list("LstTracking");
    ASSERT_EQ(rows.size(), 11u);
    EXPECT_EQ(rows.front(), " 3.500e+6   360.0e-12  0.000      10.00e+9  ");
    const auto mid = columns(rows[5]);
    EXPECT_NEAR(mid[2], 8.0, 0.05);
    EXPECT_NEAR(mid[3], 233, 1);
    EXPECT_EQ(columns(rows.back())[0], 4e6);
    // The oscillator misses the tolerance after six passes by a hair (1.1e-5).
    for (auto [lower, upper, coil, passes] :
         {std::tuple{3.5e6, 4e6, 17e-6, 6}, std::tuple{3.955e6, 4.455e6, 12.67e-6, 7}})
        EXPECT_EQ(designStage(PadderTrimmer1, coil, lower, upper, 30e-12, 360e-12).stage->passes,
                  passes);
}

// For random bands, capacitors and coils between their limits, both designed
// circuits (recomputed here from their parts) sit on both band ends, and the
// table's error is zero at the bottom and near zero at the top.
TEST(Tracking, RandomDesignsHitBothBandEnds) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> u(0, 1);
    int designs = 0, tables = 0;
    TestWindow w(receiverTracking());
    for (int i = 0; i < 200; ++i) {
        const double fLo = 100e3 + 20e6 * u(rng), ratio = 1.05 + 1.5 * u(rng);
        const double fHi = fLo * ratio, fIf = fLo * (0.05 + u(rng));
        const double cMin = (5 + 40 * u(rng)) * 1e-12;
        const double cMax = cMin * ratio * ratio * (1.2 + 5 * u(rng));
        auto coil = [&](double lo, double hi) {
            return lMin(lo, cMax) * std::pow(lMax(hi, cMin) / lMin(lo, cMax), 0.1 + 0.8 * u(rng));
        };
        const double l = coil(fLo, fHi), lo = coil(fLo + fIf, fHi + fIf);
        const auto mode = static_cast<Mode>(1 + i % 2);
        SCOPED_TRACE(i);
        for (auto [coilL, lower, upper] : {std::tuple{l, fLo, fHi}, {lo, fLo + fIf, fHi + fIf}}) {
            const auto r = designStage(mode, coilL, lower, upper, cMin, cMax);
            if (!r.stage)
                continue; // reported with a message; see the messages test
            const Stage& s = *r.stage;
            auto ce = [&](double c) {
                return mode == PadderTrimmer1 ? series(c + s.trimmer, s.padder)
                                              : series(c, s.padder) + s.trimmer;
            };
            EXPECT_NEAR(resonance(ce(cMax), coilL) / lower, 1, 1e-5);
            EXPECT_NEAR(resonance(ce(cMin), coilL) / upper, 1, 1e-5);
            ++designs;
        }
        w.dialogs.shown.clear();
        w.select(mode == PadderTrimmer1 ? "OpCandC1" : "OpCandC2");
        w.type(kBoxes, PlainNumber(fLo / 1e3) + " " + PlainNumber(fHi / 1e3) + " " +
                           PlainNumber(cMax * 1e12) + " " + PlainNumber(cMin * 1e12) + " " +
                           PlainNumber(fIf / 1e3) + " " + PlainNumber(l * 1e6) + " " +
                           PlainNumber(lo * 1e6) + " " + PlainNumber((fHi - fLo) / 7e3));
        w.press("CmdCalc");
        if (!w.dialogs.shown.empty())
            continue;
        const auto first = columns(w.list("LstTracking").front());
        const auto last = columns(w.list("LstTracking").back());
        EXPECT_EQ(first[2], 0);
        EXPECT_NEAR(last[0], fHi, fHi * 1e-3);
        EXPECT_LE(std::abs(last[2] * 1e3), 3e-5 * (fHi + fIf));
        ++tables;
    }
    EXPECT_GT(designs, 350);
    EXPECT_GT(tables, 150);
}

TEST(Tracking, CoilAndTrimmerComputesTheCoils) {
    TestWindow w(receiverTracking(), "OpLandC");
    EXPECT_EQ(w.form.text("Image1"), "L and C.GIF");
    for (const char* c : {"TxtLRF", "TxtLOsc", "CmdRecL"})
        EXPECT_FALSE(w.form.enabled(c)) << c;
    w.form.setText("TxtLOsc", ""); // not needed in this mode
    w.press("CmdCalc");
    EXPECT_TRUE(w.dialogs.shown.empty());
    const double l = lMin(3.5e6, 360e-12), lo = lMin(3.955e6, 360e-12);
    EXPECT_EQ(w.form.text("TxtLRF"), FormatEng(l * 1e6));
    EXPECT_EQ(w.form.text("TxtLOsc"), FormatEng(lo * 1e6));
    const Texts& v = w.list("LstValues");
    ASSERT_EQ(v.size(), 4u);
    EXPECT_EQ(v[0], "            RF Coil =" + FormatEng(l * 1e6) + "uH");
    EXPECT_EQ(v[2], "    Oscillator Coil =" + FormatEng(lo * 1e6) + "uH");
    // The trimmer that puts the coil with Cmin + Ct on the band's top.
    const double ct = 1 / (std::pow(2 * kPi * 4e6, 2) * l) - 30e-12;
    EXPECT_NEAR(ReadNumber(v[1].substr(21, 11)), ct * 1e12, 0.05);
    // The trimmer pulls the bottom: the first row shows that offset.
    EXPECT_NE(columns(w.list("LstTracking").front())[2], 0);
    EXPECT_EQ(columns(w.list("LstTracking").back())[0], 4e6);
    for (const auto& b : Texts{"CmdCalc", "CmdClr", "CmdLoadData", "CmdRecL", "CmdPrint"})
        EXPECT_TRUE(w.form.enabled(b)) << b; // all five, whatever the mode

    // A capacitor that only just covers the band needs less than the 1 pF
    // the trimmer search starts from.
    w.type(kBoxes, "1000 3464 360 30 455 1 1 100");
    const Form before = w.form;
    w.press("CmdCalc");
    ASSERT_EQ(w.dialogs.shown.size(), 1u);
    EXPECT_EQ(w.dialogs.texts()[0].rfind("The RF stage needs a trimmer smaller than 1 pF", 0), 0u);
    EXPECT_TRUE(w.form == before);
}

TEST(Tracking, MessagesLeaveBoxesAndListsAndBringTheButtonsBack) {
    const std::string range = "The given frequency range is too large\r\nfor the given "
                              "capacitance range.\r\nYou can have 3500 to 3.780e+3  or "
                              "3.703e+3  to 4000 khz";
    auto suggest = [](const char* piece, double limit) {
        return piece + FormatEng(limit) + "Suggestion, click 'Recommend Inductors'";
    };
    const struct {
        std::string steps, text, title = kAppTitle;
    } cases[] = {
        {"TxtFLo=0", "Zero values ar not allowed."},
        {"TxtCapMin=abc", "Zero values ar not allowed."},
        {"OpLandC TxtLRF=", "Zero values ar not allowed."},
        {"TxtLOsc=", "A value for the oscillator coil is required."},
        {"OpCandC1 TxtLOsc=0 TxtFLo=5000", "A value for the oscillator coil is required."},
        {"TxtFLo=4000", "High End of Band MUST\r\nbe higher than Low End."},
        {"TxtCapMin=360", "Capacitor Maximum MUST be\r\nlarger than Capacitor Minimum."},
        {"TxtCapMax=35", range},
        {"TxtCapMin=-30", "Negative values are not allowed."},
        {"TxtIF=-455", "Negative values are not allowed."},
        {"TxtLRF=1", suggest("Minimum RF inductance is ", lMin(3.5e6, 360e-12)),
         "RF Inductor Too Small"},
        {"TxtLRF=100", suggest("Maximum RF inductance is ", lMax(4e6, 30e-12)),
         "RF Inductor Too Large"},
        {"TxtLOsc=1", suggest("Minimum Osc inductance is ", lMin(3.955e6, 360e-12)),
         "Oscillator Inductor Too Small"},
        {"TxtLOsc=100", suggest("Maximum Osc inductance is ", lMax(4.455e6, 30e-12)),
         "Oscillator Inductor Too Large"},
        {"TxtTrkInc=0", "The tracking step must be greater than zero.\r\nEnter a value for "
                        "Tracking Data Every."},
        {"TxtTrkInc=-50", "The tracking step must be greater than zero.\r\nEnter a value for "
                          "Tracking Data Every."},
        {"TxtTrkInc=1e-300", "The tracking step is too small: the table would have more than "
                             "10,000 rows."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.steps);
        TestWindow w(receiverTracking(), "CmdCalc " + c.steps);
        Form before = w.form;
        before.setEnabled("CmdRecL", true); // even in coil-and-trimmer mode
        w.dialogs.shown.clear();
        w.press("CmdCalc");
        ASSERT_EQ(w.dialogs.shown.size(), 1u);
        EXPECT_EQ(w.dialogs.shown[0].text, c.text);
        EXPECT_EQ(w.dialogs.shown[0].title, c.title);
        EXPECT_TRUE(w.form == before);
        expectButtonsBack(w);
    }
    // A message keeps Print disabled until a Calculate runs to its end.
    TestWindow w(receiverTracking(), "TxtFLo=0 CmdCalc");
    EXPECT_FALSE(w.form.enabled("CmdPrint"));
}

// A coil exactly at its lower limit makes the starting padder's divisor
// zero: the iterations cannot settle, and say so instead of looping.
TEST(Tracking, CoilAtItsLimitDoesNotSettle) {
    for (Mode mode : {PadderTrimmer1, PadderTrimmer2}) {
        const auto r = designStage(mode, lMin(1e6, 360e-12), 1e6, 1.1e6, 30e-12, 360e-12);
        EXPECT_FALSE(r.stage);
        EXPECT_EQ(r.failure, Failure::NotSettled);
    }
}

TEST(Tracking, NoModeChecksButComputesNothing) {
    TestWindow w(receiverTracking(), "CmdCalc CmdClr");
    EXPECT_FALSE(w.form.visible("Image1"));
    EXPECT_EQ(w.form.option("FrameAdjust"), 0);
    EXPECT_TRUE(w.list("LstTracking").empty());
    w.type(kBoxes, "3500 4000 360 30 455 17 _ 50");
    w.press("CmdCalc");
    EXPECT_EQ(w.dialogs.texts(), Texts{"A value for the oscillator coil is required."});
    w.type({"TxtLOsc"}, "12.67");
    w.form.list("LstValues") = {"kept"};
    w.press("CmdCalc");
    EXPECT_EQ(w.dialogs.shown.size(), 1u);
    EXPECT_EQ(w.list("LstValues"), Texts{"kept"});
    EXPECT_TRUE(w.list("LstTracking").empty());
    EXPECT_TRUE(w.form.enabled("CmdPrint"));
}

TEST(Tracking, StepThatDoesNotDivideTheBandEndsAtItsTop) {
    TestWindow w(receiverTracking(), "TxtTrkInc=70 CmdCalc");
    const Texts& rows = w.list("LstTracking");
    ASSERT_EQ(rows.size(), 9u); // 3500, 3570, ... 3990, then 4000
    EXPECT_EQ(columns(rows[7])[0], 3.99e6);
    EXPECT_EQ(columns(rows[8])[0], 4e6);
    // A step wider than the band: its two ends.
    w.apply("TxtTrkInc=1e300 CmdCalc");
    ASSERT_EQ(w.list("LstTracking").size(), 2u);
    EXPECT_EQ(columns(w.list("LstTracking")[0])[0], 3.5e6);
    EXPECT_EQ(columns(w.list("LstTracking")[1])[0], 4e6);
}

TEST(Tracking, RecommendInductors) {
    TestWindow w(receiverTracking(), "TxtLRF= TxtLOsc= CmdRecL");
    const double rf[] = {lMin(3.5e6, 360e-12), lMax(4e6, 30e-12)};
    const double osc[] = {lMin(3.955e6, 360e-12), lMax(4.455e6, 30e-12)};
    const double rfRec = std::sqrt(rf[0] * rf[1]), oscRec = std::sqrt(osc[0] * osc[1]);
    ASSERT_EQ(w.dialogs.shown.size(), 1u);
    EXPECT_EQ(w.dialogs.shown[0].title, "Recommended Inductance Values");
    EXPECT_EQ(w.dialogs.shown[0].text,
              "                                                            Recommended   "
              "Minimum       Maximum\r\nFor the Antenna and RF Stage     " +
                  FormatEng(rfRec) + "         " + FormatEng(rf[0]) + "     " + FormatEng(rf[1]) +
                  "Henrys\r\n     \r\nFor the Oscillator                               " +
                  FormatEng(oscRec) + "         " + FormatEng(osc[0]) + "     " +
                  FormatEng(osc[1]) + "Henrys");
    EXPECT_EQ(w.form.text("TxtLRF"), " 17.41     "); // sqrt(5.744 uH x 52.77 uH)
    EXPECT_EQ(w.form.text("TxtLOsc"), FormatEng(oscRec * 1e6));
    expectButtonsBack(w);
    // The recommended coils pass the coil tests.
    w.press("CmdCalc");
    EXPECT_EQ(w.dialogs.shown.size(), 1u);

    TestWindow bad(receiverTracking(), "TxtCapMax=35 TxtLRF= CmdRecL");
    EXPECT_EQ(bad.dialogs.texts().at(0).rfind("The given frequency range is too large", 0), 0u);
    EXPECT_EQ(bad.form.text("TxtLRF"), "");
    expectButtonsBack(bad);
}

TEST(Tracking, PrintSendsTheLinesAndKeepsTheLists) {
    testing::RecordingPrinter printer;
    TestWindow w(receiverTracking());
    w.env.printer = &printer;
    w.press("CmdCalc");
    const Form calculated = w.form;
    w.press("CmdPrint");
    ASSERT_EQ(printer.jobs.size(), 1u);
    EXPECT_TRUE(w.form == calculated);
    const auto& v = w.list("LstValues");
    Texts expected = {"            RF Coil = 17 Microhenrys",    v[0], v[1],
                      "    Oscillator Coil = 12.67 Microhenrys", v[2], v[3],
                      " RF Freq.       C      Offset     Max Q"};
    for (const auto& row : w.list("LstTracking"))
        expected.push_back(row);
    EXPECT_EQ(printer.jobs[0].texts(), expected);
    const auto& lines = printer.jobs[0].pages.at(0).lines;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].x, 500);
        EXPECT_EQ(lines[i].font, (Font{12, false, true}));
        // One empty line between the components and the header.
        EXPECT_EQ(lines[i].y, 1500 + 272 * (i < 6 ? i : i + 1));
    }

    // Coil and trimmer: the four component lines, no coil lines of the boxes.
    w.select("OpLandC");
    w.press("CmdPrint");
    ASSERT_EQ(printer.jobs.size(), 2u);
    EXPECT_EQ(printer.jobs[1].texts().at(0),
              "            RF Coil =" + FormatEng(lMin(3.5e6, 360e-12) * 1e6) + "uH");
    EXPECT_EQ(printer.jobs[1].texts().size(), 4u + 1 + 11);

    // A run that ends with a message prints nothing.
    w.apply("TxtFLo=0 CmdPrint");
    EXPECT_EQ(printer.jobs.size(), 2u);
    EXPECT_EQ(w.dialogs.texts().back(), "Zero values ar not allowed.");
}

TEST(Tracking, DataFileWithItsOptionalModeLine) {
    TestWindow w(receiverTracking(), "TxtTrkInc= TxtFLo=3.5e3");
    EXPECT_EQ(w.close(),
              (Texts{"False", "3.5e3", "4000", "360", "30", "455", "17", "12.67", "0.000", "2"}));
    w.apply("CmdClr");
    EXPECT_EQ(w.close().size(), 9u); // no mode line when none is selected
    for (auto [line, option] : {std::pair{"3", 3}, {"1", 1}, {"7", 0}}) {
        w.dir.writeLines("Track.DAT", {"False", "1", "2", "3", "4", "5", "6", "7", "8", line});
        w.open(receiverTracking());
        EXPECT_EQ(w.form.option("FrameAdjust"), option);
        EXPECT_EQ(w.form.visible("Image1"), option != 0);
        EXPECT_EQ(w.form.enabled("TxtLRF"), option != 3);
        EXPECT_EQ(w.form.text("TxtTrkInc"), "8");
    }
}

TEST(Tracking, HelpTexts) {
    const TestWindow w(receiverTracking());
    EXPECT_EQ(hoverHelpText(receiverTracking(), w.form, "CmdRecL"),
              "Recommend the optimum inductor for the capacitance and frequency range you have "
              "specified.");
    EXPECT_EQ(hoverHelpText(receiverTracking(), w.form, "CmdLoadData"),
              "To help you get started an example problem has been supplied.  Load it by "
              "clicking this button.");
    EXPECT_EQ(hoverHelpText(receiverTracking(), w.form, "FrameButtons"), "");
    EXPECT_TRUE(undeclaredNames(receiverTracking()).empty());
}

} // namespace
} // namespace ferrovane
