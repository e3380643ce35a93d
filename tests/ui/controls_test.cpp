#include <QAccessible>
#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFontInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollArea>
#include <QToolButton>
#include <gtest/gtest.h>

#include "house_window.h"
#include "shell/box_reading.h"
#include "ui/drawing_view.h"
#include "ui/save_prompt.h"

namespace ferrovane {
namespace {

using namespace testing;

QAccessibleInterface* reader(QWidget* w) {
    return QAccessible::queryAccessibleInterface(w);
}

// One run per change, however the change arrives; none for text set by a rule.
TEST(Box, TypedPastedOrSetByAScreenReaderRunsItsRuleOnce) {
    HouseWindow h;
    h.window->activateWindow();
    auto* a = h.get<QLineEdit>("TxtA");
    type(h.window, "TxtA", "12"); // two keys, two changes
    EXPECT_EQ(h.runs["TxtA"], 2);
    QApplication::clipboard()->setText("4.7k");
    a->selectAll();
    a->paste();
    EXPECT_EQ(h.form().text("TxtA"), "4.7k");
    EXPECT_EQ(h.runs["TxtA"], 3);
    QAccessibleInterface* r = reader(a);
    ASSERT_NE(r->editableTextInterface(), nullptr);
    r->editableTextInterface()->replaceText(0, r->textInterface()->characterCount(), "75");
    EXPECT_EQ(h.form().text("TxtA"), "75");
    EXPECT_EQ(h.runs["TxtA"], 4);

    h("TxtZ(1)")->setFocus(Qt::TabFocusReason); // leaving the box
    EXPECT_EQ(h.runs["leave"], 1);
    EXPECT_EQ(h.text("TxtZ(0)"), "left");
    click(h.window, "CmdExtra");
    EXPECT_EQ(h.text("TxtA"), "extra");
    EXPECT_EQ(h.runs["TxtA"], 4);
    EXPECT_TRUE(h.get<QLineEdit>("TxtB")->isReadOnly()); // locked by the rule
    EXPECT_EQ(h.window->focusWidget(), h("TxtB"));       // and given the focus
}

// The mark inside a box: the line edit's own small button, if it shows.
QWidget* shownMark(QWidget* window, const std::string& box) {
    auto* mark = window->findChild<QAction*>(QString::fromStdString(box + "Hint"));
    if (!mark || !mark->isVisible())
        return nullptr;
    for (QObject* o : mark->associatedObjects())
        if (auto* button = qobject_cast<QToolButton*>(o))
            return button;
    return nullptr;
}

// A box is read by its own rule and says so; the mark shows only what that
// rule leaves out, is named by its sentence and is no Tab stop.
TEST(Box, ReadsByItsKindAndItsMarkIsNamedAndNoTabStop) {
    HouseWindow h;
    auto* box = h.get<QLineEdit>("TxtA");
    const QString rule = QString::fromStdString(readingRule(BoxReading::Number));
    for (const auto& [typed, hint] :
         {std::pair{"4.7k", "Read as 4.7: the rest (\"k\") is ignored."}, {"4.7", ""}}) {
        type(h.window, "TxtA", typed);
        EXPECT_EQ(h.form().text("TxtA"), typed); // the text is kept as typed
        EXPECT_EQ(box->toolTip(), hint);
        EXPECT_EQ(box->accessibleDescription(), *hint ? hint + (' ' + rule) : rule);
        QWidget* mark = shownMark(h.window, "TxtA");
        ASSERT_EQ(mark != nullptr, *hint != '\0') << typed;
        if (mark) {
            EXPECT_EQ(reader(mark)->text(QAccessible::Name), hint);
            EXPECT_EQ(mark->focusPolicy(), Qt::NoFocus);
        }
    }

    // The windows whose boxes have rules of their own.
    App app;
    const struct {
        std::string window;
        const char* box;
        const char* typed;
        bool marked;
    } cases[] = {
        {"CmdVacTub", "Text5", "470 k", false},  {"CmdVacTub", "Text6", "1.2Meg", false},
        {"CmdVacTub", "Text7", "12AX7", false},  {"CmdVacTub", "Text6", "4.7 kx", true},
        {"CmdVacTub", "Text2", "4.7k", true},    {"Cmd5x5RjX", "TxtRLC(3)", "*", false},
        {"Cmd5x5RjX", "TxtRLC(3)", "abc", true},
    };
    for (const char* window : {"CmdVacTub", "Cmd5x5RjX"}) {
        CalculatorWindow* w = app.open(window);
        ASSERT_NE(w, nullptr);
        for (const auto& c : cases)
            if (c.window == window) {
                type(w, c.box, c.typed);
                EXPECT_EQ(shownMark(w, c.box) != nullptr, c.marked) << c.box << " " << c.typed;
            }
        w->close();
        settle();
    }
    // A resistor box shows its standard value once left: still no mark.
    CalculatorWindow* tube = app.open("CmdVacTub");
    type(tube, "Text5", "470 k");
    find<QWidget>(tube, "Text2")->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(boxText(tube, "Text5"), "470 k");
    EXPECT_EQ(shownMark(tube, "Text5"), nullptr);
}

// Wide enough for an engineering text, and not half as wide again; named by
// the label shown, or by the unit where that is all there is.
TEST(Box, WidthAndName) {
    HouseWindow h;
    auto* box = h.get<QLineEdit>("TxtA");
    EXPECT_EQ(box->accessibleName(), "A value");
    EXPECT_EQ(h("TxtU")->accessibleName(), "Volts");
    click(h.window, "CmdExtra");
    EXPECT_EQ(h("TxtU")->accessibleName(), "kV");
    const QFontMetrics m = box->fontMetrics();
    EXPECT_GE(box->width(), m.horizontalAdvance(" -000.0e-15 "));
    EXPECT_LT(box->width(), m.horizontalAdvance("0") * 33 / 2);
}

TEST(OptionGroup, AClickOrAScreenReaderRunsTheRuleOnceAndARuleRunsNone) {
    HouseWindow h;
    click(h.window, "OpTwo");
    click(h.window, "OpTwo"); // already selected: no change
    EXPECT_EQ(h.runs["OpTwo"], 1);
    EXPECT_EQ(h.form().option("Circuit"), 2);
    reader(h("OpOne"))->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(QTest::qWaitFor([&h] { return h.form().selected("OpOne"); }, 2000));
    EXPECT_EQ(h.runs["OpOne"], 1);
    click(h.window, "CmdExtra"); // selects the third option itself
    EXPECT_TRUE(h.get<QRadioButton>("OpThree")->isChecked());
    EXPECT_FALSE(h.get<QRadioButton>("OpOne")->isChecked());
    EXPECT_EQ(h.runs["OpThree"], 0);
}

TEST(CheckBox, AClickRunsItsRuleOnceARuleRunsNoneAndTheFormMaximises) {
    HouseWindow h;
    for (const bool on : {true, false}) {
        click(h.window, "ChkHide");
        EXPECT_EQ(h.form().checked("ChkHide"), on);
    }
    EXPECT_EQ(h.runs["ChkHide"], 2);
    click(h.window, "CmdExtra");
    EXPECT_TRUE(h.get<QAbstractButton>("ChkHide")->isChecked());
    EXPECT_EQ(h.runs["ChkHide"], 2);
    for (const bool maximised : {true, false}) {
        click(h.window, "ChkMax");
        EXPECT_EQ(h.window->isMaximized(), maximised);
    }
}

TEST(Label, ShowsTheFormsTextInAFixedPitchFont) {
    HouseWindow h;
    auto* note = h.get<QLabel>("LblNote");
    EXPECT_EQ(note->text(), "Note");
    click(h.window, "CmdExtra");
    EXPECT_EQ(note->text(), "Changed");
    const QFontMetrics m(note->font());
    EXPECT_EQ(m.horizontalAdvance("iiii"), m.horizontalAdvance("MMMM"));
}

TEST(ResultList, FixedPitchWholeLinesNamedByItsHeaderAndCopied) {
    HouseWindow h;
    auto* list = h.get<QListWidget>("LstOut");
    EXPECT_EQ(list->accessibleName(), "Results");
    click(h.window, "CmdCalc");
    const QStringList shown{"  one   1.0", "  two  22.0", "three 333.0"};
    ASSERT_EQ(lines(h.window, "LstOut"), shown);
    const QFontMetrics m(list->font()); // the columns line up
    EXPECT_EQ(m.horizontalAdvance(shown[0]), m.horizontalAdvance(shown[2]));

    find<QAction>(list, "LstOutCopyAll")->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), shown.join('\n'));
    list->item(2)->setSelected(true);
    list->item(0)->setSelected(true);
    find<QAction>(list, "LstOutCopy")->trigger(); // Ctrl+C: in list order
    EXPECT_EQ(QApplication::clipboard()->text(), shown[0] + '\n' + shown[2]);

