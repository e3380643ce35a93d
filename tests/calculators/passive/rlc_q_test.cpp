#include "calculators/passive/rlc_q.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "numeric/eng_text.h"
#include "support/test_window.h"

namespace ferrovane {
namespace {

using testing::TestWindow;
using testing::Texts;
using testing::words;

// In the order of the weights they add to the selector: 32, 16, 8, 4, 2, 1.
const Texts kBoxes = {"TxtC", "TxtL", "TxtF", "TxtR", "TxtQ", "TxtBW"};

TEST(RlcQ, ExampleFindsCapacitanceResistanceAndQ) {
    TestWindow w(rlcQ(), "CmdCalc");
    EXPECT_EQ(w.shown(kBoxes),
              (Texts{" 48.94e-12 ", "2.5e-3", "455e3", " 235.6     ", " 30.33     ", "15.0e3"}));
    EXPECT_TRUE(w.dialogs.shown.empty());
}

// Each selector types the circuit C = 100 pF, L = 100 uH, F = 1 MHz, R = 10,
// Q = 50, BW = 40 kHz for the quantities it gives; the others are typed as
// zero, empty, negative or text. A box not rewritten ("." below) keeps what
// was typed. With L and F: w = 2 pi F, C = 1 / (w^2 L) = 253.3 pF,
// XL = w L = 628.3; with C and F: L = 253.3 uH, XL = 1 / (w C) = 1592; with C
// and L: w = 1 / sqrt(LC) = 1e7, F = 1.592 MHz (replacing a typed F), XL = 1 k.
// Then Q = F / BW and R = XL / Q, or from Q: R = XL / Q and BW = F / Q, or
// from R: Q = XL / R and BW = F / Q; R wins over Q and Q over BW.
TEST(RlcQ, EverySelectorWritesWhatItComputesAndLeavesTheRest) {
    const Texts given = {"100e-12", "100e-6", "1e6", "10", "50", "40e3"};
    const Texts notGiven = {"0", "_", "-1", "abc"};
    // The selectors of a combination and what it shows in C L F R Q BW.
    const std::pair<std::vector<int>, std::string> cases[] = {
        {{25}, "253.3e-12 . . 25.13 25 ."},
        {{26, 27}, "253.3e-12 . . 12.57 . 20e3"},
        {{28, 29, 30, 31}, "253.3e-12 . . . 62.83 15.92e3"},
        {{41}, ". 253.3e-6 . 63.66 25 ."},
        {{49, 57}, ". . 1.592e6 25.13 39.79 ."},
        {{50, 51, 58, 59}, ". . 1.592e6 20 . 31.83e3"},
        {{52, 53, 54, 55, 60, 61, 62, 63}, ". . 1.592e6 . 100 15.92e3"},
    };
    for (int s = 0; s < 64; ++s) {
        SCOPED_TRACE("selector " + std::to_string(s));
        std::string typed;
        for (int i = 0; i < 6; ++i)
            typed += ((s & (32 >> i)) ? given[i] : notGiven[(s + i) % 4]) + " ";
        TestWindow w(rlcQ());
        w.type(kBoxes, typed);
        const Form before = w.form;
        ASSERT_TRUE(w.calculate());
        Texts shown;
        for (const auto& [selectors, texts] : cases)
            if (std::find(selectors.begin(), selectors.end(), s) != selectors.end())
                shown = words(texts);
        if (shown.empty()) {
            EXPECT_EQ(w.dialogs.texts(), Texts{"Insufficient data, please enter more."});
            EXPECT_EQ(w.dialogs.shown.at(0).icon, MessageIcon::None);
            EXPECT_TRUE(w.form == before);
            continue;
        }
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(w.form.text(kBoxes[i]),
                      shown[i] == "." ? words(typed)[i] : FormatEng(ReadNumber(shown[i])));
        EXPECT_TRUE(w.dialogs.shown.empty());
    }
}

// LC underflows to zero, or F is too large to hold: the window keeps every
// text it had and one message says why.
TEST(RlcQ, ResultsThatAreNotFiniteChangeNothing) {
    for (const char* typed : {"1e-200 1e-200 0 1 0 0", "0 1e-3 1e999 0 5 0"}) {
        TestWindow w(rlcQ());
        w.type(kBoxes, typed);
        const Form before = w.form;
        EXPECT_FALSE(w.calculate());
        EXPECT_TRUE(w.form == before);
        EXPECT_EQ(w.dialogs.shown.size(), 1u);
    }
}

} // namespace
} // namespace ferrovane
