#include <QAbstractButton>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QScreen>
#include <cstdio>
#include <gtest/gtest.h>

#include "ui_support.h"

namespace ferrovane {
namespace {

using testing::App;
using testing::find;
using testing::settle;

const QString kDeg = QStringLiteral("\u00B0");

bool shown(QWidget* w, const char* name) {
    auto* widget = find(w, name);
    return widget && widget->isVisibleTo(w);
}

void type(QWidget* w, const char* name, const QString& text) {
    auto* edit = find<QLineEdit>(w, name);
    ASSERT_NE(edit, nullptr) << name;
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

QStringList lines(QWidget* w) {
    QStringList l;
    auto* list = find<QListWidget>(w, "List1");
    for (int i = 0; list && i < list->count(); ++i)
        l << list->item(i)->text();
    return l;
}

// The window opens with several hundred controls: printed, not asserted,
// since the machine running the tests sets the pace.
TEST(EquationsWindow, OpensWithinTheScreenAndShowsTheExample) {
    App app;
    // The first opening also loads fonts and styles; the later ones are
    // what the user meets each time.
    QStringList times;
    CalculatorWindow* w = nullptr;
    for (int i = 0; i < 4; ++i) {
        if (w) {
            find<QAbstractButton>(w, "CmdClose")->click();
            settle();
        }
        QElapsedTimer timer;
        timer.start();
        w = app.open("Cmd5x5RjX");
        times << QString::number(timer.elapsed());
        ASSERT_NE(w, nullptr);
    }
    std::printf("[ measure  ] equations window opened in %s ms (%d boxes)\n",
                qPrintable(times.join(", ")),
                static_cast<int>(w->findChildren<QLineEdit*>().size()));
    // The boxes scroll, so the window needs less than a 1366 x 768 screen
    // (less its task bar) whichever method shows, and opens at its design size.
    for (const char* option : {"OpEqu", "OpImp", "OpCmp"}) {
        find<QRadioButton>(w, option)->click();
        settle();
        EXPECT_LE(w->minimumSizeHint().width(), 1366) << option;
        EXPECT_LE(w->minimumSizeHint().height(), 768 - 60) << option;
    }
    find<QRadioButton>(w, "OpEqu")->click();
    settle();
    EXPECT_EQ(w->size(), QSize(800, 570));
    EXPECT_TRUE(find<QRadioButton>(w, "OpEqu")->isChecked());
    EXPECT_EQ(find<QComboBox>(w, "ComNum1")->currentText(), "2");
    EXPECT_EQ(find<QLineEdit>(w, "TxtR(0)")->text(), "-30");
    EXPECT_TRUE(shown(w, "TxtR(7)"));
    EXPECT_FALSE(shown(w, "TxtR(2)"));
    EXPECT_FALSE(shown(w, "FrameImp"));
    EXPECT_TRUE(app.dialogs.shown.empty());
}

TEST(EquationsWindow, MethodClicksShowTheirFrames) {
    App app;
    CalculatorWindow* w = app.open("Cmd5x5RjX");
    ASSERT_NE(w, nullptr);
    struct Case {
        const char* option;
        bool equ, imp, cmp, vtr, frequency;
    };
    for (const Case& c : {Case{"OpImp", false, true, false, true, false},
                          Case{"OpCmp", false, false, true, true, true},
                          Case{"OpEqu", true, false, false, false, false}}) {
        find<QRadioButton>(w, c.option)->click();
        settle();
        EXPECT_EQ(shown(w, "FrameEqu"), c.equ) << c.option;
        EXPECT_EQ(shown(w, "FrameImp"), c.imp) << c.option;
        EXPECT_EQ(shown(w, "FrameImpE"), c.imp) << c.option;
        EXPECT_EQ(shown(w, "FrameCmp"), c.cmp) << c.option;
        EXPECT_EQ(shown(w, "FrameCmpE"), c.cmp) << c.option;
        EXPECT_EQ(shown(w, "Text3"), c.vtr) << c.option;
        EXPECT_EQ(shown(w, "Text4"), c.frequency) << c.option;
    }
}

TEST(EquationsWindow, LoopCountsAreClampedAndHideCells) {
    App app;
    CalculatorWindow* w = app.open("Cmd5x5RjX");
    ASSERT_NE(w, nullptr);
    auto* loops = find<QComboBox>(w, "ComNum1");
    loops->setEditText("9");
    settle();
    EXPECT_EQ(loops->currentText(), "6");
    EXPECT_TRUE(shown(w, "TxtX(35)"));
    EXPECT_TRUE(shown(w, "TxtKX(5)"));
    loops->setCurrentIndex(loops->findText("3"));
    settle();
    EXPECT_TRUE(shown(w, "TxtR(14)"));
    EXPECT_FALSE(shown(w, "TxtR(15)"));
    EXPECT_FALSE(shown(w, "TxtI(18)"));
    EXPECT_FALSE(shown(w, "TxtK(3)"));
    loops->setEditText("1");
    settle();
    EXPECT_EQ(loops->currentText(), "2");
    EXPECT_FALSE(shown(w, "TxtR(2)"));
}

// Tab runs along an equation: real, imaginary, next coefficient.
TEST(EquationsWindow, TabRunsRowByRow) {
    App app;
    CalculatorWindow* w = app.open("Cmd5x5RjX");
    ASSERT_NE(w, nullptr);
    find<QComboBox>(w, "ComNum1")->setEditText("6");
    settle();
    auto next = [](QWidget* from) {
        QWidget* n = from->nextInFocusChain();
        while (n != from && !(qobject_cast<QLineEdit*>(n) || qobject_cast<QComboBox*>(n)))
            n = n->nextInFocusChain();
        return n->objectName();
    };
    EXPECT_EQ(next(find(w, "TxtR(0)")), "TxtX(0)");
    EXPECT_EQ(next(find(w, "TxtX(0)")), "TxtR(1)");
    EXPECT_EQ(next(find(w, "TxtX(5)")), "TxtK(0)");
    EXPECT_EQ(next(find(w, "TxtKX(0)")), "TxtR(6)");
}

// Typed into the real boxes: 2 I1 + j1 I2 - 1 = 0, I1 + I2 - (1 + j1) = 0
// gives by hand I1 = 1, I2 = j1, Zin = -1 ohm (the constant over I1).
TEST(EquationsWindow, CalculateThroughTheWidgets) {
    App app;
    CalculatorWindow* w = app.open("Cmd5x5RjX");
    ASSERT_NE(w, nullptr);
    type(w, "TxtR(0)", "2");
    type(w, "TxtR(1)", "0");
    type(w, "TxtX(1)", "1");
    type(w, "TxtR(6)", "1");
    type(w, "TxtR(7)", "1");
    type(w, "TxtK(0)", "-1");
    type(w, "TxtK(1)", "-1");
    type(w, "TxtKX(1)", "-1");
    find<QAbstractButton>(w, "CmdCalc")->click();
    settle();
    EXPECT_EQ(lines(w), (QStringList{"I1 =  1.000     +j 0.000      =  1.000     /_0" + kDeg,
                                     "I2 =  0.000     +j 1.000      =  1.000     /_90" + kDeg,
                                     "Zin = -1.000 +j 0.000 Ohms = 1.000 Ohms /_180" + kDeg}));
    EXPECT_TRUE(find<QAbstractButton>(w, "CmdCalc")->isEnabled());

    // A refusal empties the list and leaves Calculate enabled.
    find<QRadioButton>(w, "OpCmp")->click();
    type(w, "Text4", "0");
    find<QAbstractButton>(w, "CmdCalc")->click();
    settle();
    EXPECT_TRUE(lines(w).isEmpty());
    ASSERT_EQ(app.dialogs.shown.size(), 1u);
    EXPECT_EQ(app.dialogs.shown[0].text, "We need a value for Frequency.");
    EXPECT_TRUE(find<QAbstractButton>(w, "CmdCalc")->isEnabled());
}

} // namespace
} // namespace ferrovane
