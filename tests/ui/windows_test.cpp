// Walks over all twenty calculator windows: what every window must do on
// any desktop, whatever its fonts.
#include <QAccessible>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QStyle>
#include <cstdio>
#include <gtest/gtest.h>

#include "calculators/catalogue.h"
#include "ui/drawing_view.h"
#include "ui_support.h"

namespace ferrovane {
namespace {

using namespace testing;

// Opens each calculator's window in turn from its button and hands it over.
void forEveryWindow(const std::function<void(const Calculator&, CalculatorWindow&)>& check) {
    App app;
    for (const CatalogueEntry& entry : catalogue()) {
        SCOPED_TRACE(entry.id);
        CalculatorWindow* w = app.open(entry.button.c_str());
        ASSERT_NE(w, nullptr);
        check(entry.calculator(), *w);
        w->closeAndSave();
        settle();
    }
}

// The labels a calculator wants lined up as columns of text.
std::vector<std::string> fixedPitchLabels(const Calculator& calc) {
    std::vector<std::string> names;
    forEachControl(calc.form, [&names](const ControlSpec& c) {
        if (const auto* b = std::get_if<BoxSpec>(&c); b && b->fixedPitchLabel)
            names.push_back(b->labelName.empty() ? b->name + "Label" : b->labelName);
        if (const auto* l = std::get_if<LabelSpec>(&c); l && l->fixedPitch)
            names.push_back(l->name);
        if (const auto* l = std::get_if<ListSpec>(&c); l && !l->headerName.empty())
            names.push_back(l->headerName);
    });
    return names;
}

// Result lists, their headers and the labels that line up with them are
// drawn in a font that really is fixed-pitch, so the "=" signs and columns
// line up.
TEST(EveryWindow, ListsAndColumnLabelsAreFixedPitch) {
    const QFont desktop = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    std::printf("[ fonts    ] the desktop's fixed font \"%s\" is drawn in %s, %s\n",
                qPrintable(desktop.family()), qPrintable(QFontInfo(desktop).family()),
                QFontInfo(desktop).fixedPitch() ? "fixed-pitch" : "proportional");
    int checked = 0;
    forEveryWindow([&checked](const Calculator& calc, CalculatorWindow& w) {
        for (QListWidget* list : w.findChildren<QListWidget*>()) {
            EXPECT_TRUE(QFontInfo(list->font()).fixedPitch()) << list->objectName().toStdString();
            ++checked;
        }
        for (const std::string& name : fixedPitchLabels(calc)) {
            auto* label = find<QLabel>(&w, name.c_str());
            ASSERT_NE(label, nullptr) << name;
            EXPECT_TRUE(QFontInfo(label->font()).fixedPitch()) << name;
            ++checked;
        }
    });
    EXPECT_GT(checked, 20);
}

// The same under a font configuration that knows no "monospace": the
// desktop's fixed font then falls to the first face found, which need not
// be fixed-pitch. The walk above runs in a process of its own there.
TEST(EveryWindow, ListsStayFixedPitchWhereMonospaceIsUnknown) {
    TempDir tmp;
    tmp.write("fonts.conf", "<?xml version=\"1.0\"?>\n"
                            "<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n"
                            "<fontconfig>\n"
                            "  <dir>/usr/share/fonts</dir>\n"
                            "  <dir>/usr/local/share/fonts</dir>\n"
                            "  <cachedir>" +
                                (tmp.path() / "cache").string() +
                                "</cachedir>\n"
                                "</fontconfig>\n");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("FONTCONFIG_FILE", QString::fromStdString((tmp.path() / "fonts.conf").string()));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {"--gtest_filter=EveryWindow.ListsAndColumnLabelsAreFixedPitch"});
    ASSERT_TRUE(child.waitForFinished(120000));
    const QString out = QString::fromLocal8Bit(child.readAll());
    std::printf("%s\n", qPrintable(out.split('\n').filter("[ fonts    ]").join('\n')));
    EXPECT_EQ(child.exitCode(), 0) << out.toStdString();
    EXPECT_TRUE(out.contains("[  PASSED  ] 1 test")) << out.toStdString();
}

// The client area a window may take on a 1366 x 768 laptop at 100 %: less
// a panel of 40 pixels, the placement's band of 10 at the bottom, and a
// title bar and borders of about 38 and 10.
constexpr QSize kLaptopClient(1366 - 20, 768 - 40 - 10 - 38);

// The widgets a user reads or works, as opposed to those that hold them.
bool isLeaf(QWidget* w) {
    return qobject_cast<QLabel*>(w) || qobject_cast<QLineEdit*>(w) ||
           qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w) ||
           qobject_cast<QListWidget*>(w) || qobject_cast<QPlainTextEdit*>(w) ||
           dynamic_cast<DrawingView*>(w);
}