    for (int more : {0, 7, 23}) {
        h.window->resize(h.window->width(), h.window->height() + more);
        settle();
        const int line = list->visualItemRect(list->item(0)).height();
        EXPECT_EQ(list->viewport()->height() % line, 0) << more;
    }
    click(h.window, "CmdExtra");
    EXPECT_EQ(list->accessibleName(), "Lines");
}

// A file of the calculator's name, in any letter case, in the program
// directory comes first, shown as it is; then our drawing of the same base
// name, in the window's text colour on a transparent ground, drawn anew when
// the desktop's colours change.
TEST(Picture, FollowsTheFormsTextAndThePaletteAndAMissingOneShowsNothing) {
    const QString raster = QCoreApplication::applicationDirPath() + "/HouseTest-1.gif";
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::green);
    ASSERT_TRUE(image.save(raster, "PNG"));
    HouseWindow h;
    auto* picture = h.get<QLabel>("PCircuit");
    QPalette dark = h.window->palette();
    dark.setColor(QPalette::Window, QColor(30, 30, 30));
    for (const QColor ink : {QColor(230, 230, 230), QColor(255, 160, 0)}) {
        dark.setColor(QPalette::WindowText, ink);
        h.window->setPalette(dark);
        click(h.window, "OpTwo"); // our own drawing
        const QImage shot = picture->pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
        ASSERT_FALSE(shot.isNull());
        int inked = 0, other = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x) {
                // Antialiased edges that overlap may round a step off the ink.
                const QColor c = shot.pixelColor(x, y);
                const int off =
                    std::max({std::abs(c.red() - ink.red()), std::abs(c.green() - ink.green()),
                              std::abs(c.blue() - ink.blue())});
                if (c.alpha() == 255)
                    (off <= 2 ? inked : other)++;
            }
        EXPECT_EQ(shot.pixelColor(0, 0).alpha(), 0) << "no background of its own";
        EXPECT_GT(inked, 500) << ink.name().toStdString();
        EXPECT_EQ(other, 0) << ink.name().toStdString();
    }
    click(h.window, "OpThree"); // none at all
    EXPECT_TRUE(picture->pixmap().isNull());
    click(h.window, "OpOne"); // the file, in another letter case
    EXPECT_EQ(picture->pixmap().deviceIndependentSize().toSize(), QSize(40, 30));
    EXPECT_EQ(picture->pixmap().toImage().pixelColor(20, 15), QColor(Qt::green));
    QFile::remove(raster);
}

