#include <QAction>
#include <QFontInfo>
#include <QLayout>
#include <gtest/gtest.h>

#include "ui/drawing_view.h"
#include "ui/geometry.h"
#include "ui_support.h"

namespace ferrovane {
namespace {

using namespace testing;

QString shown(const QRectF& r) {
    return QString("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// Checked on what the view painted: every text inside the widget and none
// below the window's font less one point.
void expectReadable(DrawingView* view, const char* where) {
    SCOPED_TRACE(where);
    view->grab(); // paints it at its present size
    const double least = QFontInfo(view->window()->font()).pointSizeF() - 1;
    ASSERT_GT(least, 4);
    ASSERT_FALSE(view->paintedTexts().empty());
    for (const PlacedText& t : view->paintedTexts()) {
        EXPECT_TRUE(QRectF(view->rect()).contains(t.box))
            << t.text.toStdString() << " at " << shown(t.box).toStdString() << " in "
            << shown(view->rect()).toStdString();
        EXPECT_GE(t.font.pointSizeF(), least - 1e-9) << t.text.toStdString();
    }
}

// The graph takes all of the window inside its margins but the button row.
void expectCovers(QWidget* window, DrawingView* view, const char* where) {
    SCOPED_TRACE(where);
    const QMargins m = window->layout()->contentsMargins();
    const QRect graph(view->mapTo(window, QPoint(0, 0)), view->size());
    const QWidget* buttons = find(window, "ButtonFrame");
    ASSERT_NE(buttons, nullptr);
    EXPECT_EQ(graph.left(), m.left());
    EXPECT_EQ(graph.top(), m.top());
    EXPECT_EQ(graph.right(), window->width() - 1 - m.right());
    EXPECT_EQ(buttons->y() - graph.bottom() - 1, window->layout()->spacing());
}

const double kSizes[] = {1, 0.5, 1.5}; // times the window's design size

QSize designTimes(const CalculatorWindow* w, double times) {
    const FormSpec& f = w->calculator().form;
    return QSize(static_cast<int>(twipsToPixels(f.widthTwips) * times),
                 static_cast<int>(twipsToPixels(f.heightTwips) * times));
}

// The beta plot is the whole window from the start; at half its design size
// its texts are far larger than the drawing's own scale would make them.
TEST(Graph, BetaPlotReadsWellAtEverySize) {
    for (const double times : kSizes) {
        App app;
        CalculatorWindow* w = app.open("CmdBiasStab");
        ASSERT_NE(w, nullptr);
        w->resize(designTimes(w, times));
        settle();
        const std::string where = "x" + std::to_string(times);
        auto* graph = find<DrawingView>(w, "Graph");
        EXPECT_LE(w->width(), designTimes(w, times).width() + 1) << where;
        expectReadable(graph, where.c_str());
        expectCovers(w, graph, where.c_str());
    }
}

// The filter window takes the size before Calculate (no smaller than its
// boxes need); Calculate maximises it and the graph covers it; where the
// window manager gives the size back, the graph covers that. Its Close
// leaves the window as it was before Calculate either way.
TEST(Graph, FilterGraphCoversItsWindowAndItsCloseRestoresTheGeometry) {
    for (const double times : kSizes) {
        for (const bool restoredByUser : {false, true}) {
            App app;
            CalculatorWindow* w = app.open("CmdFilter");
            ASSERT_NE(w, nullptr);
            w->resize(designTimes(w, times));
            settle();
            const QRect before = w->geometry();
            const std::string where = "x" + std::to_string(times);
            click(w, "CmdCalc");
            auto* graph = find<DrawingView>(w, "PGraph");
            ASSERT_TRUE(w->isMaximized() && graph->isVisible()) << where;
            expectReadable(graph, (where + " maximised").c_str());
            expectCovers(w, graph, (where + " maximised").c_str());
            if (restoredByUser) {
                w->showNormal();
                settle();
                EXPECT_EQ(w->geometry(), before) << where;
                expectReadable(graph, where.c_str());
                expectCovers(w, graph, where.c_str());
            }
            click(w, "CmdClosGr");
            EXPECT_FALSE(graph->isVisible());
            EXPECT_EQ(w->geometry(), before) << where << (restoredByUser ? " restored" : "");
        }
    }
}

// Ctrl+P prints the beta plot's worksheet: the plot is on the page with its
// texts, not only the window's title and the date.
TEST(Graph, BetaPlotsWorksheetPrintsThePlotWithItsTexts) {
    App app;
    CalculatorWindow* w = app.open("CmdBiasStab");
    ASSERT_NE(w, nullptr);
    w->printer().setOutputFile(QString::fromStdString((app.tmp.path() / "beta.pdf").string()));
    find<QAction>(w, "ActionPrint")->trigger();
    const QString text = pdfText(app.tmp.path() / "beta.pdf"); // blanks left out
    for (const char* shown :
         {"CollectorCurrentVersisBeta", "PercentchangeinIcforBeta=50to200is14.17%",
          "TransistorBeta", "IcmA", "1.5", "200"})
        EXPECT_TRUE(text.contains(shown)) << shown << " in " << text.toStdString();
    EXPECT_TRUE(app.dialogs.shown.empty());
}

} // namespace
} // namespace ferrovane