// Where a widget draws in window coordinates; a label only as far as its
// text reaches (a unit label's cell runs to the column's edge).
QRect inkRect(QWidget* w, QWidget* window) {
    QRect r(w->mapTo(window, QPoint(0, 0)), w->size());
    if (auto* label = qobject_cast<QLabel*>(w); label && label->pixmap().isNull()) {
        const QRect text = label->fontMetrics().boundingRect(
            QRect(0, 0, label->width(), label->height()), Qt::TextWordWrap, label->text());
        if (!(label->alignment() & (Qt::AlignRight | Qt::AlignHCenter)))
            r.setWidth(std::min(r.width(), text.width()));
    }
    return r;
}

std::vector<QWidget*> visibleLeaves(QWidget* root) {
    std::vector<QWidget*> leaves;
    for (QWidget* w : root->findChildren<QWidget*>()) {
        if (!w->isVisible() || !isLeaf(w))
            continue;
        bool inner = false; // a box's mark, a drop-down's own box
        for (QWidget* up = w->parentWidget(); up && up != root; up = up->parentWidget())
            inner = inner || isLeaf(up);
        if (!inner)
            leaves.push_back(w);
    }
    return leaves;
}

// Every window opens fully on a laptop screen, at its opening size nothing
// overlaps or is squeezed below what it needs, the two columns stand clearly
// apart, and the lines of the worked example fit across their lists.
TEST(EveryWindow, OpensOnALaptopScreenWithNothingOverlapping) {
    std::printf("[ sizes    ] %-18s %s (at most %dx%d)\n", "window", "opening size",
                kLaptopClient.width(), kLaptopClient.height());
    int listed = 0;
    forEveryWindow([&listed](const Calculator& calc, CalculatorWindow& w) {
        const QSize size = w.openingSize();
        std::printf("[ sizes    ] %-18s %dx%d\n", calc.form.caption.substr(0, 18).c_str(),
                    size.width(), size.height());
        EXPECT_LE(size.width(), kLaptopClient.width());
        EXPECT_LE(size.height(), kLaptopClient.height());
        w.resize(size); // whatever the test screen's own size
        settle();
        const std::vector<QWidget*> leaves = visibleLeaves(&w);
        for (std::size_t i = 0; i < leaves.size(); ++i) {
            const std::string name = leaves[i]->objectName().toStdString();
            // A list or text area scrolls: its own minimum is the room it asks for.
            const QSize needs = qobject_cast<QAbstractScrollArea*>(leaves[i])
                                    ? leaves[i]->minimumSize()
                                    : leaves[i]->minimumSizeHint();
            EXPECT_GE(leaves[i]->width(), needs.width()) << name;
            EXPECT_GE(leaves[i]->height(), needs.height()) << name;
            for (std::size_t j = i + 1; j < leaves.size(); ++j) {
                const QRect a = inkRect(leaves[i], &w), b = inkRect(leaves[j], &w);
                const std::string pair = name + " and " + leaves[j]->objectName().toStdString();
                EXPECT_FALSE(a.intersects(b)) << pair;
                // Two texts side by side on one line read as one unless a gap
                // stands between them.
                const bool texts = qobject_cast<QLabel*>(leaves[i]) &&
                                   qobject_cast<QLabel*>(leaves[j]) && a.top() <= b.bottom() &&
                                   b.top() <= a.bottom();
                if (texts) {
                    EXPECT_GE(std::max(b.left() - a.right(), a.left() - b.right()),
                              2 * w.fontMetrics().averageCharWidth())
                        << pair;
                }
            }
        }
        if (QWidget* right = find(&w, "RegionRight")) {
            int leftEnd = 0, rightStart = w.width();
            for (QWidget* leaf : visibleLeaves(find(&w, "RegionLeft")))
                leftEnd = std::max(leftEnd, inkRect(leaf, &w).right());
            for (QWidget* leaf : visibleLeaves(right))
                rightStart = std::min(rightStart, inkRect(leaf, &w).left());
            EXPECT_GE(rightStart - leftEnd, 2 * w.fontMetrics().averageCharWidth());
        }
        if (auto* calculate = find<QAbstractButton>(&w, "CmdCalc");
            calculate && calculate->isVisible() && calculate->isEnabled())
            click(&w, "CmdCalc");
        if (auto* closeGraph = find<QAbstractButton>(&w, "CmdClosGr");
            closeGraph && closeGraph->isVisible())
            click(&w, "CmdClosGr");
        w.resize(size);
        settle();
        for (QListWidget* list : w.findChildren<QListWidget*>())
            for (int k = 0; k < list->count(); ++k, ++listed)
                EXPECT_LE(list->fontMetrics().horizontalAdvance(list->item(k)->text()),
                          list->viewport()->width())
                    << list->item(k)->text().toStdString();
    });
    EXPECT_GT(listed, 150); // every window with a list listed its example
}

