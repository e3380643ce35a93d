#include <QAction>
#include <QMessageBox>
#include <filesystem>
#include <gtest/gtest.h>

#include "house_window.h"

namespace ferrovane {
namespace {

using namespace testing;

TEST(Desktop, EnterCalculatesAndEscapeClosesAndSaves) {
    HouseWindow h;
    h.window->activateWindow();
    type(h.window, "TxtA", "12");
    QTest::keyClick(h("TxtA"), Qt::Key_Return); // Calculate is the default button
    EXPECT_EQ(h.runs["CmdCalc"], 1);
    EXPECT_EQ(lines(h.window, "LstOut").size(), 3);
    QTest::keyClick(h.window, Qt::Key_Escape);
    settle();
    EXPECT_TRUE(h.window.isNull());
    EXPECT_EQ(h.tmp.read("House.dat"), "False\r\n12\r\n");
}

// The Close button and the window manager's close both save, and ask.
TEST(Desktop, AFailedSaveAsksAndNoKeepsTheWindowWithItsText) {
    HouseWindow h;
    type(h.window, "TxtA", "123");
    std::filesystem::create_directory(h.tmp.path() / "House.dat");
    h.dialogs.answers = {Answer::No};
    click(h.window, "CmdClose");
    ASSERT_EQ(h.dialogs.shown.size(), 1u);
    EXPECT_EQ(h.dialogs.shown[0].buttons, MessageButtons::YesNo);
    ASSERT_FALSE(h.window.isNull());
    EXPECT_TRUE(h.window->isVisible());
    EXPECT_EQ(h.text("TxtA"), "123");

    h.dialogs.answers = {Answer::Yes};
    h.window->close();
    settle();
    EXPECT_EQ(h.dialogs.shown.size(), 2u);
    EXPECT_TRUE(h.window.isNull());
}

// Ctrl+P prints the window as a worksheet (windows with a Print button of
// their own have it pressed instead: the tracking window's test).
TEST(Desktop, CtrlPPrintsTheWindowAsAWorksheet) {
    HouseWindow h;
    h.window->printer().setOutputFile(QString::fromStdString((h.tmp.path() / "s.pdf").string()));
    type(h.window, "TxtA", "47");
    h.window->activateWindow();
    QTest::keySequence(h.window, QKeySequence::Print);
    const QString text = pdfText(h.tmp.path() / "s.pdf"); // blanks left out
    for (const char* line : {"House", "Avalue47Ohms", "CircuitOne"})
        EXPECT_TRUE(text.contains(line)) << line << " in " << text.toStdString();
    EXPECT_TRUE(h.dialogs.shown.empty());
}

TEST(Desktop, AMessageBoxAppearsAndIsAnswered) {
    HouseWindow h({}, true); // real message boxes
    type(h.window, "TxtA", "0");
    QString seen;
    whenShown<QMessageBox>([&seen](QMessageBox* box) {
        seen = box->text();
        box->button(QMessageBox::Ok)->click();
    });
    click(h.window, "CmdCalc");
    EXPECT_EQ(seen, "Need a value for A.");
    EXPECT_TRUE(lines(h.window, "LstOut").isEmpty());
}

} // namespace
} // namespace ferrovane
