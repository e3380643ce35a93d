#include <QAction>
#include <QDate>
#include <QLabel>
#include <QTableWidget>
#include <QToolButton>
#include <fstream>
#include <gtest/gtest.h>

#include "ui/save_prompt.h"
#include "ui/spice_check_dialog.h"
#include "ui_support.h"

namespace ferrovane {
namespace {

using namespace testing;

// The netlist of the last completed Calculate: exported into a file and
// checked in ngspice, with its figures in a table; a Calculate that ends on a
// message leaves nothing to export, and a window without a circuit offers
// neither.
TEST(Spice, ExportAndCheckTheLastCompletedCalculate) {
    App app;
    CalculatorWindow* w = app.open("CmdLNet");
    ASSERT_NE(w, nullptr);
    auto* exportAction = find<QAction>(w, "ActionExportSpice");
    auto* checkAction = find<QAction>(w, "ActionCheckSpice");
    ASSERT_TRUE(exportAction && checkAction);
    EXPECT_TRUE(w->actions().contains(exportAction)); // in the context menu
    EXPECT_FALSE(exportAction->isEnabled());
    click(w, "CmdCalc");
    ASSERT_TRUE(exportAction->isEnabled());
    // The Explore dialog offers the same two, in step with the window.
    w->explore();
    settle();
    auto* explore = w->findChild<QDialog*>("Explore");
    ASSERT_NE(explore, nullptr);
    auto* exploreButton = find<QToolButton>(explore, "ActionCheckSpiceButton");
    ASSERT_NE(exploreButton, nullptr);
    EXPECT_TRUE(exploreButton->isEnabled());
    explore->close();
    settle();

    const auto file = app.tmp.path() / "match.cir"; // the extension is added
    QString filterOffered;
    setSaveFilePrompt([&](QWidget*, const QString&, const QString& filter) -> QString {
        filterOffered = filter;
        return QString::fromStdString((app.tmp.path() / "match").string());
    });
    exportAction->trigger();
    setSaveFilePrompt({});
    EXPECT_TRUE(filterOffered.contains("*.cir"));
    std::ifstream in(file);
    const std::string text{std::istreambuf_iterator<char>(in), {}};
    const std::string title = "Ferrovane: L--Network Design Calculator, " +
                              QDate::currentDate().toString(Qt::ISODate).toStdString() + "\n";
    EXPECT_EQ(text.substr(0, title.size()), title);
    EXPECT_NE(text.find("\nRL out 0 50\n"), std::string::npos) << text;

    checkAction->trigger();
    settle();
    auto* dialog = w->findChild<SpiceCheckDialog*>("SpiceCheck");
    ASSERT_NE(dialog, nullptr);
    auto* table = find<QTableWidget>(dialog, "TblSpiceCheck");
    ASSERT_EQ(table->rowCount(), 3);
    EXPECT_EQ(table->item(0, 0)->text(), "Input resistance");
    EXPECT_EQ(find<QLabel>(dialog, "LblSpiceVerdict")->text(),
              "Every figure agrees with ngspice within its tolerance.");
    dialog->close();

    type(w, "TxtRL", "9000"); // not below R1: refused with a message
    click(w, "CmdCalc");
    EXPECT_EQ(app.dialogs.shown.size(), 1u);
    EXPECT_FALSE(exportAction->isEnabled());
    EXPECT_FALSE(checkAction->isEnabled());
    w->close();
    settle();

    CalculatorWindow* reactance = app.open("CmdLCRes");
    ASSERT_NE(reactance, nullptr);
    EXPECT_EQ(find<QAction>(reactance, "ActionExportSpice"), nullptr);
}

} // namespace
} // namespace ferrovane