TEST(HelpBox, FollowsTheMouseAndTheKeyboardOverTheButtonsAndTheirFrameEmptiesIt) {
    HouseWindow h;
    auto* help = h.get<QPlainTextEdit>("TxtHelp");
    enter(h("CmdCalc"));
    EXPECT_EQ(help->toPlainText(), "Draws it.");
    enter(h("CmdClose")); // straight onto another: replaced
    EXPECT_EQ(help->toPlainText(), "Goes.");
    moveOver(h("FrameButtons"));
    EXPECT_EQ(help->toPlainText(), "");
    QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
    QCoreApplication::sendEvent(h("CmdCalc"), &focus);
    EXPECT_EQ(help->toPlainText(), "Draws it.");
}

TEST(DropDown, AChoiceRunsItsRuleOnceAndATextNotInTheListShowsNone) {
    HouseWindow h;
    auto* unit = h.get<QComboBox>("ComUnit");
    unit->setCurrentIndex(1); // as a choice from the list or a screen reader does
    EXPECT_EQ(h.form().text("ComUnit"), "kOhms");
    EXPECT_EQ(h.text("TxtA"), "unit kOhms");
    EXPECT_EQ(h.runs["TxtA"], 0); // the rule's text is no box change
    click(h.window, "CmdExtra");
    EXPECT_EQ(unit->currentIndex(), -1);
    EXPECT_EQ(h.runs["ComUnit"], 1);
}

TEST(Button, RenamedHiddenLeftOutOrAddedAndPressedByAScreenReader) {
    HouseWindow h;
    EXPECT_EQ(h.get<QAbstractButton>("CmdCalc")->text(), "Draw");
    EXPECT_FALSE(h("CmdClr")->isVisible());
    EXPECT_EQ(h("CmdLoadData"), nullptr); // not in this window's row
    // Pressed this way, a button clicks a moment later, as if animated.
    reader(h("CmdExtra"))->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(QTest::qWaitFor([&h] { return h.runs["CmdExtra"] == 1; }, 2000));
    settle();
    EXPECT_EQ(h.runs["CmdExtra"], 1);
}

