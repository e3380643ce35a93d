#include "ui/geometry.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "shell/placement.h"

namespace ferrovane {

void placeOnScreen(QWidget* window, QSize designPixels) {
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    const QRect avail = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const QSize want = designPixels.expandedTo(window->minimumSizeHint());
    const TwipsRect placed =
        placeWindow(pixelsToTwips(want.width()), pixelsToTwips(want.height()),
                    {pixelsToTwips(avail.left()), pixelsToTwips(avail.top()),
                     pixelsToTwips(avail.width()), pixelsToTwips(avail.height())});
    window->resize(placed.width / 15, placed.height / 15);
    window->move(placed.left / 15, placed.top / 15);
}

} // namespace ferrovane
