#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

#include "ui/drawing_view.h"
#include "ui_support.h"

namespace ferrovane {
namespace {

using testing::App;
using testing::find;
using testing::settle;

void type(QWidget* w, const char* name, const QString& text) {
    auto* edit = find<QLineEdit>(w, name);
    ASSERT_NE(edit, nullptr) << name;
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

void click(QWidget* w, const char* name) {
    auto* button = find<QAbstractButton>(w, name);
    ASSERT_NE(button, nullptr) << name;
    button->click();
    settle();
}

QString text(QWidget* w, const char* name) {
    auto* edit = find<QLineEdit>(w, name);
    return edit ? edit->text() : QString("<missing %1>").arg(name);
}

bool shown(QWidget* w, const char* name) {
    QWidget* widget = find(w, name);
    return widget && widget->isVisibleTo(w);
}

TEST(BiasDesignWindow, MilliampereQuestionYesAndNo) {
    App app;
    CalculatorWindow* w = app.open("CmdTransBias");
    ASSERT_NE(w, nullptr);
    auto* list = find<QListWidget>(w, "List1");
    type(w, "TxtIc", ".05");
    app.dialogs.answers = {Answer::No};
    click(w, "CmdCalc");
    ASSERT_EQ(app.dialogs.shown.size(), 1u);
    EXPECT_EQ(app.dialogs.shown[0].title, "Are you sure?");
    EXPECT_EQ(text(w, "TxtIc"), "50");
    EXPECT_EQ(list->count(), 0);

    type(w, "TxtIc", ".05");
    app.dialogs.answers = {Answer::Yes};
    click(w, "CmdCalc");
    EXPECT_EQ(app.dialogs.shown.size(), 2u);
    EXPECT_EQ(text(w, "TxtIc"), ".05");
    ASSERT_EQ(list->count(), 7);
    EXPECT_TRUE(list->item(1)->text().startsWith("Ic = "));
}

TEST(ChangeValuesWindow, LoadNewDesignFillsTheBoxes) {
    App app;
    CalculatorWindow* w = app.open("CmdCVBChgVals");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(text(w, "TxtR1"), "43.00e+3");
    EXPECT_EQ(find<QAbstractButton>(w, "CmdClr")->text(), "Load New Design");
    click(w, "CmdClr");
    EXPECT_EQ(text(w, "TxtR1").trimmed(), "200000");
    EXPECT_EQ(text(w, "TxtRc").trimmed(), "10000");
    click(w, "CmdCalc");
    auto* list = find<QListWidget>(w, "List1");
    ASSERT_EQ(list->count(), 6);
    EXPECT_EQ(list->item(0)->text(), "Ic = 1.015 mA  Ve = 5.228 Volts  Vc = 14.85 Volts");
}

TEST(BetaPlotWindow, OpensDrawnAndCloseGraphBringsTheMenuBack) {
    App app;
    CalculatorWindow* w = app.open("CmdBiasStab");
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(app.main.isVisible());
    EXPECT_TRUE(w->isVisible());
    auto* graph = find<DrawingView>(w, "Graph");
    ASSERT_NE(graph, nullptr);
    const auto texts = graph->drawing().texts();
    EXPECT_NE(std::find(texts.begin(), texts.end(),
                        "Percent change in Ic for Beta = 50 to 200 is 14.17%"),
              texts.end());
    EXPECT_EQ(find<QAbstractButton>(w, "Command2")->text(), "Close Graph");
    EXPECT_EQ(find<QAbstractButton>(w, "CmdCalc"), nullptr);
    click(w, "Command2");
    EXPECT_TRUE(app.main.isVisible());
    EXPECT_EQ(app.main.openCalculatorWindow(), nullptr);
    EXPECT_TRUE(app.dialogs.shown.empty());
}

TEST(FeedbackWindow, ModeClicksShowAndHideTheResistors) {
    App app;
    CalculatorWindow* w = app.open("CmdCoilQ");
    ASSERT_NE(w, nullptr);
    auto* picture = find<QLabel>(w, "Image1");
    ASSERT_NE(picture, nullptr);
    EXPECT_TRUE(shown(w, "TxtData(3)"));
    EXPECT_EQ(picture->property("pictureFile").toString(), "NonInv.GIF");
    click(w, "OpBeta");
    for (const char* name : {"TxtData(3)", "TxtData(4)", "TxtLabl(3)", "TxtLabl(4)", "Image1"})
        EXPECT_FALSE(shown(w, name)) << name;
    click(w, "OpInv");
    for (const char* name : {"TxtData(3)", "TxtData(4)", "TxtLabl(3)", "TxtLabl(4)", "Image1"})
        EXPECT_TRUE(shown(w, name)) << name;
    EXPECT_EQ(picture->property("pictureFile").toString(), "Inv.GIF");
    EXPECT_FALSE(picture->pixmap().isNull()); // our own drawing of it
    click(w, "CmdCalcA");
    EXPECT_EQ(text(w, "TxtData(2)"), "30.30e-3"); // 100 / 3300
}

TEST(TubeGainWindow, OptionsPickPictureAndBoxesAndResistorsSnap) {
    App app;
    CalculatorWindow* w = app.open("CmdVacTub");
    ASSERT_NE(w, nullptr);
    auto* picture = find<QLabel>(w, "Image1");
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->property("pictureFile").toString(), "VT-T-UBY.GIF");
    EXPECT_FALSE(shown(w, "Text5g"));
    click(w, "Option2");
    EXPECT_EQ(picture->property("pictureFile").toString(), "VT-P-UBY.GIF");
    EXPECT_FALSE(find<QLineEdit>(w, "Text3")->isEnabled());
    EXPECT_TRUE(find<QLineEdit>(w, "Text4")->isEnabled());
    click(w, "Option3");
    EXPECT_EQ(picture->property("pictureFile").toString(), "VT-P-BYP.GIF");
    EXPECT_FALSE(picture->pixmap().isNull());

    // Leaving the plate resistor box snaps it to a standard value.
    auto* rb = find<QLineEdit>(w, "Text5");
    rb->setFocus();
    type(w, "Text5", "4.7k");
    find<QLineEdit>(w, "Text6")->setFocus();
    settle();
    EXPECT_EQ(rb->text(), "4.7 k");
    EXPECT_EQ(find<QComboBox>(w, "Combo1")->currentText(), "1 Meg");

    click(w, "CmdClr");
    EXPECT_FALSE(shown(w, "Image1"));
    EXPECT_EQ(find<QComboBox>(w, "Combo1")->currentText(), "Select");
}

} // namespace
} // namespace ferrovane
