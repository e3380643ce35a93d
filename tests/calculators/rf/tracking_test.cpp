#include "calculators/rf/tracking.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>
#include <tuple>

#include "numeric/eng_text.h"
#include "support/recording_printer.h"
#include "support/test_window.h"

namespace ferrovane::testing {
namespace {

using namespace tracking;

const Texts kBoxes = {"TxtFLo", "TxtFHi", "TxtCapMax", "TxtCapMin",
                      "TxtIF",  "TxtLRF", "TxtLOsc",   "TxtTrkInc"};
constexpr double kPi = 3.14159265358979323846;

// The coil that tunes to f with capacitance c: the least coil of a band with
// Cmax at its bottom, the largest with Cmin at its top.
double coilFor(double f, double c) {
    return 1 / (std::pow(2 * kPi * f, 2) * c);
}
double resonance(double c, double l) {
    return 1 / (2 * kPi * std::sqrt(l * c));
}

// The columns of a table row: F, C, offset (kHz), Max Q.
std::array<double, 4> columns(const std::string& row) {
    EXPECT_EQ(row.size(), 44u) << row;
    return {ReadNumber(row.substr(0, 11)), ReadNumber(row.substr(11, 11)),
            ReadNumber(row.substr(22, 11)), ReadNumber(row.substr(33, 11))};
}

void expectButtonsBack(const TestWindow& w) {
    for (const auto& b : {"CmdCalc", "CmdClr", "CmdLoadData", "CmdRecL"})
        EXPECT_TRUE(w.form.enabled(b)) << b;
}

TEST(Tracking, ExampleInBothPadderModes) {
    TestWindow w(receiverTracking());
    EXPECT_FALSE(w.form.enabled("CmdPrint"));
    w.press("CmdCalc");
    EXPECT_TRUE(w.dialogs.shown.empty());
    EXPECT_EQ(w.list("LstValues"),
              (Texts{"          RF Padder = 55.33     pf", "         RF Trimmer = 73.67     pf",
                     "  Oscillator Padder = 53.06     pf", " Oscillator Trimmer = 81.57     pf"}));
    const Texts& rows = w.list("LstTracking");
    ASSERT_EQ(rows.size(), 11u); // 3.5 to 4.0 MHz every 50 kHz
    EXPECT_EQ(rows.front(), " 3.500e+6   360.0e-12  0.000      1.000e+12 ");
    EXPECT_EQ(rows[5].substr(0, 22), " 3.750e+6   77.50e-12 ");
    EXPECT_NEAR(columns(rows[5])[2], 0.032, 0.0005);
    EXPECT_EQ(rows.back().substr(0, 22), " 4.000e+6   30.00e-12 ");
    EXPECT_TRUE(w.form.enabled("CmdPrint"));
    EXPECT_EQ(designStage(PadderTrimmer2, 17e-6, 3.5e6, 4e6, 30e-12, 360e-12).stage->passes, 6);

    w.apply("OpCandC1 CmdCalc");
    EXPECT_EQ(w.list("LstValues").at(0), "          RF Padder = 155.2     pf");
    EXPECT_EQ(w.list("LstValues").at(1), "         RF Trimmer = 202.9     pf");
    const Texts& rows1 = w.list("LstTracking");
    ASSERT_EQ(rows1.size(), 11u);
    EXPECT_EQ(rows1.front(), " 3.500e+6   360.0e-12  0.000      10.00e+9  ");
    EXPECT_NEAR(columns(rows1[5])[2], 8.0, 0.05);
    EXPECT_NEAR(columns(rows1[5])[3], 233, 1);
    EXPECT_EQ(columns(rows1.back())[0], 4e6);
}

// For random bands, capacitors and coils between their limits, both designed
// circuits (recomputed here from their parts) sit on both band ends, and the
// table starts at the band's bottom with no error (what rounding leaves of
// it counts as none) and ends at its top.
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
            const double least = coilFor(lo, cMax);
            return least * std::pow(coilFor(hi, cMin) / least, 0.1 + 0.8 * u(rng));
        };
        const double l = coil(fLo, fHi), lo = coil(fLo + fIf, fHi + fIf);
        const auto mode = static_cast<Mode>(1 + i % 2);
        SCOPED_TRACE(i);
        for (auto [coilL, lower, upper] : {std::tuple{l, fLo, fHi}, {lo, fLo + fIf, fHi + fIf}}) {
            const auto r = designStage(mode, coilL, lower, upper, cMin, cMax);
            if (!r.stage)
                continue; // reported with a message
            const double p = r.stage->padder, t = r.stage->trimmer;
            auto ce = [&](double c) {
                return mode == PadderTrimmer1 ? (c + t) * p / (c + t + p) : c * p / (c + p) + t;
            };
            EXPECT_NEAR(resonance(ce(cMax), coilL) / lower, 1, 1e-5);
            EXPECT_NEAR(resonance(ce(cMin), coilL) / upper, 1, 1e-5);
            ++designs;
        }
        w.dialogs.shown.clear();
        w.select(mode == PadderTrimmer1 ? "OpCandC1" : "OpCandC2");
        std::string typed;
        for (double v : {fLo / 1e3, fHi / 1e3, cMax * 1e12, cMin * 1e12, fIf / 1e3, l * 1e6,
                         lo * 1e6, (fHi - fLo) / 7e3})
            typed += PlainNumber(v) + " ";
        w.type(kBoxes, typed);
        w.press("CmdCalc");
        if (!w.dialogs.shown.empty())
            continue;
        EXPECT_EQ(columns(w.list("LstTracking").front())[2], 0);
        EXPECT_NEAR(columns(w.list("LstTracking").back())[0], fHi, fHi * 1e-3);
        ++tables;
    }
    EXPECT_GT(designs, 350);
    EXPECT_GT(tables, 150);
}

