#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

#include "ui/qt_long_run.h"
#include "ui_support.h"

namespace ferrovane {
namespace {

using namespace testing;

// A window with one of every kind the house builds, and handlers that show
// in the form what ran.
Calculator makeHouse() {
    Calculator c;
    FormSpec& f = c.form;
    f.name = "FormHouse";
    f.caption = "House";
    f.widthTwips = 7000;
    f.heightTwips = 5000;
    f.left = {
        frame("FrameA", "Alpha", Direction::Vertical, {box("TxtA", "A value", "Ohms")}),
        CheckSpec{"ChkHide", "Hide Alpha"},
        CheckSpec{"ChkMax", "Whole screen"},
        ComboSpec{
            .name = "ComUnit", .label = "Unit", .items = {"Ohms", "kOhms"}, .initial = "Ohms"},
        grid("GridZ", 2, 2,
             [](int r, int col) {
                 return ControlSpec(BoxSpec{.name = indexed("TxtZ", r * 2 + col)});
             },
             {"R", "X"}, {"1", "2"}),
        ButtonSpec{"CmdExtra", "Extra"},
    };
    auto scrolling = std::make_shared<FrameSpec>(
        FrameSpec{.name = "FrameB", .children = {box("TxtB", "B value", "")}, .scrolls = true});
    f.right = {
        scrolling,
        GroupSpec{.name = "Circuit",
                  .caption = "Circuit",
                  .options = {{"OpOne", "One"}, {"OpTwo", "Two"}, {"OpThree", "Three"}},
                  .initial = 1},
        PictureSpec{"PCircuit", "housetest-1.GIF"},
        DrawingSpec{"PicGraph", 3000, 2000, "Graph"},
    };
    f.buttons = {{"CmdCalc", "Draw"},
                 {.name = "CmdClr", .caption = "Clear", .visible = false},
                 {"CmdPrint", "Print"},
                 {"CmdRun", "Run"},
                 {"CmdClose", "Close"}};
    c.checks["ChkHide"] = [](Form& f, CalcEnv&) {
        for (const char* frame : {"FrameA", "FrameB"})
            f.setVisible(frame, !f.checked("ChkHide"));
    };
    c.checks["ChkMax"] = [](Form& f, CalcEnv&) { f.setMaximised(f.checked("ChkMax")); };
    c.combos["ComUnit"] = [](Form& f, CalcEnv&) { f.setText("TxtA", "unit " + f.text("ComUnit")); };
    c.buttons["CmdExtra"] = [](Form& f, CalcEnv&) {
        f.setText("TxtA", "extra");
        f.setText("ComUnit", "MOhms"); // not in the list
    };
    c.lostFocus["TxtA"] = [](Form& f, CalcEnv&) { f.setText(indexed("TxtZ", 0), "left"); };
    c.optionSelected = [](Form& f, CalcEnv&, const std::string& option) {
        f.setText("PCircuit", option == "OpOne"   ? "housetest-1.GIF"
                              : option == "OpTwo" ? "l_network.GIF"
                                                  : "Missing.GIF");
    };
    c.calculate = [](Form& f, CalcEnv&) {
        Drawing& d = f.drawing("PicGraph");
        d.clear();
        d.line(0, 1000, 3000, 1000, kRed, 60);
        d.text(1500, 0, "Vout", {}, HAnchor::Centre);
        d.items.emplace_back(
            TextPrimitive{100, 1900, "Volts", kBlue, {}, HAnchor::Left, VAnchor::Bottom, true});
    };
    c.buttons["CmdPrint"] = [](Form&, CalcEnv& e) {
        PrintWriter out("House", Font{10, false, true}, 1440, 1440, 240);
        out.print("Line one");
        PrintJob job = out.finish();
        job.pages[0].pictures.push_back({1440, 2880, 2880, 1440, "l_network.GIF"});
        e.print(job);
    };
    c.buttons["CmdRun"] = [](Form& f, CalcEnv& e) {
        double result = 0;
        const bool done = e.runLong("Working", [&result](Progress& p) {
            for (int i = 1; i <= 400 && !p.cancelled(); ++i) {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
                p.report(i / 400.0);
            }
            result = 42;
        });
        if (done)
            f.setEng("TxtA", result);
    };
    return c;
}

struct HouseWindow {
    HouseWindow() : window(new CalculatorWindow(calc, DataDir(tmp.path()), &dialogs)) {
        window->open();
        settle();
    }
    ~HouseWindow() {
        if (window)
            window->close();
        settle();
    }
    QWidget* operator()(const char* name) const { return find(window, name); }
    template <typename T> T* get(const char* name) const { return find<T>(window, name); }
    QString text(const char* box) const { return boxText(window, box); }