TEST(Drawing, PaintsScaledReadsItsTextsExplainsThePointerAndSaves) {
    HouseWindow h;
    auto* graph = h.get<DrawingView>("PicGraph");
    EXPECT_EQ(graph->accessibleDescription(), "Graph"); // nothing drawn yet
    click(h.window, "CmdCalc");
    EXPECT_EQ(graph->accessibleDescription(), "Vout\nVolts");
    graph->resize(300, 100);
    // Texts keep to the window's font less a point, and the drawing gives up
    // a little of the widget so that the upright "Volts" is not cut.
    const QImage shot = graph->grab().toImage();
    const double least = QFontInfo(h.window->font()).pointSizeF() - 1;
    ASSERT_EQ(graph->paintedTexts().size(), 2u);
    for (const PlacedText& t : graph->paintedTexts()) {
        EXPECT_TRUE(QRectF(graph->rect()).contains(t.box)) << t.text.toStdString();
        EXPECT_GE(t.font.pointSizeF(), least) << t.text.toStdString();
    }
    // The red line runs across the middle; the corners stay white.
    const QPoint middle = graph->layout().toPixels(1500, 1000).toPoint();
    EXPECT_NEAR(middle.y(), 50, 3);
    EXPECT_EQ(shot.pixelColor(middle), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(shot.width() - 2, shot.height() - 2), QColor(Qt::white));
    // The pointer reads the drawing's twips where they are painted.
    EXPECT_EQ(graph->pointerTextAt(graph->layout().toPixels(750, 800)), "750 800");
    EXPECT_EQ(graph->pointerTextAt(graph->layout().toPixels(2500, 1000)), "");

    for (const char* file : {"graph.png", "graph.svg"})
        ASSERT_TRUE(
            saveDrawing(h.form().drawing("PicGraph"), (h.tmp.path() / file).c_str(), {600, 400}));
    const QImage png((h.tmp.path() / "graph.png").c_str());
    EXPECT_EQ(png.size(), QSize(600, 400));
    EXPECT_EQ(png.pixelColor(300, 200), QColor(Qt::red));
    const std::string svg = h.tmp.read("graph.svg");
    EXPECT_TRUE(svg.find("<svg") != svg.npos && svg.find("Vout") != svg.npos);

    // The window's own export, through its file dialog.
    type(h.window, "TxtA", "9");
    ASSERT_EQ(graph->menuEntries().size(), 1u);
    EXPECT_EQ(graph->menuEntries().front().first, "Export Points...");
    const QString path = QString::fromStdString((h.tmp.path() / "points.txt").string());
    setSaveFilePrompt([path](QWidget*, const QString& title, const QString&) {
        EXPECT_EQ(title, "Export Points...");
        return path;
    });
    graph->menuEntries().front().second();
    setSaveFilePrompt({});
    EXPECT_EQ(h.tmp.read("points.txt"), "A=9");
}

TEST(Frame, ShowsAndHidesWithEverythingInIt) {
    HouseWindow h;
    auto* scroll = h.get<QScrollArea>("FrameBScroll");
    ASSERT_NE(scroll, nullptr);
    EXPECT_EQ(scroll->widget(), h("FrameB"));
    for (const bool hide : {true, false}) {
        click(h.window, "ChkHide");
        for (const char* name : {"FrameA", "TxtA", "TxtU", "FrameBScroll", "TxtB"})
            EXPECT_EQ(h(name)->isVisible(), !hide) << name;
    }
}

TEST(Grid, TabRunsRowByRowAndCellsAreNamedByTheirCaptions) {
    HouseWindow h;
    std::vector<QString> order;
    for (QWidget* w = h("TxtZ(0)"); w && order.size() < 4; w = w->nextInFocusChain())
        if ((w->focusPolicy() & Qt::TabFocus) && qobject_cast<QLineEdit*>(w))
            order.push_back(w->objectName());
    EXPECT_EQ(order, (std::vector<QString>{"TxtZ(0)", "TxtZ(1)", "TxtZ(2)", "TxtZ(3)"}));
    EXPECT_EQ(h("TxtZ(0)")->accessibleName(), "1, R");
    EXPECT_EQ(h("TxtZ(3)")->accessibleName(), "2, X");
}

} // namespace
} // namespace ferrovane
