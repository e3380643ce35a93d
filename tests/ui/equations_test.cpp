#include <QAbstractButton>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <cstdio>
#include <gtest/gtest.h>

#include "ui_support.h"

namespace ferrovane {
namespace {

using namespace testing;

// The window opens with several hundred controls: the time is printed, not
// asserted, since the machine running the tests sets the pace. The first
// opening also loads fonts and styles; the second is what the user meets.
TEST(EquationsWindow, OpensAndMethodClicksShowTheirFrames) {
    App app;
    QStringList times;
    CalculatorWindow* w = nullptr;
    for (int i = 0; i < 2; ++i) {
        if (w)
            click(w, "CmdClose");
        QElapsedTimer timer;
        timer.start();
        w = app.open("Cmd5x5RjX");
        times << QString::number(timer.elapsed());
        ASSERT_NE(w, nullptr);
    }
    std::printf("[ measure  ] equations window opened in %s ms\n", qPrintable(times.join(", ")));
    // Shown: the equations, the impedance and component ladders with their
    // sources, the VTR caption and the frequency.
    const char* frames[] = {"FrameEqu",  "FrameImp", "FrameImpE", "FrameCmp",
                            "FrameCmpE", "Text3",    "Text4"};
    for (const auto& [option, flags] :
         {std::pair{"OpImp", "0110010"}, {"OpCmp", "0001111"}, {"OpEqu", "1000000"}}) {
        click(w, option);
        for (int i = 0; i < 7; ++i)
            EXPECT_EQ(shown(w, frames[i]), flags[i] == '1') << option << " " << frames[i];
        // The boxes scroll, so the window fits a 1366 x 768 screen less its task bar.
        EXPECT_LE(w->minimumSizeHint().width(), 1366) << option;
        EXPECT_LE(w->minimumSizeHint().height(), 768 - 60) << option;
    }
}

// Tab then runs along an equation: real, imaginary, next coefficient.
TEST(EquationsWindow, LoopCountsAreClampedAndHideCellsAndTabRunsRowByRow) {
    App app;
    CalculatorWindow* w = app.open("Cmd5x5RjX");
    ASSERT_NE(w, nullptr);
    auto* loops = find<QComboBox>(w, "ComNum1");
    for (const auto& [typed, kept, last, beyond] : {std::tuple{"9", "6", "TxtX(35)", ""},
                                                    {"3", "3", "TxtR(14)", "TxtR(15)"},
                                                    {"1", "2", "TxtR(7)", "TxtR(2)"}}) {
        loops->setEditText(typed);
        settle();
        EXPECT_EQ(loops->currentText(), kept);
        EXPECT_TRUE(shown(w, last)) << typed;
        EXPECT_TRUE(!*beyond || !shown(w, beyond)) << typed;
    }
    loops->setEditText("6");
    settle();
    auto next = [w](const char* from) {
        QWidget* n = find(w, from)->nextInFocusChain();
        while (!(qobject_cast<QLineEdit*>(n) || qobject_cast<QComboBox*>(n)))
            n = n->nextInFocusChain();
        return n->objectName();
    };
    EXPECT_EQ(next("TxtR(0)"), "TxtX(0)");
    EXPECT_EQ(next("TxtX(0)"), "TxtR(1)");
    EXPECT_EQ(next("TxtX(5)"), "TxtK(0)");
    EXPECT_EQ(next("TxtKX(0)"), "TxtR(6)");
}

// Typed into the real boxes: 2 I1 + j1 I2 - 1 = 0, I1 + I2 - (1 + j1) = 0
// gives by hand I1 = 1, I2 = j1, Zin = -1 ohm (the constant over I1).
TEST(EquationsWindow, CalculateThroughTheWidgets) {
    App app;
    CalculatorWindow* w = app.open("Cmd5x5RjX");
    ASSERT_NE(w, nullptr);
    const std::pair<const char*, const char*> typed[] = {
        {"TxtR(0)", "2"}, {"TxtR(1)", "0"},  {"TxtX(1)", "1"},  {"TxtR(6)", "1"},
        {"TxtR(7)", "1"}, {"TxtK(0)", "-1"}, {"TxtK(1)", "-1"}, {"TxtKX(1)", "-1"}};
    for (const auto& [box, text] : typed) {
        auto* edit = find<QLineEdit>(w, box);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    click(w, "CmdCalc");
    const QString deg = QStringLiteral("\u00B0");
    QStringList lines;
    for (auto* list = find<QListWidget>(w, "List1"); lines.size() < list->count();)
        lines << list->item(lines.size())->text();
    EXPECT_EQ(lines, (QStringList{"I1 =  1.000     +j 0.000      =  1.000     /_0" + deg,
                                  "I2 =  0.000     +j 1.000      =  1.000     /_90" + deg,
                                  "Zin = -1.000 +j 0.000 Ohms = 1.000 Ohms /_180" + deg}));
    EXPECT_TRUE(app.dialogs.shown.empty());
}

} // namespace
} // namespace ferrovane
