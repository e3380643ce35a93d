#include <QAccessible>
#include <QAction>
#include <QClipboard>
#include <QFile>
#include <gtest/gtest.h>

#include "ui/drawing_view.h"
#include "ui/qt_printer.h"
#include "ui_support.h"

namespace ferrovane {
namespace {

using namespace testing;

QAccessibleInterface* accessible(QWidget* root, const char* name) {
    QWidget* w = find(root, name);
    return w ? QAccessible::queryAccessibleInterface(w) : nullptr;
}

void press(QWidget* root, const char* name) {
    accessible(root, name)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
}

// Everything through the accessibility interfaces a screen reader uses: a
// value set on a box, an option toggled, Calculate pressed, the list read.
TEST(Accessibility, AScreenReaderDrivesTheLNetworkWindow) {
    App app;
    CalculatorWindow* w = app.open("CmdLNet");
    ASSERT_NE(w, nullptr);
    QAccessibleInterface* rl = accessible(w, "TxtRL");
    ASSERT_NE(rl->editableTextInterface(), nullptr);
    rl->editableTextInterface()->replaceText(0, rl->textInterface()->characterCount(), "75");
    EXPECT_EQ(w->form().text("TxtRL"), "75");

    press(w, "OpVandI");
    EXPECT_TRUE(QTest::qWaitFor([w] { return w->form().selected("OpVandI"); }, 2000));
    EXPECT_TRUE(w->form().locked("TxtR1")); // the option's rule ran
    press(w, "OpRes");
    EXPECT_TRUE(QTest::qWaitFor([w] { return w->form().selected("OpRes"); }, 2000));
    // A button pressed this way clicks a moment later, as if animated.
    press(w, "CmdCalc");
    ASSERT_TRUE(QTest::qWaitFor([w] { return !w->form().list("List1").empty(); }, 2000));
    QAccessibleInterface* list = accessible(w, "List1");
    QStringList read;
    for (int i = 0; i < list->childCount(); ++i)
        read << list->child(i)->text(QAccessible::Name);
    EXPECT_TRUE(read.contains("       RL = 75.00     ")) << read.join('|').toStdString();
}

TEST(Accessibility, BoxesAndListsAreNamedByWhatTheUserSeesNow) {
    App app;
    CalculatorWindow* w = app.open("CmdWav");
    ASSERT_NE(w, nullptr);
    click(w, "Opkc");
    EXPECT_EQ(find(w, "TxtFreq")->accessibleName(), "kHz");
    w->close();
    settle();
    w = app.open("CmdVoltDiv");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(find(w, "LstOutput")->accessibleName(),
              QString::fromStdString(w->form().text("Text16")));
}

TEST(ResultList, CopyAllGivesEveryLineWithItsBlanks) {
    App app;
    CalculatorWindow* w = app.open("CmdVoltDiv");
    ASSERT_NE(w, nullptr);
    click(w, "CmdCalc");
    QStringList expected;
    for (const auto& line : w->form().list("LstOutput"))
        expected << QString::fromStdString(line);
    ASSERT_GT(expected.size(), 1);
    auto* list = find<QListWidget>(w, "LstOutput");
    find<QAction>(list, "LstOutputCopyAll")->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), expected.join('\n'));
    list->item(1)->setSelected(true);
    list->item(0)->setSelected(true);
    find<QAction>(list, "LstOutputCopy")->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), expected[0] + '\n' + expected[1]);
}

TEST(ReadingHint, ABoxWithMoreThanItsNumberIsMarkedAndKeepsItsText) {
    App app;
    CalculatorWindow* w = app.open("CmdRLCQ");
    ASSERT_NE(w, nullptr);
    auto* box = find<QLineEdit>(w, "TxtR");
    const struct {
        const char* typed;
        const char* tip;
    } cases[] = {{"4.7k", "Read as 4.7: the rest (\"k\") is ignored."},
                 {"1,5", "Read as 1: the rest (\",5\") is ignored."},
                 {"12 V", "Read as 12: the rest (\"V\") is ignored."},
                 {"4.7", ""},
                 {"", ""},
                 {"  3", ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        box->selectAll();
        box->del();
        QTest::keyClicks(box, c.typed);
        EXPECT_EQ(w->form().text("TxtR"), c.typed); // the value read is unchanged
        EXPECT_EQ(box->toolTip(), c.tip);
        auto* mark = find<QAction>(w, "TxtRHint");
        EXPECT_EQ(mark && mark->isVisible(), *c.tip != '\0');
    }
}

TEST(Worksheet, CtrlPSavesTheWindowAsAPdf) {
    App app;
    CalculatorWindow* w = app.open("CmdLNet");
    ASSERT_NE(w, nullptr);
    const QString pdf = QString::fromStdString((app.tmp.path() / "worksheet.pdf").string());
    w->printer().setOutputFile(pdf);
    find<QAction>(w, "ActionPrint")->trigger();
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = pdfText(file.readAll());
    EXPECT_TRUE(text.contains("L--NetworkDesignCalculator")) << text.left(200).toStdString();
    EXPECT_TRUE(text.contains("LowSideResistanceRL")) << text.left(200).toStdString();
}

TEST(Focus, NoToTheMilliampereQuestionPutsTheFocusOnTheCurrent) {
    App app;
    CalculatorWindow* w = app.open("CmdTransBias");
    ASSERT_NE(w, nullptr);
    w->activateWindow();
    auto* ic = find<QLineEdit>(w, "TxtIc");
    ic->setText(".05");
    find<QWidget>(w, "TxtVcc")->setFocus();
    app.dialogs.answers = {Answer::No};
    click(w, "CmdCalc");
    EXPECT_EQ(ic->text(), "50");
    EXPECT_EQ(w->focusWidget(), ic);
}

TEST(Graph, TheFilterGraphOffersItsTracesAndReadsThePointer) {
    App app;
    CalculatorWindow* w = app.open("CmdFilter");
    ASSERT_NE(w, nullptr);
    click(w, "CmdCalc");
    auto* view = find<DrawingView>(w, "PGraph");
    ASSERT_TRUE(view && view->isVisible());
    // The middle of the plot means some time and voltage; the corner nothing.
    EXPECT_TRUE(view->pointerTextAt(QPointF(view->width() / 2.0, view->height() / 2.0))
                    .contains(" Sec.  "));
    EXPECT_TRUE(view->pointerTextAt(QPointF(1, 1)).isEmpty());
    ASSERT_EQ(view->menuEntries().size(), 1u);
    EXPECT_EQ(view->menuEntries().front().first, "Export Traces as CSV...");
}

} // namespace
} // namespace ferrovane