// Where the columns of a line of text begin: its first character, and every
// character that follows two or more blanks.
std::vector<int> columnStarts(const QString& line) {
    std::vector<int> starts;
    for (int i = 0; i < line.size(); ++i)
        if (line[i] != ' ' && (starts.empty() ? true : i >= 2 && line.mid(i - 2, 2) == "  "))
            starts.push_back(i);
    return starts;
}

// The voltage divider's headings stand over their columns, in pixels on the
// screen, within a character.
TEST(VoltageDivider, HeadingsStandOverTheirColumns) {
    App app;
    CalculatorWindow* w = app.open("CmdVoltDiv");
    ASSERT_NE(w, nullptr);
    click(w, "CmdCalc");
    auto* list = find<QListWidget>(w, "LstOutput");
    auto* header = find<QLabel>(w, "Text16");
    ASSERT_TRUE(list && header && list->count() > 0);
    const int cw = list->fontMetrics().horizontalAdvance('0');
    ASSERT_EQ(cw, header->fontMetrics().horizontalAdvance('0'));
    const QString line = list->item(0)->text();
    const std::vector<int> headings = columnStarts(header->text()), fields = columnStarts(line);
    ASSERT_EQ(headings.size(), 9u) << header->text().toStdString();
    ASSERT_EQ(fields.size(), headings.size()) << line.toStdString();
    // An item's text begins past the margin the style leaves for the focus frame.
    const int itemText =
        list->viewport()->mapTo(w, list->visualItemRect(list->item(0)).topLeft()).x() +
        list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
    const int headerText =
        header->mapTo(w, header->contentsRect().topLeft()).x() + header->indent();
    for (std::size_t i = 0; i < fields.size(); ++i)
        EXPECT_LE(std::abs(headerText + headings[i] * cw - (itemText + fields[i] * cw)), cw)
            << "heading " << i << " over " << line.toStdString();
}

// What a screen reader says for a widget: its accessible name.
QString spokenName(QWidget* w) {
    QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(w);
    return reader ? reader->text(QAccessible::Name) : QString();
}

