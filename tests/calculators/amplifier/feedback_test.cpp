#include <cmath>
#include <random>

#include "calculators/amplifier/feedback.h"
#include "numeric/eng_text.h"
#include "support/test_window.h"

namespace ferrovane::testing {
namespace {

std::string d(int i) {
    return indexed("TxtData", i);
}
Texts allBoxes() {
    Texts t;
    for (int i = 0; i <= 9; ++i)
        t.push_back(d(i));
    return t;
}

const std::string kMore = "I need more data please.";
const std::string kTooMuch =
    "Too much data.  Enter 0 or blank\r\nfor what you want me to calculate.";
const std::string kOrder = "Open-Loop Ganin MUST be greater\r\nthan Closed-Loop Gain.";

// B = 100 / 3400, A' = 73.56 / (73.56 B + 1) = 23.25, 20 log(73.56 / 23.25)
// = 10.0 dB; then E' = 20 * 23.25 / 73.56 = 6.321.
TEST(Feedback, Example) {
    TestWindow w(feedback());
    EXPECT_EQ(w.form.text("CmdLoadData"), "Load Last Run");
    EXPECT_EQ(w.form.text("Image1"), "NonInv.GIF");
    w.press("CmdCalcA");
    EXPECT_EQ(w.shown(allBoxes()),
              words("73.56 23.25 29.41e-3 100.0 3.300e+3 73.56 20.00 23.25 0.000 10"));
    w.press("CmdCalcE");
    EXPECT_EQ(w.form.text(d(8)), "6.321");
    EXPECT_TRUE(w.dialogs.shown.empty());
    EXPECT_EQ(w.close(), words("False 73.56 23.25 29.41e-3 100.0 3.300e+3 73.56 20.00 23.25 "
                               "6.321 0.000 2 1"));
}

// Every row of both case tables, by the code the given quantities make.
TEST(Feedback, EveryCaseOfBothTables) {
    struct Case {
        const char* steps; // mode, slope, boxes A A' B (or A E A' E')
        const char* button;
        std::string message;  // or, when empty, the boxes expected after
        const char* expected; // TxtData(0..9)
    };
    const Case cases[] = {
        {"0 0 0", "CmdCalcA", kMore, ""},                                    // 0
        {"100 0 0", "CmdCalcA", kMore, ""},                                  // 1
        {"0 10 0", "CmdCalcA", kMore, ""},                                   // 2
        {"0 0 .1", "CmdCalcA", kMore, ""},                                   // 4
        {"100 10 0", "CmdCalcA", "", "100 10 90.00e-3 _ _ 100 _ 10 _ 20"},   // 3: (100-10)/1000
        {"10 10 0", "CmdCalcA", kOrder, ""},                                 // 3, A' = A
        {"100 0 .09", "CmdCalcA", "", "100 10.00 .09 _ _ 100 _ 10.00 _ 20"}, // 5: 100 / 10
        {"0 10 .09", "CmdCalcA", "", "100.0 10 .09 _ _ 100.0 _ 10 _ 20"},    // 6: 10 / 0.1
        {"0 2 .5", "CmdCalcA",
         "These values yield an infinite or\r\nnegative value for Open-Loop Gain.", ""}, // B A' = 1
        {"100 10 .09", "CmdCalcA", kTooMuch, ""},                                        // 7
        {"/ 0 0 0", "CmdCalcA", kMore, ""},                                              // 8
        {"/ 100 0 0", "CmdCalcA", kMore, ""},                                            // 9
        {"/ 0 10 0", "CmdCalcA", kMore, ""},                                             // 10
        {"/ 0 0 .1", "CmdCalcA", kMore, ""},                                             // 12
        // 11: sqrt(100^2 - 60^2) / 6000 = 80 / 6000; 20 log(100 / 60) = 4.44.
        {"/ 100 60 0", "CmdCalcA", "", "100 60 13.33e-3 _ _ 100 _ 60 _ 4.44"},
        {"/ 60 60 0", "CmdCalcA", kOrder, ""},
        // 13: 100 / sqrt((100 / 75)^2 + 1) = 60.
        {"/ 100 0 13.333333333333333e-3", "CmdCalcA", "",
         "100 60.00 13.333333333333333e-3 _ _ 100 _ 60.00 _ 4.44"},
        // 14: 60 / sqrt(1 - 0.8^2) = 100.
        {"/ 0 60 13.333333333333333e-3", "CmdCalcA", "",
         "100.0 60 13.333333333333333e-3 _ _ 100.0 _ 60 _ 4.44"},
        {"/ 0 2 .5", "CmdCalcA",
         "These values yield an infinite or\r\nimaginary value for Open-Loop Gain.", ""},
        {"/ 100 60 .1", "CmdCalcA", kTooMuch, ""}, // 15
        {"-5 0 0", "CmdCalcA", "Enter Open-Loop Gani as a positive number.", ""},
        // The error table: E' / A' = E / A.
        {"100 20 10 0", "CmdCalcE", "", "_ _ _ _ _ 100 20 10 2.000 _"}, // 7
        {"100 20 0 2", "CmdCalcE", "", "_ _ _ _ _ 100 20 10.00 2 _"},   // 11
        {"100 0 10 2", "CmdCalcE", "", "_ _ _ _ _ 100 20.00 10 2 _"},   // 13
        {"0 20 10 2", "CmdCalcE", "", "_ _ _ _ _ 100.0 20 10 2 _"},     // 14
        {"100 20 10 2", "CmdCalcE", kTooMuch, ""},                      // 15
        {"100 20 0 0", "CmdCalcE", kMore, ""},
        {"-1 20 10 0", "CmdCalcE", "Enter Open-Loop Gani as a positive number.", ""},
    };
    const Texts gainBoxes{d(0), d(1), d(2)};
    const Texts errorBoxes{d(5), d(6), d(7), d(8)};
    for (const Case& c : cases) {
        TestWindow w(feedback(), "", Examples::None);
        Texts typed = words(c.steps);
        const bool slope = typed[0] == "/";
        if (slope)
            typed.erase(typed.begin());
        w.select(slope ? "OpSlope" : "OpFlat");
        w.select("OpBeta");
        std::string joined;
        for (const auto& t : typed)
            joined += t + " ";
        const bool gain = std::string(c.button) == "CmdCalcA";
        w.type(gain ? gainBoxes : errorBoxes, joined);
        const Texts before = w.shown(allBoxes());
        w.press(c.button);
        if (!c.message.empty()) {
            EXPECT_EQ(w.dialogs.texts(), Texts{c.message}) << c.steps;
            if (!gain) { // the gain button copies A and A' before its checks
                EXPECT_EQ(w.shown(allBoxes()), before) << c.steps;
            }
        } else {
            EXPECT_TRUE(w.dialogs.shown.empty()) << c.steps;
            EXPECT_EQ(w.shown(allBoxes()), words(c.expected)) << c.steps;
        }
    }
}

TEST(Feedback, ChecksBeforeTheCases) {
    const std::pair<const char*, std::string> cases[] = {
        {"OpBeta", "Select the radio button indicating the point on the frequency\r\n"
                   "response curve where the calculation is taking place."},
        {"OpFlat", "Select the radio button indicating how you want to enter the\r\n"
                   "Feedback Fraction.  Just B, R1 and R2 of a Noninverting\r\n"
                   "Amplifier, or R1 and R2 of an Inverting Amplifier"},
    };
    for (const auto& [option, message] : cases) {
        TestWindow w(feedback(), std::string(option) + " TxtData(0)=100 TxtData(1)=10 CmdCalcA",
                     Examples::None);
        EXPECT_EQ(w.dialogs.texts(), Texts{message});
        EXPECT_EQ(w.form.text(d(7)), "10"); // copied before the check
        EXPECT_EQ(w.form.text(d(2)), "");
    }
}

TEST(Feedback, ResistorsGiveTheFeedbackFraction) {
    // Inverting: B = R1 / R2 = 0.5.
    TestWindow inv(feedback(), "OpInv TxtData(1)=0 TxtData(4)=200 CmdCalcA");
    EXPECT_EQ(inv.form.text(d(2)), "500.0e-3");
    // R1 without R2 leaves B as typed; the feedback-fraction mode ignores R1 and R2.
    TestWindow alone(feedback(), "TxtData(4)=_ TxtData(2)=.5 CmdCalcA");
    EXPECT_EQ(alone.form.text(d(1)), "1.947"); // 73.56 / (36.78 + 1)
    TestWindow beta(feedback(), "OpBeta TxtData(2)=.5 CmdCalcA");
    EXPECT_EQ(beta.form.text(d(1)), "1.947");
    // A negative R1 + R2 sum of zero has no fraction: nothing changes.
    TestWindow zero(feedback(), "TxtData(3)=-3300 CmdCalcA");
    EXPECT_EQ(zero.dialogs.shown.size(), 1u);
    EXPECT_EQ(zero.form.text(d(2)), "0.000");
    EXPECT_EQ(zero.form.text(d(7)), "0.000");
}

TEST(Feedback, ModeClicksShowTheResistorsAndPicture) {
    TestWindow w(feedback());
    const Texts controls{d(3), d(4), "TxtLabl(3)", "TxtLabl(4)", "Image1"};
    const std::tuple<const char*, bool, const char*> clicks[] = {{"OpBeta", false, "NonInv.GIF"},
                                                                 {"OpInv", true, "Inv.GIF"},
                                                                 {"OpBeta", false, "Inv.GIF"},
                                                                 {"OpNonInv", true, "NonInv.GIF"}};
    for (const auto& [option, shown, picture] : clicks) {
        w.select(option);
        for (const auto& c : controls)
            EXPECT_EQ(w.form.visible(c), shown) << option << " " << c;
        EXPECT_EQ(w.form.text("Image1"), picture);
    }
}

TEST(Feedback, CloseSavesTrimmedTextsAndNoDecibels) {
    TestWindow w(feedback(), "OpInv OpSlope TxtData(6)=abc TxtData(8)=1234.5 TxtData(9)=42");
    EXPECT_EQ(w.close(), words("False 73.56 0.000 0.000 100.0 3.300e+3 73.56 0.000 0.000 "
                               "1.235e+3 0.000 3 2"));
    w.open(feedback());
    EXPECT_TRUE(w.form.selected("OpInv") && w.form.selected("OpSlope"));
    EXPECT_EQ(w.form.text(d(9)), "0.000");
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
