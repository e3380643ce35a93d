#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include "ui_support.h"

namespace ferrovane {
namespace {

using namespace testing;

TEST(PowerWindows, TransformerRowsFollowTheNumberOfSecondaries) {
    App app;
    CalculatorWindow* w = app.open("CmdXform");
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(find(w, "TxtSec1V(3)")->isVisible());
    // Every type shows our drawing of it.
    for (const char* type : {"OpType3", "OpType1", "OpType2", "OpMil"}) {
        click(w, type);
        EXPECT_FALSE(find<QLabel>(w, "Image1")->pixmap().isNull()) << type;
    }
    type(w, "TxtNoSec", "2");
    EXPECT_TRUE(find(w, "TxtSec1R(1)")->isVisible());
    EXPECT_FALSE(find(w, "TxtSec1R(2)")->isVisible());
    click(w, "CmdCalc");
    EXPECT_EQ(lines(w, "ListOut").size(), 5 + 2 * 5 + 1 + 4);
}

// Presses Cancel on the long run's progress dialog once it shows.
void cancelWhenShown(QWidget* parent, bool& sawDialog) {
    QTimer::singleShot(20, parent, [parent, &sawDialog] {
        auto* progress = parent->findChild<QProgressDialog*>("LongRun");
        if (!progress || !progress->isVisible())
            return cancelWhenShown(parent, sawDialog);
        sawDialog = true;
        progress->findChild<QPushButton*>()->click();
    });
}

// The graph covers the maximised window until its own Close; a long run
// cancelled from its progress dialog leaves list, graph and window as they were.
TEST(PowerWindows, FilterGraphCoversTheWindowAndCancelChangesNothing) {
    App app;
    CalculatorWindow* w = app.open("CmdFilter");
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(find(w, "PGraph")->isVisible() || find(w, "CmdClosGr")->isVisible());
    click(w, "CmdCalc");
    EXPECT_TRUE(w->isMaximized() && find(w, "PGraph")->isVisible());
    EXPECT_FALSE(find(w, "TxtRCLI(0)")->isVisible());
    click(w, "CmdClosGr");
    EXPECT_FALSE(w->isMaximized() || find(w, "PGraph")->isVisible());
    EXPECT_TRUE(find(w, "TxtRCLI(0)")->isVisible());
    const QStringList before = lines(w, "List1");
    EXPECT_EQ(before.value(0), "      Average value of V1 = 355.1     Volts");
    const Drawing graph = w->form().drawing("PGraph");
    type(w, "TxtRCLI(19)", "1000");
    bool sawDialog = false;
    cancelWhenShown(w, sawDialog);
    click(w, "CmdCalc");
    EXPECT_TRUE(sawDialog);
    EXPECT_EQ(lines(w, "List1"), before);
    EXPECT_TRUE(w->form().drawing("PGraph") == graph);
    EXPECT_FALSE(w->isMaximized() || find(w, "PGraph")->isVisible());
    EXPECT_TRUE(app.dialogs.shown.empty());
}

} // namespace
} // namespace ferrovane
