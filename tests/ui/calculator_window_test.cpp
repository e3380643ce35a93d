#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>

#include "calculators/catalogue.h"
#include "ui_support.h"

namespace ferrovane {
namespace {

using namespace testing;

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

        click(w, calc.form.closeName.c_str());
        EXPECT_TRUE(app.main.isVisible()) << entry.button;
        EXPECT_EQ(app.main.openCalculatorWindow(), nullptr);
        if (!calc.dataFile.empty()) {
            EXPECT_EQ(app.tmp.read(calc.dataFile).substr(0, 7), "False\r\n") << entry.button;
        }
    }
    EXPECT_TRUE(app.dialogs.shown.empty());
}

TEST(VoltageDividerWindow, AnOptionEnablesBoxesAndRenamesTheirLabel) {
    App app;
    CalculatorWindow* w = app.open("CmdVoltDiv");
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(find(w, "TxtAr")->isEnabled());
    click(w, "OpAr");
    EXPECT_TRUE(find(w, "TxtAr")->isEnabled());
    EXPECT_FALSE(find(w, "TxtVin")->isEnabled());
    // Current loading needs the voltages: it selects that option itself.
    click(w, "OpILoad");
    EXPECT_TRUE(find<QRadioButton>(w, "OpVinVout")->isChecked());
    EXPECT_EQ(find<QLabel>(w, "Text5")->text(), "Load Current");
}

TEST(VoltageDividerWindow, EnterCalculatesEscapeSavesAndTheNextOpeningShowsTheLastRun) {
    App app;
    CalculatorWindow* w = app.open("CmdVoltDiv");
    ASSERT_NE(w, nullptr);
    click(w, "CmdCalc");
    EXPECT_TRUE(lines(w, "LstOutput").value(0).startsWith("6.2 k"));
    type(w, "TxtVo", "100");
    // Enter in a box presses Calculate, the default button.
    QTest::keyClick(find(w, "TxtVo"), Qt::Key_Return);
    EXPECT_EQ(boxText(w, "TxtAr"), " 250.0e-3  ");

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

// Both the Close button and the window manager's close try to save.
TEST(VoltageDividerWindow, AFailedSaveAsksAndNoKeepsTheWindowWithItsText) {
    App app;
    CalculatorWindow* w = app.open("CmdVoltDiv");
    ASSERT_NE(w, nullptr);
    type(w, "TxtVo", "123");
    std::filesystem::remove(app.tmp.path() / "VoltDiv.DAT");
    std::filesystem::create_directory(app.tmp.path() / "VoltDiv.DAT");
    app.dialogs.answers = {Answer::No};
    click(w, "CmdClose");
    ASSERT_EQ(app.dialogs.shown.size(), 1u);
    EXPECT_EQ(app.dialogs.shown[0].buttons, MessageButtons::YesNo);
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(app.main.isVisible());
    EXPECT_EQ(boxText(w, "TxtVo"), "123");

    app.dialogs.answers = {Answer::Yes};
    w->close();
    settle();
    EXPECT_EQ(app.dialogs.shown.size(), 2u);
    EXPECT_TRUE(app.main.isVisible());
}

TEST(VoltageDividerWindow, AMessageBoxAppearsAndIsAnswered) {
    TempDir tmp;
    MainWindow main{DataDir(tmp.path())}; // real message boxes
    main.start();
    find<QAbstractButton>(&main, "CmdVoltDiv")->click();
    CalculatorWindow* w = main.openCalculatorWindow();
    ASSERT_NE(w, nullptr);
    type(w, "TxtVin", "0");
    QString seen;
    QTimer::singleShot(0, [&seen] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            seen = box->text();
            box->button(QMessageBox::Ok)->click();
        }
    });
    find<QAbstractButton>(w, "CmdCalc")->click();
    EXPECT_EQ(seen, "Need a value for Vin.");
    EXPECT_TRUE(lines(w, "LstOutput").isEmpty());
}

TEST(CalculatorWindows, QuickHelpFollowsTheMouseAndTheFrameEmptiesIt) {
    App app;
    CalculatorWindow* w = app.open("CmdLCRes");
    ASSERT_NE(w, nullptr);
    auto* help = find<QPlainTextEdit>(w, "Txt2QuickHelp");
    ASSERT_NE(help, nullptr);
    enter(find(w, "CmdCalc"));
    EXPECT_EQ(help->toPlainText(),
              "Calculate all unknown values, round them off and place them in the boxes.");
    enter(find(w, "CmdClose2"));
    EXPECT_TRUE(help->toPlainText().startsWith("If you want the data to be saved"));
    moveOver(find(w, "Frame2"));
    EXPECT_EQ(help->toPlainText(), "");
}

TEST(LNetworkWindow, ModeOptionsShowHideAndLockTheBoxesAndTypingRecalculates) {
    App app;
    CalculatorWindow* w = app.open("CmdLNet");
    ASSERT_NE(w, nullptr);
    click(w, "OpVandI");
    EXPECT_TRUE(shown(w, "TxtVc"));
    EXPECT_TRUE(find<QLineEdit>(w, "TxtR1")->isReadOnly());
    type(w, "TxtVc", "600");
    type(w, "TxtIc", ".1");
    EXPECT_EQ(boxText(w, "TxtR1"), "6000"); // Vc / Ic, shown as it is typed
    click(w, "OpRes");
    EXPECT_FALSE(shown(w, "TxtVc"));
    EXPECT_FALSE(find<QLineEdit>(w, "TxtR1")->isReadOnly());
}

} // namespace
} // namespace ferrovane