TEST(Tracking, CoilAndTrimmerComputesTheCoils) {
    TestWindow w(receiverTracking(), "OpLandC TxtLOsc= CmdCalc"); // no coils needed
    EXPECT_TRUE(w.dialogs.shown.empty());
    const double l = coilFor(3.5e6, 360e-12), lo = coilFor(3.955e6, 360e-12);
    EXPECT_EQ(w.shown({"TxtLRF", "TxtLOsc"}), (Texts{FormatEng(l * 1e6), FormatEng(lo * 1e6)}));
    const Texts& v = w.list("LstValues");
    ASSERT_EQ(v.size(), 4u);
    EXPECT_EQ(v[0], "            RF Coil =" + FormatEng(l * 1e6) + "uH");
    // The trimmer that puts the coil with Cmin + Ct on the band's top.
    EXPECT_NEAR(ReadNumber(v[1].substr(21, 11)), (coilFor(4e6, l) - 30e-12) * 1e12, 0.05);
    EXPECT_NE(columns(w.list("LstTracking").front())[2], 0); // the trimmer pulls the bottom
    EXPECT_TRUE(w.form.enabled("CmdRecL") && w.form.enabled("CmdPrint")); // whatever the mode

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
    const std::string zero = "Zero values ar not allowed.";
    auto suggest = [](const char* piece, double limit) {
        return piece + FormatEng(limit) + "Suggestion, click 'Recommend Inductors'";
    };
    const struct {
        std::string steps, text, title = kAppTitle;
    } cases[] = {
        {"TxtFLo=0", zero},
        {"OpLandC TxtLRF=", zero},
        {"TxtLOsc=", "A value for the oscillator coil is required."},
        {"TxtFLo=4000", "High End of Band MUST\r\nbe higher than Low End."},
        {"TxtCapMin=360", "Capacitor Maximum MUST be\r\nlarger than Capacitor Minimum."},
        {"TxtCapMax=35", "The given frequency range is too large\r\nfor the given capacitance "
                         "range.\r\nYou can have 3500 to 3.780e+3  or 3.703e+3  to 4000 khz"},
        {"TxtCapMin=-30", "Negative values are not allowed."},
        {"TxtLRF=1", suggest("Minimum RF inductance is ", coilFor(3.5e6, 360e-12)),
         "RF Inductor Too Small"},
        {"TxtLRF=100", suggest("Maximum RF inductance is ", coilFor(4e6, 30e-12)),
         "RF Inductor Too Large"},
        {"TxtLOsc=1", suggest("Minimum Osc inductance is ", coilFor(3.955e6, 360e-12)),
         "Oscillator Inductor Too Small"},
        {"TxtLOsc=100", suggest("Maximum Osc inductance is ", coilFor(4.455e6, 30e-12)),
         "Oscillator Inductor Too Large"},
        {"TxtTrkInc=0", "The tracking step must be greater than zero.\r\nEnter a value for "
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
    EXPECT_FALSE(TestWindow(receiverTracking(), "TxtFLo=0 CmdCalc").form.enabled("CmdPrint"));
}

// A coil exactly at its lower limit makes the starting padder's divisor
// zero: the iterations cannot settle, and say so instead of looping.
TEST(Tracking, CoilAtItsLimitDoesNotSettle) {
    for (Mode mode : {PadderTrimmer1, PadderTrimmer2}) {
        const auto r = designStage(mode, coilFor(1e6, 360e-12), 1e6, 1.1e6, 30e-12, 360e-12);
        EXPECT_FALSE(r.stage);
        EXPECT_EQ(r.failure, Failure::NotSettled);
    }
}

TEST(Tracking, NoModeChecksButComputesNothing) {
    TestWindow w(receiverTracking(), "CmdCalc CmdClr");
    EXPECT_FALSE(w.form.visible("Image1"));
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
    w.apply("TxtTrkInc=1e300 CmdCalc"); // wider than the band: its two ends
    EXPECT_EQ(w.list("LstTracking").size(), 2u);
}

TEST(Tracking, RecommendInductors) {
    TestWindow w(receiverTracking(), "TxtLRF= TxtLOsc= CmdRecL");
    const double rf[] = {coilFor(3.5e6, 360e-12), coilFor(4e6, 30e-12)};
    const double osc[] = {coilFor(3.955e6, 360e-12), coilFor(4.455e6, 30e-12)};
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
    w.press("CmdCalc"); // the recommended coils pass the coil tests
    EXPECT_EQ(w.dialogs.shown.size(), 1u);
}

TEST(Tracking, PrintSendsTheLinesAndKeepsTheLists) {
    RecordingPrinter printer;
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
    // Courier New 12 from 500 twips in and 1500 down, an empty line before
    // the header.
    const auto& lines = printer.jobs[0].pages.at(0).lines;
    for (std::size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(
            std::tie(lines[i].x, lines[i].y, lines[i].font),
            std::make_tuple(500.0, 1500.0 + 272 * (i < 6 ? i : i + 1), Font{12, false, true}));
    // Coil and trimmer: the four component lines, no coil lines of the boxes.
    w.select("OpLandC");
    w.press("CmdPrint");
    ASSERT_EQ(printer.jobs.size(), 2u);
    EXPECT_EQ(printer.jobs[1].texts().at(0),
              "            RF Coil =" + FormatEng(coilFor(3.5e6, 360e-12) * 1e6) + "uH");
    EXPECT_EQ(printer.jobs[1].texts().size(), 4u + 1 + 11);
    // A run that ends with a message prints nothing.
    w.apply("TxtFLo=0 CmdPrint");
    EXPECT_EQ(printer.jobs.size(), 2u);
    EXPECT_EQ(w.dialogs.texts().back(), "Zero values ar not allowed.");
}

// Boxes are saved as typed (an empty one as 0.000) and the mode line only
// when a mode is selected; reading a mode selects it.
TEST(Tracking, DataFileWithItsOptionalModeLine) {
    TestWindow w(receiverTracking(), "TxtTrkInc= TxtFLo=3.5e3");
    EXPECT_EQ(w.close(), words("False 3.5e3 4000 360 30 455 17 12.67 0.000 2"));
    w.apply("CmdClr");
    EXPECT_EQ(w.close().size(), 9u);
    for (auto [line, option] : {std::pair{"3", 3}, {"1", 1}, {"7", 0}}) {
        w.dir.writeLines("Track.DAT", {"False", "1", "2", "3", "4", "5", "6", "7", "8", line});
        w.open(receiverTracking());
        EXPECT_EQ(w.form.option("FrameAdjust"), option);
        EXPECT_EQ(w.form.enabled("TxtLRF"), option != 3);
    }
    EXPECT_EQ(hoverHelpText(receiverTracking(), w.form, "CmdRecL"),
              "Recommend the optimum inductor for the capacitance and frequency range you have "
              "specified.");
}

} // namespace
} // namespace ferrovane::testing
