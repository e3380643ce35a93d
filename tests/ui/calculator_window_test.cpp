#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QEnterEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTimer>
#include <filesystem>
#include <gtest/gtest.h>

#include <cstdio>

#include "calculators/catalogue.h"
#include "ui_support.h"

namespace ferrovane {
namespace {

using testing::App;
using testing::boxText;
using testing::click;
using testing::find;
using testing::lines;
using testing::settle;
using testing::shown;
using testing::type;

void enter(QWidget* w) {
    QEnterEvent e(QPointF(2, 2), QPointF(2, 2), w->mapToGlobal(QPointF(2, 2)));
    QCoreApplication::sendEvent(w, &e);
}

TEST(CalculatorWindows, EveryAvailableCalculatorOpensNamedAndClosesBackToTheMenu) {
    App app;
    for (const CatalogueEntry& entry : catalogue()) {
        if (!entry.calculator)
            continue;
        const Calculator& calc = entry.calculator();
        // The opening time is printed, not asserted: the machine sets the pace.
        QElapsedTimer timer;
        timer.start();
        CalculatorWindow* w = app.open(entry.button.c_str());
        std::printf("[ measure  ] %s opened in %.1f ms\n", entry.button.c_str(),
                    timer.nsecsElapsed() / 1e6);
        ASSERT_NE(w, nullptr) << entry.button;
        EXPECT_FALSE(app.main.isVisible());
        EXPECT_TRUE(w->isVisible());
        EXPECT_EQ(w->objectName().toStdString(), calc.form.name);
        EXPECT_EQ(w->windowTitle().toStdString(), calc.form.caption);
        // Opened right after the examples were written; a graph has no file
        // to load, and the feedback window never says "Load Example".
        if (!calc.dataFile.empty()) {
            auto* load = find<QAbstractButton>(w, "CmdLoadData");
            ASSERT_NE(load, nullptr) << entry.button;
            EXPECT_EQ(load->text(), entry.button == "CmdCoilQ" ? "Load Last Run" : "Load Example")
                << entry.button;
        }
        // Every box can be found by the words beside it.
        for (QLineEdit* edit : w->findChildren<QLineEdit*>())
            EXPECT_FALSE(edit->accessibleName().isEmpty()) << edit->objectName().toStdString();

        find<QAbstractButton>(w, calc.form.closeName.c_str())->click();
        settle();
        EXPECT_TRUE(app.main.isVisible()) << entry.button;
        EXPECT_EQ(app.main.openCalculatorWindow(), nullptr);
        if (!calc.dataFile.empty()) {
            EXPECT_EQ(app.tmp.read(calc.dataFile).substr(0, 7), "False\r\n") << entry.button;
        }
    }
    EXPECT_TRUE(app.dialogs.shown.empty());
}

TEST(VoltageDividerWindow, OptionClicksEnableAndDisableTheRightBoxes) {
    App app;
    CalculatorWindow* w = app.open("CmdVoltDiv");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(boxText(w, "TxtAr"), "375.0e-3");
    EXPECT_FALSE(find<QLineEdit>(w, "TxtAr")->isEnabled());
    EXPECT_TRUE(find<QLineEdit>(w, "TxtVin")->isEnabled());

    find<QRadioButton>(w, "OpAr")->click();
    EXPECT_TRUE(find<QLineEdit>(w, "TxtAr")->isEnabled());
    EXPECT_FALSE(find<QLineEdit>(w, "TxtdB")->isEnabled());
    EXPECT_FALSE(find<QLineEdit>(w, "TxtVin")->isEnabled());
    EXPECT_EQ(boxText(w, "TxtVin"), "0.00");

    find<QRadioButton>(w, "OpNoLoad")->click();
    EXPECT_FALSE(find<QLineEdit>(w, "TxtIL")->isEnabled());
    EXPECT_EQ(find<QLabel>(w, "Text5")->text(), "");

    // Current loading needs the voltages: it selects that option itself.
    find<QRadioButton>(w, "OpILoad")->click();
    EXPECT_TRUE(find<QRadioButton>(w, "OpVinVout")->isChecked());
    EXPECT_EQ(find<QLabel>(w, "Text5")->text(), "Load Current");
    EXPECT_EQ(find<QLineEdit>(w, "TxtIL")->accessibleName(), "Load Current");
}

TEST(VoltageDividerWindow, CalculateFillsTheListAndCloseSavesWhatWasTyped) {
    App app;
    CalculatorWindow* w = app.open("CmdVoltDiv");
    ASSERT_NE(w, nullptr);
    find<QAbstractButton>(w, "CmdCalc")->click();
    auto* list = find<QListWidget>(w, "LstOutput");
    ASSERT_GT(list->count(), 20);
    EXPECT_TRUE(list->item(0)->text().startsWith("6.2 k"));
    EXPECT_EQ(boxText(w, "TxtAr"), " 375.0e-3  ");

    type(w, "TxtVo", "100");
    // Enter in a box presses Calculate, the default button.
    QTest::keyClick(find<QLineEdit>(w, "TxtVo"), Qt::Key_Return);
    EXPECT_EQ(boxText(w, "TxtAr"), " 250.0e-3  ");

    // Escape acts as Close: the file is saved and the menu comes back.
    QTest::keyClick(w, Qt::Key_Escape);
    settle();
    EXPECT_TRUE(app.main.isVisible());
    const auto fields = DataDir(app.tmp.path()).readFields("VoltDiv.DAT");
    ASSERT_TRUE(fields);
    EXPECT_EQ((*fields)[0], "False");
    EXPECT_EQ((*fields)[3], "100.0     ");

    w = app.open("CmdVoltDiv");
    EXPECT_EQ(find<QAbstractButton>(w, "CmdLoadData")->text(), "Load Last Run");
    EXPECT_EQ(boxText(w, "TxtVo"), "100.0     ");
}

TEST(VoltageDividerWindow, AWindowManagerCloseSavesToo) {
    App app;
    CalculatorWindow* w = app.open("CmdVoltDiv");
    ASSERT_NE(w, nullptr);
    type(w, "TxtRtMax", "2e6");
    w->close();
    settle();
    EXPECT_TRUE(app.main.isVisible());
    EXPECT_EQ((*DataDir(app.tmp.path()).readFields("VoltDiv.DAT"))[7], "2.000e+6  ");
}

TEST(VoltageDividerWindow, AFailedSaveAsksAndNoKeepsTheWindowWithItsText) {
    App app;
    CalculatorWindow* w = app.open("CmdVoltDiv");
    ASSERT_NE(w, nullptr);
    type(w, "TxtVo", "123");
    std::filesystem::remove(app.tmp.path() / "VoltDiv.DAT");
    std::filesystem::create_directory(app.tmp.path() / "VoltDiv.DAT");
    app.dialogs.answers = {Answer::No};
    find<QAbstractButton>(w, "CmdClose")->click();
    settle();
    ASSERT_EQ(app.dialogs.shown.size(), 1u);
    EXPECT_EQ(app.dialogs.shown[0].buttons, MessageButtons::YesNo);
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(app.main.isVisible());
    EXPECT_EQ(boxText(w, "TxtVo"), "123");

    app.dialogs.answers = {Answer::Yes};
    w->close();
    settle();
    EXPECT_TRUE(app.main.isVisible());
}

TEST(VoltageDividerWindow, AMessageBoxAppearsAndIsAnswered) {
    testing::TempDir tmp;
    MainWindow main{DataDir(tmp.path())}; // real message boxes
    main.start();
    find<QAbstractButton>(&main, "CmdVoltDiv")->click();
    CalculatorWindow* w = main.openCalculatorWindow();
    ASSERT_NE(w, nullptr);
    type(w, "TxtVin", "0");
    QString seen;
    QTimer::singleShot(0, [&seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen = box->text();
        box->button(QMessageBox::Ok)->click();
    });
    find<QAbstractButton>(w, "CmdCalc")->click();
    EXPECT_EQ(seen, "Need a value for Vin.");
    EXPECT_EQ(find<QListWidget>(w, "LstOutput")->count(), 0);
}

TEST(ReactanceWindow, QuickHelpFollowsTheMouseAndTheFrameEmptiesIt) {
    App app;
    CalculatorWindow* w = app.open("CmdLCRes");
    ASSERT_NE(w, nullptr);
    auto* help = find<QPlainTextEdit>(w, "Txt2QuickHelp");
    ASSERT_NE(help, nullptr);
    enter(find(w, "CmdCalc"));
    EXPECT_EQ(help->toPlainText(),
              "Calculate all unknown values, round them off and place them in the boxes.");
    enter(find(w, "CmdLoadData"));
    EXPECT_TRUE(help->toPlainText().startsWith("To help you get started"));
    enter(find(w, "CmdClose2"));
    EXPECT_TRUE(help->toPlainText().startsWith("If you want the data to be saved"));
    QWidget* frame = find(w, "Frame2");
    ASSERT_NE(frame, nullptr);
    QMouseEvent move(QEvent::MouseMove, QPointF(1, 1), frame->mapToGlobal(QPointF(1, 1)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(frame, &move);
    EXPECT_EQ(help->toPlainText(), "");

    find<QAbstractButton>(w, "CmdCalc")->click();
    EXPECT_EQ(boxText(w, "TxtCap"), " 48.94e-12 ");
}

TEST(WavelengthWindow, UnitOptionsRedisplayTheStoredValue) {
    App app;
    CalculatorWindow* w = app.open("CmdWav");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(boxText(w, "TxtFreq"), " 7.250e+3  ");
    find<QAbstractButton>(w, "CmdCalc")->click();
    EXPECT_EQ(boxText(w, "TxtFeet"), "66");
    EXPECT_EQ(boxText(w, "TxtInch"), "6");
    find<QRadioButton>(w, "OpMeters")->click();
    EXPECT_EQ(boxText(w, "TxtFeet"), " 20.28     ");
    EXPECT_FALSE(find<QLineEdit>(w, "TxtInch")->isVisible());
    find<QRadioButton>(w, "OpMc")->click();
    EXPECT_EQ(boxText(w, "TxtFreq"), " 7.250     ");
}

TEST(LNetworkWindow, ModeOptionsShowHideAndLockTheBoxes) {
    App app;
    CalculatorWindow* w = app.open("CmdLNet");
    ASSERT_NE(w, nullptr);
    find<QRadioButton>(w, "OpVandI")->click();
    EXPECT_TRUE(find<QLineEdit>(w, "TxtVc")->isVisible());
    EXPECT_TRUE(find<QLineEdit>(w, "TxtR1")->isReadOnly());
    type(w, "TxtVc", "600");
    type(w, "TxtIc", ".1");
    EXPECT_EQ(boxText(w, "TxtR1"), "6000"); // Vc / Ic, shown as it is typed
    find<QRadioButton>(w, "OpRes")->click();
    EXPECT_FALSE(find<QLineEdit>(w, "TxtVc")->isVisible());
    EXPECT_FALSE(find<QLineEdit>(w, "TxtR1")->isReadOnly());
}

TEST(LossyCoilWindow, HelpBoxFollowsTheMouseAndLoadNewDesignFillsTheBoxes) {
    App app;
    CalculatorWindow* w = app.open("CmdLosyCapDiv");
    ASSERT_NE(w, nullptr);
    auto* help = find<QPlainTextEdit>(w, "QHlp");
    ASSERT_NE(help, nullptr);
    enter(find(w, "CmdClose"));
    EXPECT_EQ(help->toPlainText(),
              "The current data will be save and this calculator will be closed.");
    EXPECT_EQ(boxText(w, "TxtRc"), "2.00");
    find<QAbstractButton>(w, "CmdClr")->click(); // "Load New Design"
    EXPECT_EQ(find<QAbstractButton>(w, "CmdClr")->text(), "Load New Design");
    EXPECT_EQ(boxText(w, "TxtRc"), "10.00");
    find<QAbstractButton>(w, "CmdCalc")->click();
    EXPECT_EQ(find<QListWidget>(w, "List1")->count(), 7);
}

} // namespace
} // namespace ferrovane