// A widget that only holds or frames others: a region, a frame, a scroll
// area and its viewport, a group box. (A drawing is a control of its own,
// read out by its texts.)
bool isFiller(QWidget* w) {
    QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(w);
    if (!reader || dynamic_cast<DrawingView*>(w))
        return false;
    switch (reader->role()) {
    case QAccessible::Client:
    case QAccessible::Pane:
    case QAccessible::Grouping:
    case QAccessible::Border:
        return true;
    default:
        return false;
    }
}

// A result list is named for a person ("Results", or the header above it);
// a filler never takes the keyboard focus, and nothing of either kind is
// called by a control name.
TEST(EveryWindow, NoListOrFillerIsAnnouncedByAControlNameOrNothing) {
    int lists = 0, fillers = 0;
    forEveryWindow([&](const Calculator&, CalculatorWindow& w) {
        QSet<QString> controlNames;
        for (QWidget* c : w.findChildren<QWidget*>())
            if (!c->objectName().isEmpty())
                controlNames.insert(c->objectName());
        for (QListWidget* list : w.findChildren<QListWidget*>()) {
            const QString name = spokenName(list);
            EXPECT_FALSE(name.trimmed().isEmpty()) << list->objectName().toStdString();
            EXPECT_FALSE(controlNames.contains(name)) << name.toStdString();
            EXPECT_EQ(name.toStdString(), name.simplified().toStdString()) << "no runs of blanks";
            ++lists;
        }
        for (QWidget* c : w.findChildren<QWidget*>()) {
            if (!isFiller(c))
                continue;
            const QString name = spokenName(c);
            EXPECT_FALSE(controlNames.contains(name)) << name.toStdString();
            EXPECT_FALSE(c->focusPolicy() & Qt::TabFocus)
                << c->metaObject()->className() << " " << c->objectName().toStdString();
            ++fillers;
        }
    });
    EXPECT_GE(lists, 16);
    EXPECT_GT(fillers, 40);
}

// The stops of Tab, from the widget with the focus round to it again.
std::vector<QWidget*> tabStops(QWidget& window) {
    window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    std::vector<QWidget*> stops;
    QWidget* first = QApplication::focusWidget();
    for (QWidget* at = first; at && stops.size() < 400;) {
        stops.push_back(at);
        QTest::keyClick(at, Qt::Key_Tab);
        at = QApplication::focusWidget();
        if (at == first)
            break;
    }
    return stops;
}

bool isControl(QWidget* w) {
    return qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractButton*>(w) ||
           qobject_cast<QComboBox*>(w) || qobject_cast<QListWidget*>(w) ||
           dynamic_cast<DrawingView*>(w);
}

// Tab reaches only what a person can use, each stop named by what it shows;
// the six-loop window is walked with each of its methods.
TEST(EveryWindow, TabStopsOnlyOnNamedControls) {
    forEveryWindow([](const Calculator& calc, CalculatorWindow& w) {
        std::vector<std::string> methods = {""};
        if (calc.form.name == "Form5x5")
            methods = {"OpImp", "OpCmp", "OpEqu"};
        for (const std::string& method : methods) {
            if (!method.empty())
                click(&w, method.c_str());
            const std::vector<QWidget*> stops = tabStops(w);
            EXPECT_GE(stops.size(), 2u) << method;
            for (QWidget* stop : stops) {
                // The reading-hint mark of a box is a matter of the box.
                if (qobject_cast<QLineEdit*>(stop->parentWidget()))
                    continue;
                const std::string what = stop->metaObject()->className() + std::string(" ") +
                                         stop->objectName().toStdString() + " " + method;
                EXPECT_TRUE(isControl(stop)) << what;
                EXPECT_TRUE(stop->isVisible() && stop->isEnabled()) << what;
                EXPECT_FALSE(spokenName(stop).trimmed().isEmpty()) << what;
                EXPECT_NE(spokenName(stop), stop->objectName()) << what;
            }
        }
    });
}

} // namespace
} // namespace ferrovane
