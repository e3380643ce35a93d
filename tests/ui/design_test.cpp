#include <QAction>
#include <QDropEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <deque>
#include <gtest/gtest.h>

#include "calculators/catalogue.h"
#include "shell/named_design.h"
#include "ui_support.h"

namespace ferrovane {
namespace {

using namespace testing;

// A main window whose file dialogs answer from a queue and whose recent list
// is kept in a settings file of its own.
struct DesignApp : App {
    DesignApp() {
        main.useSettingsFile(path("settings.ini"));
        main.setFileAsker([this](QWidget*, bool, const QString&) {
            if (files.empty())
                return QString();
            const QString next = files.front();
            files.pop_front();
            return next;
        });
    }
    QString path(const char* name) const {
        return QString::fromStdString((tmp.path() / name).string());
    }
    std::string text(const char* name) const { return tmp.read(name); }
    // The L-network window with RL typed as 75, saved as a design.
    CalculatorWindow* savedLNetwork(const char* name) {
        CalculatorWindow* w = open("CmdLNet");
        if (w) {
            type(w, "TxtRL", "75");
            files.push_back(path(name));
            EXPECT_TRUE(w->saveDesignAs());
        }
        return w;
    }

    std::deque<QString> files;
};

void press(QWidget* w, const QKeySequence& keys) {
    w->activateWindow();
    QApplication::setActiveWindow(w);
    QTest::keySequence(w, keys);
    settle();
}

// The next message box is answered with button; what it offered is kept.
void answerNextBox(QMessageBox::StandardButton button, QMessageBox::StandardButtons* offered) {
    QTimer::singleShot(0, [=] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            *offered = box->standardButtons();
            box->button(button)->click();
        }
    });
}

QString caption(const char* id) {
    return QString::fromStdString(findCalculator(id)->calculator().form.caption);
}

TEST(DesignWindow, SaveAsNamesTheWindowAndAChangedBoxAddsAStar) {
    DesignApp app;
    CalculatorWindow* w = app.open("CmdLNet");
    ASSERT_NE(w, nullptr);
    const std::string lastRun = app.text("LNetD.dat");
    app.files.push_back(app.path("match.fvd"));
    press(w, QKeySequence("Ctrl+Shift+S"));
    const DesignRead saved = readDesign(app.tmp.path() / "match.fvd");
    ASSERT_TRUE(saved) << saved.error;
    EXPECT_EQ(saved.design->calculator, "l-network");
    EXPECT_EQ(w->windowTitle(), "match - " + caption("l-network"));
    EXPECT_EQ(app.main.recentDesigns(),
              std::vector<std::string>{app.path("match.fvd").toStdString()});

    type(w, "TxtF", "14.2e6");
    EXPECT_EQ(w->windowTitle(), "match* - " + caption("l-network"));
    type(w, "TxtF", "7.250e+6"); // back to what was saved
    EXPECT_EQ(w->windowTitle(), "match - " + caption("l-network"));
    type(w, "TxtF", "14.2e6");
    press(w, QKeySequence("Ctrl+S"));
    EXPECT_EQ(w->windowTitle(), "match - " + caption("l-network"));
    EXPECT_EQ(readDesign(app.tmp.path() / "match.fvd").design->fields.at(1), "14.20e+6  ");
    // Neither saving touched the last run.
    EXPECT_EQ(app.text("LNetD.dat"), lastRun);
    EXPECT_TRUE(app.dialogs.shown.empty());
}

// Closing a window with unsaved changes to its design asks first; the last
// run is written as always unless the answer is Cancel.
TEST(DesignWindow, CloseAsksSaveDiscardOrCancel) {
    const QMessageBox::StandardButton answers[] = {QMessageBox::Save, QMessageBox::Discard,
                                                   QMessageBox::Cancel};
    for (const auto answer : answers) {
        SCOPED_TRACE(answer);
        DesignApp app;
        CalculatorWindow* w = app.open("CmdLNet");
        ASSERT_NE(w, nullptr);
        app.files.push_back(app.path("match.fvd"));
        ASSERT_TRUE(w->saveDesignAs());
        const std::string design = app.text("match.fvd"), lastRun = app.text("LNetD.dat");
        type(w, "TxtF", "14.2e6");

        QMessageBox::StandardButtons offered;
        answerNextBox(answer, &offered);
        click(w, "CmdClose");
        EXPECT_EQ(offered, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        const bool savedDesign = app.text("match.fvd") != design;
        const bool savedLastRun = app.text("LNetD.dat") != lastRun;
        EXPECT_EQ(savedDesign, answer == QMessageBox::Save);
        EXPECT_EQ(savedLastRun, answer != QMessageBox::Cancel);
        if (savedLastRun) {
            EXPECT_NE(app.text("LNetD.dat").find("14.20e+6"), std::string::npos);
        }
        EXPECT_EQ(app.main.openCalculatorWindow() == nullptr, answer != QMessageBox::Cancel);
        EXPECT_EQ(app.main.isVisible(), answer != QMessageBox::Cancel);
        if (answer == QMessageBox::Cancel) {
            EXPECT_EQ(w->windowTitle(), "match* - " + caption("l-network"));
            // Unchanged, it closes without a question.
            type(w, "TxtF", "7.250e+6");
            click(w, "CmdClose");
            EXPECT_EQ(app.main.openCalculatorWindow(), nullptr);
        }
    }
}

TEST(DesignWindow, OpenLoadsADesignAndABadFileChangesNothing) {
    DesignApp app;
    CalculatorWindow* w = app.savedLNetwork("seventy-five.fvd");
    ASSERT_NE(w, nullptr);
    click(w, "CmdClr");
    EXPECT_EQ(boxText(w, "TxtRL"), "");

    app.tmp.write("bad.fvd", "Ferrovane design 1\r\ncalculator: warp-drive\r\n\r\nFalse\r\n");
    app.files.push_back(app.path("bad.fvd"));
    press(w, QKeySequence("Ctrl+O"));
    EXPECT_EQ(boxText(w, "TxtRL"), "");
    ASSERT_EQ(app.dialogs.shown.size(), 1u);
    EXPECT_NE(app.dialogs.shown[0].text.find("bad.fvd\" is a design for a calculator"),
              std::string::npos);

    // Clear changed the boxes of the design shown: opening asks first.
    QMessageBox::StandardButtons offered;
    answerNextBox(QMessageBox::Discard, &offered);
    app.files.push_back(app.path("seventy-five.fvd"));
    press(w, QKeySequence("Ctrl+O"));
    EXPECT_EQ(offered, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    // Saved as engineering text; read back without the leading blank.
    EXPECT_EQ(boxText(w, "TxtRL"), "75.00     ");
    EXPECT_EQ(w->windowTitle(), "seventy-five - " + caption("l-network"));
    EXPECT_EQ(app.dialogs.shown.size(), 1u);
}

// The window's context menu offers the three design actions.
TEST(DesignWindow, TheContextMenuHoldsTheDesignActions) {
    DesignApp app;
    CalculatorWindow* w = app.open("CmdLCRes");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->contextMenuPolicy(), Qt::ActionsContextMenu);
    QStringList names;
    for (QAction* a : w->actions())
        names << a->objectName();
    for (const char* name : {"ActSaveDesign", "ActSaveDesignAs", "ActOpenDesign"})
        EXPECT_TRUE(names.contains(name)) << name;
    EXPECT_EQ(find<QAction>(w, "ActOpenDesign")->shortcut(), QKeySequence("Ctrl+O"));
}

void drop(QWidget* target, const QString& file) {
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(file)});
    QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent dropped(QPointF(2, 2), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &dropped);
    settle();
}

