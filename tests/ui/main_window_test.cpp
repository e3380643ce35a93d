#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>

#include "calculators/catalogue.h"
#include "ui/drawing_view.h"
#include "ui_support.h"

namespace ferrovane {
namespace {

using namespace testing;

// The grid offers every calculator, greyed with a tip where none is built
// yet; its descriptions follow the mouse and the keyboard, and the frame
// between the buttons empties the box. Reset rewrites the files silently.
TEST(MainWindow, FirstStartWritesTheExamplesAndShowsTheGrid) {
    App app;
    EXPECT_TRUE(app.main.isVisible());
    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator(app.tmp.path()))
        files += e.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, 23);
    auto* describe = find<QPlainTextEdit>(&app.main, "TxtDescribe");
    std::vector<const CatalogueEntry*> built;
    for (const CatalogueEntry& entry : catalogue()) {
        auto* button = find<QAbstractButton>(&app.main, entry.button.c_str());
        ASSERT_NE(button, nullptr) << entry.button;
        EXPECT_EQ(button->isEnabled(), entry.calculator != nullptr) << entry.button;
        EXPECT_EQ(button->toolTip().isEmpty(), entry.calculator != nullptr) << entry.button;
        if (entry.calculator)
            built.push_back(&entry);
    }
    ASSERT_GE(built.size(), 3u);
    for (const CatalogueEntry* entry : {built[0], built[1]}) { // replaced, not emptied first
        enter(find(&app.main, entry->button.c_str()));
        EXPECT_EQ(describe->toPlainText().toStdString(), entry->description);
    }
    moveOver(find(&app.main, "Frame01"));
    EXPECT_EQ(describe->toPlainText(), "");
    QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
    QCoreApplication::sendEvent(find(&app.main, built[2]->button.c_str()), &focus);
    EXPECT_EQ(describe->toPlainText().toStdString(), built[2]->description);
    // "&&" shows one ampersand, read by a screen reader as the words on the button.
    EXPECT_EQ(find(&app.main, "CmdFreqMult")->accessibleName(),
              "Freq. Multipliers & Prime Numbers");

    app.tmp.write("RLCQ.dat", "False\r\n1\r\n");
    click(&app.main, "CmdReset");
    EXPECT_EQ(app.tmp.read("RLCQ.dat").substr(0, 6), "True\r\n");
    EXPECT_TRUE(app.dialogs.shown.empty());
}

// Every calculator opens in place of the main window, which comes back when
// the calculator's own close button is pressed. The opening time is printed,
// not asserted: the machine sets the pace.
TEST(MainWindow, OpensEveryCalculatorAndComesBackWhenItCloses) {
    App app;
    for (const CatalogueEntry& entry : catalogue()) {
        if (!entry.calculator)
            continue;
        const Calculator& calc = entry.calculator();
        SCOPED_TRACE(entry.button);
        QElapsedTimer timer;
        timer.start();
        CalculatorWindow* w = app.open(entry.button.c_str());
        std::printf("[ measure  ] %s opened in %.1f ms\n", entry.button.c_str(),
                    timer.nsecsElapsed() / 1e6);
        ASSERT_NE(w, nullptr);
        EXPECT_FALSE(app.main.isVisible());
        EXPECT_EQ(w->windowTitle().toStdString(), calc.form.caption);
        // Every box can be found by the words beside it.
        for (QLineEdit* edit : w->findChildren<QLineEdit*>())
            EXPECT_FALSE(edit->accessibleName().isEmpty()) << edit->objectName().toStdString();
        // With nothing that can use more height, no empty band opens above
        // the buttons: at most a few lines below the lowest box.
        if (w->findChildren<QListWidget*>().isEmpty() &&
            w->findChildren<DrawingView*>().isEmpty()) {
            int lowest = 0;
            for (QLineEdit* edit : w->findChildren<QLineEdit*>())
                if (edit->isVisible())
                    lowest = std::max(lowest, edit->mapTo(w, QPoint(0, edit->height())).y());
            const int buttons = find(w, "CmdCalc")->parentWidget()->mapTo(w, QPoint(0, 0)).y();
            EXPECT_LT(buttons - lowest, 3 * w->fontMetrics().height());
        }
        click(w, calc.form.closeName.c_str());
        EXPECT_TRUE(app.main.isVisible());
        EXPECT_EQ(app.main.openCalculatorWindow(), nullptr);
    }
    EXPECT_TRUE(app.dialogs.shown.empty());
}

