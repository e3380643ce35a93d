#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <QRegularExpression>
#include <QTimer>
#include <gtest/gtest.h>

#include "ui_support.h"

namespace ferrovane {
namespace {

using testing::App;
using testing::find;

TEST(About, RightClickOverAButtonOffersTheAboutBox) {
    QStringList offered;
    App app;
    auto* button = find<QAbstractButton>(&app.main, "CmdReset");
    ASSERT_NE(button, nullptr);
    // The menu runs its own event loop: read it and close it from inside.
    QTimer::singleShot(0, &app.main, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* a : menu->actions())
                offered << a->text();
            menu->close();
        }
    });
    const QPoint at(4, 4);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, button->mapToGlobal(at));
    QCoreApplication::sendEvent(button, &event);
    EXPECT_EQ(offered.join(" | ").toStdString(), "About Ferrovane");
}

TEST(About, TheBoxNamesTheVersion) {
    App app;
    auto* about = app.main.findChild<QAction*>("ActAbout");
    ASSERT_NE(about, nullptr);
    about->trigger();
    ASSERT_EQ(app.dialogs.shown.size(), 1u);
    const Message& box = app.dialogs.shown.front();
    EXPECT_EQ(box.title, "About Ferrovane");
    EXPECT_EQ(box.buttons, MessageButtons::Ok);
    const std::string version = FERROVANE_VERSION;
    EXPECT_TRUE(QRegularExpression("^\\d+\\.\\d+\\.\\d+$")
                    .match(QString::fromStdString(version))
                    .hasMatch())
        << version;
    EXPECT_EQ(box.text.rfind("Ferrovane " + version + "\r\n", 0), 0u) << box.text;
}

} // namespace
} // namespace ferrovane