// From the main window, by its menu or a drop, a design opens its own
// calculator; a design of another calculator dropped on a calculator
// window closes that one and opens its own.
TEST(DesignMainWindow, OpensADesignInItsCalculatorsWindow) {
    DesignApp app;
    CalculatorWindow* w = app.savedLNetwork("l.fvd");
    ASSERT_NE(w, nullptr);
    click(w, "CmdClose");
    w = app.open("CmdLCRes");
    app.files.push_back(app.path("r.fvd"));
    ASSERT_TRUE(w->saveDesignAs());
    click(w, "CmdClose2");
    ASSERT_EQ(app.main.openCalculatorWindow(), nullptr);

    app.files.push_back(app.path("l.fvd"));
    find<QAction>(&app.main, "ActOpenDesign")->trigger();
    settle();
    w = app.main.openCalculatorWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(app.main.isVisible());
    EXPECT_EQ(w->objectName().toStdString(), findCalculator("l-network")->calculator().form.name);
    EXPECT_EQ(boxText(w, "TxtRL"), "75.00     ");

    drop(find(w, "TxtRL"), app.path("r.fvd"));
    w = app.main.openCalculatorWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), "r - " + caption("reactance"));
    click(w, "CmdClose2");
    drop(&app.main, app.path("l.fvd"));
    ASSERT_NE(app.main.openCalculatorWindow(), nullptr);
    EXPECT_EQ(app.main.openCalculatorWindow()->windowTitle(), "l - " + caption("l-network"));
    EXPECT_TRUE(app.dialogs.shown.empty());
}

// The context menu lists ten designs at most, the most recent first; the
// list outlives the window; a file gone since drops out with a message.
TEST(DesignMainWindow, RecentDesignsAreListedAndAMissingOneDropsOut) {
    DesignApp app;
    CalculatorWindow* w = app.open("CmdLNet");
    ASSERT_NE(w, nullptr);
    for (int i = 1; i <= 11; ++i) {
        app.files.push_back(app.path(("d" + std::to_string(i) + ".fvd").c_str()));
        ASSERT_TRUE(w->saveDesignAs());
    }
    click(w, "CmdClose");
    QStringList shown;
    for (QAction* a : app.main.actions())
        if (a->objectName().startsWith("ActRecentDesign") && a->isVisible())
            shown << a->text();
    ASSERT_EQ(shown.size(), 10);
    EXPECT_TRUE(shown.front().startsWith("&1 d11.fvd")) << shown.front().toStdString();
    EXPECT_TRUE(shown.back().startsWith("&10 d2.fvd")) << shown.back().toStdString();

    MainWindow again(DataDir(app.tmp.path()), &app.dialogs);
    again.useSettingsFile(app.path("settings.ini"));
    EXPECT_EQ(again.recentDesigns(), app.main.recentDesigns());

    std::filesystem::remove(app.tmp.path() / "d11.fvd");
    find<QAction>(&app.main, "ActRecentDesign1")->trigger();
    settle();
    EXPECT_EQ(app.main.openCalculatorWindow(), nullptr);
    ASSERT_EQ(app.dialogs.shown.size(), 1u);
    EXPECT_NE(app.dialogs.shown[0].text.find("d11.fvd\" is no longer there"), std::string::npos);
    ASSERT_EQ(app.main.recentDesigns().size(), 9u);
    EXPECT_FALSE(find<QAction>(&app.main, "ActRecentDesign10")->isVisible());
    find<QAction>(&app.main, "ActRecentDesign1")->trigger();
    settle();
    ASSERT_NE(app.main.openCalculatorWindow(), nullptr);
    EXPECT_EQ(app.main.openCalculatorWindow()->windowTitle(), "d10 - " + caption("l-network"));
}

} // namespace
} // namespace ferrovane
