#include "calculators/passive/reactance.h"

#include <gtest/gtest.h>

#include <tuple>

#include "numeric/eng_text.h"
#include "support/test_window.h"

namespace ferrovane {
namespace {

using testing::TestWindow;
using testing::Texts;
using testing::words;

// F, w, L, C, XL, XC in the window's order.
const Texts kBoxes = {"TxtFreq", "TxtAngFreq", "TxtInd", "TxtCap", "TxtIndRct", "TxtCapRct"};

TEST(Reactance, ExampleFindsTheResonatingCapacitorAt455kHz) {
    TestWindow w(reactance(), "CmdCalc");
    EXPECT_EQ(w.shown(kBoxes), (Texts{" 455.0e+3  ", " 2.859e+6  ", " 2.500e-3  ", " 48.94e-12 ",
                                      " 7.147e+3  ", " 7.147e+3  "}));
    EXPECT_TRUE(w.dialogs.shown.empty());
}

// Two circuits of L = 2.5 mH and C = 100 pF supply the values: at resonance
// (w = 1 / sqrt(LC) = 2e6, F = 318.3 kHz, XL = XC = 5 k) wherever one
// reactance is taken for the other, and at w = 1e6 (F = 159.2 kHz, XL = 2.5 k,
// XC = 10 k) where both are given. Quantities not given are typed as zero,
// empty ("_"), negative or text. The boxes must show the expected numbers in
// engineering text. Where a formula overflows or divides by a zero product (no
// expected numbers) the window keeps every text it had and one message says so.
TEST(Reactance, EverySelectorWritesItsUnknownsAndLeavesTheRest) {
    const std::string r = "318.3e3 2e6 2.5e-3 100e-12 5e3 5e3";
    const std::string o = "159.2e3 1e6 2.5e-3 100e-12 2.5e3 10e3";
    const std::string f = "318309.886183791"; // 2e6 / 2 pi
    const std::string more = "I can't make enything out of that.  Enter more data.";
    const std::string apart = "C with Xc and L with XL are for different frequencies.  Enter "
                              "consistant data or zeros.";
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"_ -5 -2 abc 0 -1e-20", "0 -5 -2 0 0 -1e-20", "Enter some data, it's all zeros."},
        {"0 0 0 0 0 5000", "0 0 0 0 0 5e3", more},
        {"0 0 0 -1 5000 0", "0 0 0 -1 5e3 0", more},
        {"0 0 0 0 2500 10000", "0 0 0 0 2.5e3 10e3", more},
        {"0 0 0 100e-12 0 0", "0 0 0 100e-12 0 0", more},
        {"0 0 0 100e-12 0 5000", r, ""},
        {"0 0 -1 100e-12 5000 0", r, "I will assume Xc = XL."},
        {"0 0 0 100e-12 2500 10000", o, ""},
        {"-5 1e6 2.5e-3 0 0 0", "-5 1e6 2.5e-3 0 0 0",
         "Inductance alone is not enough data.  Enter an XL or a frequency."},
        {"0 0 2.5e-3 0 _ 5000", r, "I will assume XL = Xc."},
        {"0 0 2.5e-3 0 5000 0", r, ""},
        {"0 0 2.5e-3 -7 2500 10000", o, ""},
        {"0 -3 2.5e-3 100e-12 0 0", r, ""}, // XL = XC at the resonance of L and C
        {"0 0 2.5e-3 100e-12 0 10000", o, ""},
        {"0 0 2.5e-3 100e-12 2500 0", o, ""},
        {"0 0 2.5e-3 100e-12 5000 5000", r, ""},
        {"0 2e6 0 0 0 x", "318.3e3 2e6 0 0 0 0",
         "Frequency alone is not enough.  Enter more data."},
        {"0 2e6 0 0 0 5000", r, ""},
        {f + " 0 0 0 5000 0", r, ""},
        {"0 1e6 0 0 2500 10000", o, ""},
        {"0 2e6 -1 100e-12 0 0", r, ""},
        {"0 2e6 0 100e-12 0 1", r, ""},
        {f + " 0 0 100e-12 7 0", r, ""},
        {f + " 1 0 100e-12 7 1", r, ""},
        {"0 2e6 2.5e-3 -1 0 0", r, ""},
        {"0 2e6 2.5e-3 0 0 3", r, ""},
        {f + " 0 2.5e-3 0 3 0", r, ""},
        {f + " 0 2.5e-3 0 3 4", r, ""},
        {"0 1e6 2.5e-3 100e-12 0 0", o, ""},
        {"0 1e6 2.5e-3 100e-12 0 1234", "159.2e3 1e6 2.5e-3 100e-12 2.5e3 1234", ""},
        {"0 1e6 2.5e-3 100e-12 4321 0", "159.2e3 1e6 2.5e-3 100e-12 4321 10e3", ""},
        {f + " 0 2.5e-3 100e-12 5000 5000", r, "Too much data, enter some zeros."},
        // F = 0: w = 1000 with L = 1 gives F = 1000 / 2 pi, XL = XC = 1 k, C = 1 uF.
        {"0 1000 1 0 0 0", "159.2 1000 1 1e-6 1000 1000", ""},
        // F wins: w = 2 pi 1 kHz, XL = w L, C = 1 / (w^2 L) = 25.33 uF.
        {"1000 5 1e-3 0 0 0", "1000 6283 1e-3 25.33e-6 6.283 6.283", ""},
        // L = 1, C = 1 uF, XC = 1 k: w1 = XL, w2 = 1000, w = sqrt(w1 w2) if
        // |w1 - w2| / w < .2 %: 2.001 / 1001, 2.003 / 1001.001, 1.998 / 999.0005, 2.1 / 998.9.
        {"0 0 1 1e-6 1002.001 1000", "159.3 1001 1 1e-6 1001 999", ""},
        {"0 0 1 1e-6 1002.003 1000", "0 0 1 1e-6 1002 1000", apart},
        {"0 0 1 1e-6 998.002 1000", "159 999 1 1e-6 999 1001", ""},
        {"0 0 1 1e-6 997.9 1000", "0 0 1 1e-6 997.9 1000", apart},
        {"1e300 0 1e300 0 0 0", "", ""},   // XL = w L overflows
        {"0 0 0 1e-200 1e-200 0", "", ""}, // C XC is zero, after its warning
    };
    bool reached[32] = {};
    for (const auto& [typed, expected, message] : cases) {
        SCOPED_TRACE(typed);
        const auto given = [&](int i) { return ReadNumber(words(typed)[i]) > 0; };
        // F (or w, when F is zero) adds 16, L 8, C 4, XL 2, XC 1.
        reached[(given(0) || (ReadNumber(words(typed)[0]) == 0 && given(1))) * 16 + given(2) * 8 +
                given(3) * 4 + given(4) * 2 + given(5)] = true;
        TestWindow w(reactance());
        w.type(kBoxes, typed);
        const Form before = w.form;
        EXPECT_EQ(w.calculate(), !expected.empty());
        if (expected.empty()) {
            EXPECT_TRUE(w.form == before && w.dialogs.shown.size() == 1);
            continue;
        }
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(w.form.text(kBoxes[i]), FormatEng(ReadNumber(words(expected).at(i))));
        EXPECT_EQ(w.dialogs.texts(), message.empty() ? Texts{} : Texts{message});
        for (const Message& m : w.dialogs.shown)
            EXPECT_EQ(m.icon, message == apart ? MessageIcon::None : MessageIcon::Exclamation);
    }
    for (int s = 0; s < 32; ++s)
        EXPECT_TRUE(reached[s]) << "selector " << s << " not reached";
}

} // namespace
} // namespace ferrovane