    Calculator calc = makeHouse();
    TempDir tmp;
    ScriptedDialogs dialogs;
    QPointer<CalculatorWindow> window;
};

TEST(HouseWindow, FramesHideAsAWholeAndButtonsAreRenamedHiddenOrAdded) {
    HouseWindow h;
    auto* scroll = h.get<QScrollArea>("FrameBScroll");
    ASSERT_NE(scroll, nullptr);
    EXPECT_EQ(scroll->widget(), h("FrameB"));
    for (const bool hide : {true, false}) {
        click(h.window, "ChkHide");
        for (const char* name : {"FrameA", "TxtA", "FrameBScroll", "TxtB"})
            EXPECT_EQ(h(name)->isVisible(), !hide) << name;
    }
    EXPECT_EQ(h.get<QAbstractButton>("CmdCalc")->text(), "Draw");
    EXPECT_FALSE(h("CmdClr")->isVisible());
    EXPECT_EQ(h("CmdLoadData"), nullptr); // left out of this window's row
    click(h.window, "CmdExtra");
    // Showing a text the list lacks shows none and runs no handler.
    EXPECT_EQ(h.get<QComboBox>("ComUnit")->currentIndex(), -1);
    EXPECT_EQ(h.text("TxtA"), "extra");
}

TEST(HouseWindow, GridTabsRowByRowAndNamesCellsByTheirCaptions) {
    HouseWindow h;
    std::vector<QString> order;
    for (QWidget* w = h("TxtZ(0)"); w && order.size() < 4; w = w->nextInFocusChain())
        if ((w->focusPolicy() & Qt::TabFocus) && qobject_cast<QLineEdit*>(w))
            order.push_back(w->objectName());
    EXPECT_EQ(order, (std::vector<QString>{"TxtZ(0)", "TxtZ(1)", "TxtZ(2)", "TxtZ(3)"}));
    EXPECT_EQ(h("TxtZ(3)")->accessibleName(), "2, X");
}

TEST(HouseWindow, ComboChangeAndLeavingABoxRunTheirHandlersOnce) {
    HouseWindow h;
    // As a choice from the list or a screen reader does.
    h.get<QComboBox>("ComUnit")->setCurrentIndex(1);
    EXPECT_EQ(h.window->form().text("ComUnit"), "kOhms");
    EXPECT_EQ(h.text("TxtA"), "unit kOhms");

    h.window->activateWindow();
    h("TxtA")->setFocus(Qt::TabFocusReason);
    h("TxtZ(1)")->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(h.text("TxtZ(0)"), "left");
}

TEST(HouseWindow, PictureFollowsTheFormTextAndAMissingOneShowsNothing) {
    // A file of the calculator's name, in any letter case, in the program
    // directory comes first; then our drawing of the same base name.
    const QString raster = QCoreApplication::applicationDirPath() + "/HouseTest-1.gif";
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::green);
    ASSERT_TRUE(image.save(raster, "PNG"));
    HouseWindow h;
    auto* picture = h.get<QLabel>("PCircuit");
    const struct {
        const char* option;
        bool shown;
        QSize size;
    } cases[] = {{"OpTwo", true, {}}, {"OpThree", false, {}}, {"OpOne", true, {40, 30}}};
    for (const auto& c : cases) {
        click(h.window, c.option);
        EXPECT_EQ(!picture->pixmap().isNull(), c.shown) << c.option;
        if (c.size.isValid()) {
            EXPECT_EQ(picture->pixmap().deviceIndependentSize().toSize(), c.size);
        }
    }
    QFile::remove(raster);
}

TEST(HouseWindow, DrawingPaintsScaledAndReadsItsTexts) {
    HouseWindow h;
    auto* graph = h("PicGraph");
    EXPECT_EQ(graph->accessibleDescription(), "Graph"); // nothing drawn yet
    click(h.window, "CmdCalc");
    EXPECT_EQ(graph->accessibleDescription(), "Vout\nVolts");
    graph->resize(300, 200);
    // The red line runs across the middle; the corners stay white.
    const QImage shot = graph->grab().toImage();
    EXPECT_EQ(shot.pixelColor(shot.width() / 2, shot.height() / 2), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(shot.width() - 2, shot.height() - 2), QColor(Qt::white));

    for (const char* file : {"graph.png", "graph.svg"})
        ASSERT_TRUE(saveDrawing(h.window->form().drawing("PicGraph"), (h.tmp.path() / file).c_str(),
                                {600, 400}));
    const QImage png((h.tmp.path() / "graph.png").c_str());
    EXPECT_EQ(png.size(), QSize(600, 400));
    EXPECT_EQ(png.pixelColor(300, 200), QColor(Qt::red));
    const std::string svg = h.tmp.read("graph.svg");
    EXPECT_EQ(svg.find("<svg") != svg.npos && svg.find("Vout") != svg.npos, true);
}

TEST(HouseWindow, TheFormMaximisesAndRestoresTheWindow) {
    HouseWindow h;
    for (const bool maximised : {true, false}) {
        click(h.window, "ChkMax");
        EXPECT_EQ(h.window->isMaximized(), maximised);
    }
}

TEST(HouseWindow, PrintingToAPdfFileWritesAPdf) {
    HouseWindow h;
    const auto pdf = h.tmp.path() / "job.pdf";
    h.window->printer().setOutputFile(pdf.c_str());
    click(h.window, "CmdPrint");
    EXPECT_EQ(h.tmp.read("job.pdf").substr(0, 4), "%PDF");
    EXPECT_TRUE(h.dialogs.shown.empty());
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

TEST(HouseWindow, ALongRunAppliesItsResultOnlyWhenNotCancelled) {
    HouseWindow h;
    bool sawDialog = false;
    cancelWhenShown(h.window, sawDialog);
    h.get<QAbstractButton>("CmdRun")->click();
    EXPECT_TRUE(sawDialog);
    EXPECT_EQ(h.text("TxtA"), "");

    QtLongRunHost host(h.window);
    int reported = 0;
    EXPECT_TRUE(host.run("Quick", [&reported](Progress& p) {
        p.report(1);
        reported = 1;
    }));
    EXPECT_EQ(reported, 1);
    h.get<QAbstractButton>("CmdRun")->click(); // about two seconds
    EXPECT_EQ(h.text("TxtA"), " 42.00     ");
}

// The layout uses the window's space: small windows have no empty band
// above their buttons, boxes fit an engineering text and lists whole lines.
TEST(WindowLayout, BoxesFitTheirTextNoBandAboveTheButtonsListsShowWholeLines) {
    App app;
    for (const char* button : {"CmdRLCQ", "CmdLCRes"}) {
        CalculatorWindow* w = app.open(button);
        ASSERT_NE(w, nullptr) << button;
        int lowest = 0;
        for (QLineEdit* edit : w->findChildren<QLineEdit*>()) {
            EXPECT_LT(edit->width(), 3 * edit->fontMetrics().horizontalAdvance("0") * 11 / 2);
            EXPECT_GE(edit->width(), edit->fontMetrics().horizontalAdvance(" -000.0e-15 "));
            if (edit->isVisible())
                lowest = std::max(lowest, edit->mapTo(w, QPoint(0, edit->height())).y());
        }
        // The frame of the buttons (and of the help box, where there is one).
        const int buttons = find(w, "CmdCalc")->parentWidget()->mapTo(w, QPoint(0, 0)).y();
        EXPECT_LT(buttons - lowest, 3 * w->fontMetrics().height()) << button;
        w->close();
        settle();
    }
    CalculatorWindow* w = app.open("CmdVoltDiv");
    auto* list = find<QListWidget>(w, "LstOutput");
    click(w, "CmdCalc");
    for (int height : {w->height(), w->height() + 7, w->height() + 23}) {
        w->resize(w->width(), height);
        settle();
        const int line = list->visualItemRect(list->item(0)).height();
        EXPECT_EQ(list->viewport()->height() % line, 0) << height;
    }
}

} // namespace
} // namespace ferrovane
