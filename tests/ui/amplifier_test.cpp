#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <gtest/gtest.h>

#include "ui/drawing_view.h"
#include "ui_support.h"

namespace ferrovane {
namespace {

using namespace testing;

QString text(QWidget* w, const char* name) {
    return testing::boxText(w, name).trimmed();
}

QString picture(QWidget* w) {
    return find<QLabel>(w, "Image1")->property("pictureFile").toString();
}

TEST(BiasDesignWindow, MilliampereQuestionYesAndNo) {
    App app;
    CalculatorWindow* w = app.open("CmdTransBias");
    ASSERT_NE(w, nullptr);
    auto* list = find<QListWidget>(w, "List1");
    for (Answer answer : {Answer::No, Answer::Yes}) {
        type(w, "TxtIc", ".05");
        app.dialogs.answers = {answer};
        click(w, "CmdCalc");
        // No puts the milliamperes into the box and designs nothing; Yes
        // designs for .05 mA as typed.
        EXPECT_EQ(text(w, "TxtIc"), answer == Answer::No ? "50" : ".05");
        EXPECT_EQ(list->count(), answer == Answer::No ? 0 : 7);
    }
    EXPECT_EQ(app.dialogs.shown.size(), 2u);
    EXPECT_EQ(app.dialogs.shown[0].title, "Are you sure?");
}

TEST(ChangeValuesWindow, LoadNewDesignFillsTheBoxes) {
    App app;
    CalculatorWindow* w = app.open("CmdCVBChgVals");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(find<QAbstractButton>(w, "CmdClr")->text(), "Load New Design");
    click(w, "CmdClr");
    EXPECT_EQ(text(w, "TxtR1"), "200000");
    EXPECT_EQ(text(w, "TxtRc"), "10000");
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
    auto* graph = find<DrawingView>(w, "Graph");
    ASSERT_NE(graph, nullptr);
    const auto texts = graph->drawing().texts();
    EXPECT_NE(std::find(texts.begin(), texts.end(),
                        "Percent change in Ic for Beta = 50 to 200 is 14.17%"),
              texts.end());
    click(w, "Command2");
    EXPECT_TRUE(app.main.isVisible());
    EXPECT_EQ(app.main.openCalculatorWindow(), nullptr);
}

TEST(FeedbackWindow, ModeClicksShowAndHideTheResistors) {
    App app;
    CalculatorWindow* w = app.open("CmdCoilQ");
    ASSERT_NE(w, nullptr);
    for (auto [option, shown, file] :
         {std::tuple{"OpBeta", false, "NonInv.GIF"}, std::tuple{"OpInv", true, "Inv.GIF"}}) {
        click(w, option);
        for (const char* name : {"TxtData(3)", "TxtData(4)", "TxtLabl(3)", "TxtLabl(4)", "Image1"})
            EXPECT_EQ(find(w, name)->isVisibleTo(w), shown) << option << " " << name;
        EXPECT_EQ(picture(w), file);
    }
    EXPECT_FALSE(find<QLabel>(w, "Image1")->pixmap().isNull()); // our own drawing of it
}

TEST(TubeGainWindow, OptionsPickPictureAndBoxesAndResistorsSnap) {
    App app;
    CalculatorWindow* w = app.open("CmdVacTub");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(picture(w), "VT-T-UBY.GIF");
    click(w, "Option2");
    EXPECT_EQ(picture(w), "VT-P-UBY.GIF");
    EXPECT_FALSE(find(w, "Text3")->isEnabled());
    EXPECT_TRUE(find(w, "Text4")->isEnabled());
    click(w, "Option3");
    EXPECT_EQ(picture(w), "VT-P-BYP.GIF");
    // Leaving the plate resistor box snaps it to a standard value.
    type(w, "Text5", "4.7k");
    find(w, "Text6")->setFocus();
    settle();
    EXPECT_EQ(text(w, "Text5"), "4.7 k");
    click(w, "CmdClr");
    EXPECT_FALSE(find(w, "Image1")->isVisibleTo(w));
    EXPECT_EQ(find<QComboBox>(w, "Combo1")->currentText(), "Select");
}

} // namespace
} // namespace ferrovane
