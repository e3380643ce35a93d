#include <cmath>
#include <random>
#include <span>

#include "calculators/amplifier/feedback.h"
#include "numeric/eng_text.h"
#include "support/test_window.h"

namespace ferrovane::testing {
namespace {

std::string d(int i) {
    return indexed("TxtData", i);
}
const Texts kAllBoxes = words("TxtData(0) TxtData(1) TxtData(2) TxtData(3) TxtData(4) "
                              "TxtData(5) TxtData(6) TxtData(7) TxtData(8) TxtData(9)");

// B = 100 / 3400, A' = 73.56 / (73.56 B + 1) = 23.25, 20 log(73.56 / 23.25)
// = 10.0 dB; then E' = 20 * 23.25 / 73.56 = 6.321. The file keeps the texts
// trimmed, the dB figure as 0 and the options as codes.
TEST(Feedback, ExampleAndItsFile) {
    TestWindow w(feedback(), "CmdCalcA");
    EXPECT_EQ(w.shown(kAllBoxes),
              words("73.56 23.25 29.41e-3 100.0 3.300e+3 73.56 20.00 23.25 0.000 10"));
    w.press("CmdCalcE");
    EXPECT_EQ(w.form.text(d(8)), "6.321");
    EXPECT_TRUE(w.dialogs.shown.empty());
    EXPECT_EQ(w.close(), words("False 73.56 23.25 29.41e-3 100.0 3.300e+3 73.56 20.00 23.25 "
                               "6.321 0.000 2 1"));
    w.apply("OpInv OpSlope TxtData(6)=abc TxtData(8)=1234.5");
    EXPECT_EQ(w.close(), words("False 73.56 23.25 29.41e-3 100.0 3.300e+3 73.56 0.000 23.25 "
                               "1.235e+3 0.000 3 2"));
    w.open(feedback());
    EXPECT_TRUE(w.form.selected("OpInv") && w.form.selected("OpSlope"));
}

// Every row of both case tables, by the code the given quantities make, and
// the two options the calculation needs first.
TEST(Feedback, EveryCaseOfBothTables) {
    const std::string more = "I need more data please.";
    const std::string tooMuch =
        "Too much data.  Enter 0 or blank\r\nfor what you want me to calculate.";
    const std::string order = "Open-Loop Ganin MUST be greater\r\nthan Closed-Loop Gain.";
    const std::string negative = "Enter Open-Loop Gani as a positive number.";
    const char* flat = "OpFlat OpBeta";
    const char* slope = "OpSlope OpBeta";
    struct Case {
        const char* options;
        const char* typed;   // A A' B, or A E A' E' for the error button
        std::string message; // or, when empty, the boxes expected after
        const char* expected = "";
    };
    const Case gain[] = {
        {flat, "0 0 0", more},                                         // 0
        {flat, "100 0 0", more},                                       // 1
        {flat, "0 10 0", more},                                        // 2
        {flat, "0 0 .1", more},                                        // 4
        {flat, "100 10 0", "", "100 10 90.00e-3 _ _ 100 _ 10 _ 20"},   // 3: (100-10)/1000
        {flat, "10 10 0", order},                                      // 3, A' = A
        {flat, "100 0 .09", "", "100 10.00 .09 _ _ 100 _ 10.00 _ 20"}, // 5: 100 / 10
        {flat, "0 10 .09", "", "100.0 10 .09 _ _ 100.0 _ 10 _ 20"},    // 6: 10 / 0.1
        {flat, "0 2 .5",                                               // B A' = 1
         "These values yield an infinite or\r\nnegative value for Open-Loop Gain."},
        {flat, "100 10 .09", tooMuch}, // 7
        {flat, "-5 0 0", negative},
        {slope, "0 0 0", more},   // 8
        {slope, "100 0 0", more}, // 9
        {slope, "0 10 0", more},  // 10
        {slope, "0 0 .1", more},  // 12
        // 11: sqrt(100^2 - 60^2) / 6000 = 80 / 6000; 20 log(100 / 60) = 4.44.
        {slope, "100 60 0", "", "100 60 13.33e-3 _ _ 100 _ 60 _ 4.44"},
        {slope, "60 60 0", order},
        // 13: 100 / sqrt((100 / 75)^2 + 1) = 60.
        {slope, "100 0 13.333333333333333e-3", "",
         "100 60.00 13.333333333333333e-3 _ _ 100 _ 60.00 _ 4.44"},
        // 14: 60 / sqrt(1 - 0.8^2) = 100.
        {slope, "0 60 13.333333333333333e-3", "",
         "100.0 60 13.333333333333333e-3 _ _ 100.0 _ 60 _ 4.44"},
        {slope, "0 2 .5", // (B A')^2 = 1
         "These values yield an infinite or\r\nimaginary value for Open-Loop Gain."},
        {slope, "100 60 .1", tooMuch}, // 15
        {"OpBeta", "100 10 0",
         "Select the radio button indicating the point on the frequency\r\n"
         "response curve where the calculation is taking place."},
        {"OpFlat", "100 10 0",
         "Select the radio button indicating how you want to enter the\r\n"
         "Feedback Fraction.  Just B, R1 and R2 of a Noninverting\r\n"
         "Amplifier, or R1 and R2 of an Inverting Amplifier"},
    };
    // The error table: E' / A' = E / A.
    const Case error[] = {
        {flat, "100 20 10 0", "", "_ _ _ _ _ 100 20 10 2.000 _"}, // 7
        {flat, "100 20 0 2", "", "_ _ _ _ _ 100 20 10.00 2 _"},   // 11
        {flat, "100 0 10 2", "", "_ _ _ _ _ 100 20.00 10 2 _"},   // 13
        {flat, "0 20 10 2", "", "_ _ _ _ _ 100.0 20 10 2 _"},     // 14
        {flat, "100 20 10 2", tooMuch},                           // 15
        {flat, "100 20 0 0", more},
        {flat, "-1 20 10 0", negative},
    };
    for (const bool isGain : {true, false})
        for (const Case& c : isGain ? std::span<const Case>(gain) : std::span<const Case>(error)) {
            SCOPED_TRACE(std::string(c.options) + ": " + c.typed);
            TestWindow w(feedback(), c.options, Examples::None);
            w.type(isGain ? Texts{d(0), d(1), d(2)} : Texts{d(5), d(6), d(7), d(8)}, c.typed);
            const Texts before = w.shown(kAllBoxes);
            w.press(isGain ? "CmdCalcA" : "CmdCalcE");
            if (c.message.empty()) {
                EXPECT_TRUE(w.dialogs.shown.empty());
                EXPECT_EQ(w.shown(kAllBoxes), words(c.expected));
                continue;
            }
            EXPECT_EQ(w.dialogs.texts(), Texts{c.message});
            // The error button changes nothing; the gain button copies A and
            // A' before its checks.
            EXPECT_TRUE(isGain || w.shown(kAllBoxes) == before);
        }
}

TEST(Feedback, ResistorsGiveTheFeedbackFraction) {
    // Inverting: B = R1 / R2 = 0.5.
    TestWindow inv(feedback(), "OpInv TxtData(1)=0 TxtData(4)=200 CmdCalcA");
    EXPECT_EQ(inv.form.text(d(2)), "500.0e-3");
    // R1 without R2 leaves B as typed, as does the feedback-fraction mode:
    // A' = 73.56 / (36.78 + 1).
    for (const char* steps :
         {"TxtData(4)=_ TxtData(2)=.5 CmdCalcA", "OpBeta TxtData(2)=.5 CmdCalcA"})
        EXPECT_EQ(TestWindow(feedback(), steps).form.text(d(1)), "1.947") << steps;
    // A negative R1 + R2 sum of zero has no fraction: nothing changes.
    TestWindow zero(feedback(), "TxtData(3)=-3300 CmdCalcA");
    EXPECT_EQ(zero.dialogs.shown.size(), 1u);
    EXPECT_EQ(zero.form.text(d(2)), "0.000");
}

// Solved quantities put back into the relation they came from give the
// given one again, within the four digits shown.
TEST(Feedback, SolutionsSatisfyTheirRelation) {
    std::mt19937 rng(3);
    auto uniform = [&](double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(rng);
    };
    TestWindow w(feedback(), "OpBeta", Examples::None);
    for (int i = 0; i < 200; ++i) {
        const bool slope = i % 2 == 1;
        w.select(slope ? "OpSlope" : "OpFlat");
        auto closed = [&](double a, double b) {
            return slope ? a / std::sqrt(1 + a * b * a * b) : a / (1 + a * b);
        };
        // A' well below A but not so far that B's four digits push B A' to 1.
        const double a = uniform(10, 1000), ac = uniform(a / 10, a / 2);
        // B from A and A'.
        w.type({d(0), d(1), d(2)}, PlainNumber(a) + " " + PlainNumber(ac) + " 0");
        w.press("CmdCalcA");
        EXPECT_NEAR(closed(a, w.form.number(d(2))), ac, ac * 1e-3);
        // A from A' and B.
        const double b = w.form.number(d(2));
        w.type({d(0), d(1)}, "0 " + PlainNumber(ac));
        w.press("CmdCalcA");
        EXPECT_NEAR(closed(w.form.number(d(0)), b), ac, ac * 1e-3);
        EXPECT_NEAR(w.form.number(d(9)), 20 * std::log10(w.form.number(d(0)) / ac), 0.01);
    }
    EXPECT_TRUE(w.dialogs.shown.empty());
}

} // namespace
} // namespace ferrovane::testing