// Every caption in the window's own font, on at most two lines inside its
// button; the same margin on every side of the grid, and no band below it.
TEST(MainWindow, OneCaptionSizeAndEvenMargins) {
    App app;
    std::vector<QAbstractButton*> buttons;
    for (const CatalogueEntry& entry : catalogue())
        buttons.push_back(find<QAbstractButton>(&app.main, entry.button.c_str()));
    buttons.push_back(find<QAbstractButton>(&app.main, "CmdReset"));
    buttons.push_back(find<QAbstractButton>(&app.main, "CmdEnd"));
    for (QAbstractButton* b : buttons) {
        ASSERT_NE(b, nullptr);
        const std::string name = b->objectName().toStdString();
        EXPECT_EQ(b->font().pointSizeF(), app.main.font().pointSizeF()) << name;
        const QFontMetrics m(b->font());
        const QRect room = b->rect().adjusted(4, 2, -4, -2);
        const QRect used =
            m.boundingRect(room, Qt::AlignCenter | Qt::TextWordWrap, b->accessibleName());
        EXPECT_TRUE(room.contains(used)) << name;
        EXPECT_LE(used.height(), 2 * m.lineSpacing()) << name;
    }
    QWidget* frame = find(&app.main, "Frame01");
    const QRect box = find(&app.main, "TxtDescribe")->geometry();
    const QRect end = find(&app.main, "CmdEnd")->geometry();
    const QRect first = find(&app.main, "CmdVoltDiv")->geometry();
    EXPECT_EQ(frame->geometry(), app.main.rect());
    EXPECT_EQ(first.left(), box.left());
    EXPECT_EQ(end.right(), box.right()); // the grid is as wide as the box
    EXPECT_EQ(box.top(), box.left());
    EXPECT_EQ(frame->width() - 1 - box.right(), box.left());
    EXPECT_EQ(frame->height() - 1 - end.bottom(), box.left());
}

// As in any dialog, Enter and Space both press the button with the focus.
TEST(MainWindow, EnterOrSpaceOnAFocusedButtonOpensItsCalculator) {
    App app;
    auto* button = find<QAbstractButton>(&app.main, "CmdLCRes");
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
        app.main.activateWindow();
        button->setFocus(Qt::TabFocusReason);
        QTest::keyClick(button, key);
        settle();
        CalculatorWindow* w = app.main.openCalculatorWindow();
        ASSERT_NE(w, nullptr) << key;
        EXPECT_EQ(w->calculator().form.caption,
                  findCalculator("reactance")->calculator().form.caption);
        w->closeAndSave();
        settle();
    }
}

TEST(MainWindow, OnlyAMissingVoltageDividerFileRewritesTheExamples) {
    App app([](const TempDir& tmp) {
        tmp.write("VoltDiv.DAT", "False\r\n1\r\n");
        tmp.write("RLCQ.dat", "False\r\n2\r\n");
    });
    EXPECT_FALSE(std::filesystem::exists(app.tmp.path() / "Wave.dat"));
    EXPECT_EQ(app.tmp.read("VoltDiv.DAT"), "False\r\n1\r\n");

    // Deleting only that file loses the saved work of every calculator.
    std::filesystem::remove(app.tmp.path() / "VoltDiv.DAT");
    MainWindow again(DataDir(app.tmp.path()), &app.dialogs);
    again.start();
    EXPECT_EQ(app.tmp.read("RLCQ.dat").substr(0, 6), "True\r\n");
    EXPECT_TRUE(std::filesystem::exists(app.tmp.path() / "Wave.dat"));
}

TEST(MainWindow, AnUnwritableDirectoryStillStartsAndSaysWhyOnce) {
    TempDir tmp;
    ScriptedDialogs dialogs;
    tmp.write("plain", "x");
    MainWindow main(DataDir(tmp.path() / "plain" / "sub"), &dialogs);
    main.start();
    EXPECT_TRUE(main.isVisible());
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_NE(dialogs.shown[0].text.find("plain"), std::string::npos);
}

} // namespace
} // namespace ferrovane
