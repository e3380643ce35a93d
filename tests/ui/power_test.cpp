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

using testing::App;
using testing::find;
using testing::settle;

void click(QWidget* window, const char* button) {
    auto* b = find<QAbstractButton>(window, button);
    ASSERT_NE(b, nullptr) << button;
    b->click();
    settle();
}

QStringList lines(QWidget* window, const char* list) {
    QStringList out;
    auto* l = find<QListWidget>(window, list);
    for (int i = 0; l && i < l->count(); ++i)
        out << l->item(i)->text();
    return out;
}

TEST(PowerWindows, TransformerRowsFollowTheNumberOfSecondaries) {
    App app;
    CalculatorWindow* w = app.open("CmdXform");
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(find(w, "TxtSec1V(3)")->isVisible());
    // The example's type 3 shows our drawing of it.
    EXPECT_FALSE(find<QLabel>(w, "Image1")->pixmap().isNull());
    for (const char* type : {"OpType1", "OpType2", "OpMil"}) {
        click(w, type);
        EXPECT_FALSE(find<QLabel>(w, "Image1")->pixmap().isNull()) << type;
    }
    EXPECT_FALSE(find(w, "TxtSec1V(4)")->isVisible());
    auto* count = find<QLineEdit>(w, "TxtNoSec");
    count->selectAll();
    QTest::keyClicks(count, "2");
    EXPECT_TRUE(find(w, "TxtSec1R(1)")->isVisible());
    EXPECT_FALSE(find(w, "TxtSec1R(2)")->isVisible());
    click(w, "CmdCalc");
    EXPECT_EQ(lines(w, "ListOut").size(), 5 + 2 * 5 + 1 + 4);
    w->close();
    settle();
}

TEST(PowerWindows, FilterGraphCoversTheWindowUntilItsClose) {
    App app;
    CalculatorWindow* w = app.open("CmdFilter");
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(find(w, "PGraph")->isVisible());
    EXPECT_FALSE(find(w, "CmdClosGr")->isVisible());
    click(w, "CmdCalc");
    EXPECT_TRUE(w->isMaximized());
    EXPECT_TRUE(find(w, "PGraph")->isVisible());
    EXPECT_FALSE(find(w, "TxtRCLI(0)")->isVisible());
    EXPECT_EQ(lines(w, "List1").value(0), "      Average value of V1 = 355.1     Volts");
    click(w, "CmdClosGr");
    EXPECT_FALSE(w->isMaximized());
    EXPECT_FALSE(find(w, "PGraph")->isVisible());
    EXPECT_TRUE(find(w, "TxtRCLI(0)")->isVisible());
    w->close();
    settle();
}

// Presses Cancel on the long run's progress dialog once it shows.
void cancelWhenShown(QWidget* parent, bool& sawDialog) {
    QTimer::singleShot(20, parent, [parent, &sawDialog] {
        auto* progress = parent->findChild<QProgressDialog*>("LongRun");
        if (!progress || !progress->isVisible())
            return cancelWhenShown(parent, sawDialog);
        sawDialog = true;
        if (auto* cancel = progress->findChild<QPushButton*>())
            cancel->click();
    });
}

TEST(PowerWindows, CancelOfALongSimulationLeavesEverythingAsItWas) {
    App app;
    CalculatorWindow* w = app.open("CmdFilter");
    ASSERT_NE(w, nullptr);
    click(w, "CmdCalc");
    click(w, "CmdClosGr");
    const QStringList before = lines(w, "List1");
    auto* total = find<QLineEdit>(w, "TxtRCLI(19)");
    total->selectAll();
    QTest::keyClicks(total, "1000");
    const Drawing graph = w->form().drawing("PGraph");
    bool sawDialog = false;
    cancelWhenShown(w, sawDialog);
    click(w, "CmdCalc");
    EXPECT_TRUE(sawDialog);
    EXPECT_EQ(lines(w, "List1"), before);
    EXPECT_TRUE(w->form().drawing("PGraph") == graph);
    EXPECT_FALSE(find(w, "PGraph")->isVisible());
    EXPECT_FALSE(w->isMaximized());
    EXPECT_TRUE(app.dialogs.shown.empty());
    w->close();
    settle();
}

} // namespace
} // namespace ferrovane
