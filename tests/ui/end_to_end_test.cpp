#include <QAction>
#include <QProgressDialog>
#include <QPushButton>
#include <gtest/gtest.h>

#include "ui_support.h"

namespace ferrovane {
namespace {

using namespace testing;

// Typed into the real boxes: 2 I1 + j1 I2 - 1 = 0, I1 + I2 - (1 + j1) = 0
// gives by hand I1 = 1, I2 = j1, Zin = -1 ohm (the constant over I1).
TEST(EndToEnd, CalculateThroughTheWidgets) {
    App app;
    CalculatorWindow* w = app.open("Cmd5x5RjX");
    ASSERT_NE(w, nullptr);
    // Its frames scroll, so it fits a 1366 x 768 screen less its task bar.
    for (const char* method : {"OpImp", "OpCmp", "OpEqu"}) {
        click(w, method);
        EXPECT_LE(w->minimumSizeHint().width(), 1366) << method;
        EXPECT_LE(w->minimumSizeHint().height(), 768 - 60) << method;
    }
    const char* typed[][2] = {{"TxtR(0)", "2"},  {"TxtR(1)", "0"},  {"TxtX(1)", "1"},
                              {"TxtR(6)", "1"},  {"TxtR(7)", "1"},  {"TxtK(0)", "-1"},
                              {"TxtK(1)", "-1"}, {"TxtKX(1)", "-1"}};
    for (const auto& [box, text] : typed)
        type(w, box, text);
    click(w, "CmdCalc");
    const QString deg = QStringLiteral("\u00B0");
    EXPECT_EQ(lines(w, "List1"),
              (QStringList{"I1 =  1.000     +j 0.000      =  1.000     /_0" + deg,
                           "I2 =  0.000     +j 1.000      =  1.000     /_90" + deg,
                           "Zin = -1.000 +j 0.000 Ohms = 1.000 Ohms /_180" + deg}));
    EXPECT_TRUE(app.dialogs.shown.empty());
}

// Ctrl+P presses the tracking window's own Print; its table goes into the PDF.
TEST(EndToEnd, ATablePrintedToAPdfFile) {
    App app;
    CalculatorWindow* w = app.open("CmdTrack");
    ASSERT_NE(w, nullptr);
    w->printer().setOutputFile(QString::fromStdString((app.tmp.path() / "t.pdf").string()));
    click(w, "CmdCalc");
    const QStringList table = lines(w, "LstTracking");
    ASSERT_EQ(table.size(), 11);
    find<QAction>(w, "ActionPrint")->trigger();
    EXPECT_EQ(lines(w, "LstTracking"), table); // the list keeps its lines
    const QString text = pdfText(app.tmp.path() / "t.pdf");
    EXPECT_TRUE(text.contains("RFCoil=17Microhenrys")) << text.left(200).toStdString();
    for (QString row : table)
        EXPECT_TRUE(text.contains(row.remove(' '))) << row.toStdString();
    EXPECT_TRUE(app.dialogs.shown.empty());
}

// The graph covers the maximised window until its own Close; a long run
// cancelled from its progress dialog leaves list, graph and window as they were.
TEST(EndToEnd, AGraphOpenedAndClosedAndALongRunCancelled) {
    App app;
    CalculatorWindow* w = app.open("CmdFilter");
    ASSERT_NE(w, nullptr);
    click(w, "CmdCalc");
    EXPECT_TRUE(w->isMaximized() && find(w, "PGraph")->isVisible());
    click(w, "CmdClosGr");
    EXPECT_FALSE(w->isMaximized() || find(w, "PGraph")->isVisible());
    const QStringList before = lines(w, "List1");
    EXPECT_EQ(before.value(0), "      Average value of V1 = 355.1     Volts");
    const Drawing graph = w->form().drawing("PGraph");
    type(w, "TxtRCLI(19)", "1000");
    bool sawDialog = false;
    whenShown<QProgressDialog>([&sawDialog](QProgressDialog* progress) {
        sawDialog = true;
        progress->findChild<QPushButton*>()->click();
    });
    click(w, "CmdCalc");
    EXPECT_TRUE(sawDialog);
    EXPECT_EQ(lines(w, "List1"), before);
    EXPECT_TRUE(w->form().drawing("PGraph") == graph);
    EXPECT_FALSE(w->isMaximized() || find(w, "PGraph")->isVisible());
    EXPECT_TRUE(app.dialogs.shown.empty());
}

} // namespace
} // namespace ferrovane
