#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTimer>
#include <gtest/gtest.h>

#include "ui_support.h"

namespace ferrovane {
namespace {

using namespace testing;

TEST(About, RightClickOverAButtonOffersTheBoxThatNamesTheVersion) {
    QStringList offered;
    App app;
    QWidget* button = find(&app.main, "CmdReset");
    // The menu runs its own event loop: read it and close it from inside.
    QTimer::singleShot(0, &app.main, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* a : menu->actions())
                if (a->isVisible() && !a->isSeparator())
                    offered << a->text();
            menu->close();
        }
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(4, 4),
                            button->mapToGlobal(QPoint(4, 4)));
    QCoreApplication::sendEvent(button, &event);
    // No design has been opened yet: no recent designs are listed.
    EXPECT_EQ(offered.join(" | ").toStdString(), "About Ferrovane | Open Design...");

    app.main.findChild<QAction*>("ActAbout")->trigger();
    ASSERT_EQ(app.dialogs.shown.size(), 1u);
    const Message& box = app.dialogs.shown.front();
    EXPECT_EQ(box.title, "About Ferrovane");
    EXPECT_EQ(box.buttons, MessageButtons::Ok);
    EXPECT_EQ(box.text.rfind("Ferrovane " FERROVANE_VERSION "\r\n", 0), 0u) << box.text;
}

// With no help installed, F1 in the main window shows the About box rather
// than an empty help window; where the help is, F1 opens it (help_test).
TEST(About, F1ShowsItWhereNoHelpIsInstalled) {
    App app;
    TempDir noHelp;
    app.main.setHelpFolder(QString::fromStdString(noHelp.path().string()));
    app.main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&app.main));
    QTest::keyClick(&app.main, Qt::Key_F1);
    settle();
    EXPECT_EQ(app.main.helpWindow(), nullptr);
    ASSERT_EQ(app.dialogs.shown.size(), 1u);
    EXPECT_EQ(app.dialogs.shown.front().title, "About Ferrovane");
}

} // namespace
} // namespace ferrovane
