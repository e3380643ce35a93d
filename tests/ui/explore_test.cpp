#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QSpinBox>
#include <QTableWidget>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <numbers>

#include "numeric/eng_text.h"
#include "shell/explore_drawing.h"
#include "ui/drawing_view.h"
#include "ui/explore_dialog.h"
#include "ui/explore_pages.h"
#include "ui_support.h"

namespace ferrovane {
namespace {

using namespace testing;

constexpr const char* kInductanceAlone =
    "Inductance alone is not enough data.  Enter an XL or a frequency.";

// Every file of the folder with its bytes.
std::map<std::string, std::string> contents(const TempDir& dir) {
    std::map<std::string, std::string> out;
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
        out[e.path().filename().string()] = dir.read(e.path().filename().string());
    return out;
}

// Runs long work at once, or reports it cancelled.
struct SwitchHost : LongRunHost {
    bool run(const std::string&, const LongWork& work) override {
        Progress p;
        if (cancel)
            p.cancel();
        work(p);
        return !cancel;
    }
    bool cancel = false;
};

// The reactance window on its example (455 kHz, 2.5 mH), calculated once.
struct Reactance {
    Reactance() {
        w = app.open("CmdLCRes");
        w->setTextMetrics(&metrics);
        click(w, "CmdCalc");
    }
    // Ctrl+E with the keyboard in a box, as a user would press it.
    ExploreDialog* explore() {
        w->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w));
        find(w, "TxtInd")->setFocus();
        // Through the window, as the keyboard's keys arrive.
        QTest::keyClick(w->windowHandle(), Qt::Key_E, Qt::ControlModifier);
        settle();
        return w->findChild<ExploreDialog*>("Explore");
    }
    App app;
    FixedTextMetrics metrics;
    CalculatorWindow* w = nullptr;
};

// Checks only the result the box of this name gives.
void chooseOnly(QWidget* dialog, const char* list, const QString& box) {
    auto* l = find<QListWidget>(dialog, list);
    ASSERT_NE(l, nullptr);
    bool found = false;
    for (int i = 0; i < l->count(); ++i) {
        const bool it = l->item(i)->toolTip() == box;
        l->item(i)->setCheckState(it ? Qt::Checked : Qt::Unchecked);
        found = found || it;
    }
    ASSERT_TRUE(found) << box.toStdString();
}

void setSweep(QWidget* d, const QString& from, const QString& to, int points, bool log) {
    auto* input = find<QComboBox>(d, "SweepInput");
    input->setCurrentIndex(input->findData("TxtFreq"));
    find<QLineEdit>(d, "SweepFrom")->setText(from);
    find<QLineEdit>(d, "SweepTo")->setText(to);
    find<QSpinBox>(d, "SweepPoints")->setValue(points);
    find<QCheckBox>(d, "SweepLog")->setChecked(log);
    chooseOnly(d, "SweepOutputs", "TxtIndRct");
}

// The thick lines of the first trace inside the plot.
int traceSegments(const Drawing& d, const PlotScale& s) {
    int n = 0;
    for (const auto& item : d.items)
        if (const auto* l = std::get_if<LinePrimitive>(&item);
            l && l->colour == traceColour(0) && l->widthTwips > 15 && s.inside(l->x1, l->y1))
            ++n;
    return n;
}

TEST(Explore, OpensFromEveryWindowOnlyWhenAsked) {
    Reactance r;
    EXPECT_EQ(r.w->findChild<ExploreDialog*>(), nullptr);
    EXPECT_EQ(r.w->contextMenuPolicy(), Qt::ActionsContextMenu);
    auto* action = r.w->findChild<QAction*>("ActionExplore");
    ASSERT_NE(action, nullptr);
    EXPECT_TRUE(r.w->actions().contains(action));
    ExploreDialog* d = r.explore();
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(d->isVisible());
    // A second Explore replaces the first.
    QPointer<ExploreDialog> first = d;
    ExploreDialog* second = r.explore();
    EXPECT_TRUE(first.isNull());
    EXPECT_NE(second, nullptr);
    EXPECT_EQ(r.w->findChildren<ExploreDialog*>().size(), 1);
}

// XL against F, 1 kHz to 1 MHz in 31 geometric steps: the graph holds the
// trace and its legend, the CSV holds 2 pi F L at every point, and nothing
// is written in the window's folder or shown as a message box.
TEST(Explore, SweepIsDrawnAndWrittenAsCsv) {
    Reactance r;
    const double l = ReadNumber(boxText(r.w, "TxtInd").toStdString());
    ASSERT_NEAR(l, 2.5e-3, 1e-12);
    const auto before = contents(r.app.tmp);
    ExploreDialog* d = r.explore();
    ASSERT_NE(d, nullptr);
    setSweep(d, "1e3", "1e6", 31, true);
    click(d, "SweepRun");
    ASSERT_TRUE(d->sweep().result());
    const Drawing& drawing = find<DrawingView>(d, "SweepGraph")->drawing();
    const PlotScale& scale = d->sweep().scale();
    EXPECT_TRUE(scale.logX);
    EXPECT_EQ(traceSegments(drawing, scale), 30);
    const auto texts = drawing.texts();
    for (const char* label : {"Inductive Reactance", "Frequency, (0 to enter Omega), F"})
        EXPECT_NE(std::find(texts.begin(), texts.end(), label), texts.end()) << label;
    EXPECT_EQ(find<QListWidget>(d, "SweepGaps")->count(), 0);
    EXPECT_EQ(find<QLabel>(d, "SweepStatus")->text(), "31 points.");

    const std::string csv = (r.app.tmp.path() / "sweep.csv").string();
    ASSERT_TRUE(d->saveSweepCsv(QString::fromStdString(csv)));
    std::ifstream in(csv, std::ios::binary);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, "\"Frequency, (0 to enter Omega), F\",Inductive Reactance\r");
    int rows = 0;
    for (; std::getline(in, line); ++rows) {
        const double f = 1e3 * std::pow(1e3, rows / 30.0);
        double x = 0, xl = 0;
        ASSERT_EQ(std::sscanf(line.c_str(), "%lf,%lf", &x, &xl), 2) << line;
        EXPECT_NEAR(x / f, 1, 1e-5) << line;
        EXPECT_NEAR(xl / (2 * std::numbers::pi * f * l), 1, 5e-4) << line;
    }
    EXPECT_EQ(rows, 31);
    std::filesystem::remove(csv);

    // Copy puts the table on the clipboard; the graph saves as PNG (twice
    // its size on the screen) and SVG.
    click(d, "SweepCopy");
    EXPECT_TRUE(QGuiApplication::clipboard()->text().startsWith(
        "Frequency, (0 to enter Omega), F\tInductive Reactance\n"));
    const QString png = QString::fromStdString((r.app.tmp.path() / "sweep.png").string());
    const QString svg = QString::fromStdString((r.app.tmp.path() / "sweep.svg").string());
    ASSERT_TRUE(d->sweep().savePicture(png));
    ASSERT_TRUE(d->sweep().savePicture(svg));
    EXPECT_EQ(QImage(png).width(), static_cast<int>(2 * drawing.widthTwips / 15));
    QFile svgFile(svg);
    ASSERT_TRUE(svgFile.open(QIODevice::ReadOnly));
    EXPECT_TRUE(svgFile.readAll().contains("Inductive Reactance"));
    QFile::remove(png);
    QFile::remove(svg);
    EXPECT_EQ(contents(r.app.tmp), before);
    EXPECT_TRUE(r.app.dialogs.shown.empty());
}

// F from -1 kHz to 1 kHz: the calculator refuses F <= 0 with its message,
// listed under the graph as one gap, and the trace has only the rest.
TEST(Explore, ARangeThroughZeroShowsAGapWithItsMessage) {
    Reactance r;
    ExploreDialog* d = r.explore();
    ASSERT_NE(d, nullptr);
    setSweep(d, "-1e3", "1e3", 5, false);
    click(d, "SweepRun");
    const QStringList gaps = lines(d, "SweepGaps");
    ASSERT_EQ(gaps.size(), 1);
    EXPECT_TRUE(gaps[0].startsWith("Points 1 to 3 (")) << gaps[0].toStdString();
    EXPECT_TRUE(gaps[0].endsWith(kInductanceAlone)) << gaps[0].toStdString();
    EXPECT_EQ(find<QLabel>(d, "SweepStatus")->text(), "5 points, 3 of them without results.");
    const PlotScale& scale = d->sweep().scale();
    EXPECT_EQ(traceSegments(find<DrawingView>(d, "SweepGraph")->drawing(), scale), 1);
    EXPECT_TRUE(r.app.dialogs.shown.empty());
    // A request the sweep refuses is said in the dialog, not in a message box.
    find<QCheckBox>(d, "SweepLog")->setChecked(true);
    click(d, "SweepRun");
    EXPECT_EQ(find<QLabel>(d, "SweepStatus")->text(),
              "A logarithmic sweep needs both ends above zero.");
    EXPECT_EQ(lines(d, "SweepGaps"), gaps);
    EXPECT_TRUE(r.app.dialogs.shown.empty());
}

// A cancelled sweep leaves the last graph and table as they were.
TEST(Explore, CancelChangesNothing) {
    Reactance r;
    SwitchHost host;
    r.w->setLongRunHost(&host);
    ExploreDialog* d = r.explore();
    ASSERT_NE(d, nullptr);
    setSweep(d, "1e3", "1e4", 5, true);
    click(d, "SweepRun");
    ASSERT_TRUE(d->sweep().result());
    const SweepResult kept = *d->sweep().result();
    const Drawing graph = find<DrawingView>(d, "SweepGraph")->drawing();
    host.cancel = true;
    find<QSpinBox>(d, "SweepPoints")->setValue(9);
    click(d, "SweepRun");
    EXPECT_EQ(d->sweep().result()->x, kept.x);
    EXPECT_TRUE(find<DrawingView>(d, "SweepGraph")->drawing() == graph);
    EXPECT_EQ(find<QLabel>(d, "SweepStatus")->text(), "The sweep was cancelled.");
}

// +/-5 % on L: XL spreads within 2 pi F L (1 +/- 0.05); the worst case
// reaches both ends; the histogram counts every run.
TEST(Explore, ToleranceTableAndHistogram) {
    Reactance r;
    SwitchHost host;
    r.w->setLongRunHost(&host);
    ExploreDialog* d = r.explore();
    ASSERT_NE(d, nullptr);
    auto* inputs = find<QTableWidget>(d, "ToleranceInputs");
    ASSERT_NE(inputs, nullptr);
    for (int i = 0; i < inputs->rowCount(); ++i)
        if (inputs->item(i, 0)->data(Qt::UserRole) == "TxtInd")
            inputs->item(i, 0)->setCheckState(Qt::Checked);
    find<QSpinBox>(d, "ToleranceRuns")->setValue(200);
    chooseOnly(d, "ToleranceOutputs", "TxtIndRct");
    click(d, "ToleranceRun");
    auto* table = find<QTableWidget>(d, "ToleranceTable");
    ASSERT_EQ(table->rowCount(), 1);
    const double xl = 2 * std::numbers::pi * 455e3 * 2.5e-3;
    const auto cell = [&](int c) { return ReadNumber(table->item(0, c)->text().toStdString()); };
    EXPECT_NEAR(cell(1) / xl, 1, 5e-4);
    EXPECT_GE(cell(2), xl * 0.95 * (1 - 5e-4));
    EXPECT_LE(cell(4), xl * 1.05 * (1 + 5e-4));
    EXPECT_LT(cell(2), cell(3));
    EXPECT_LT(cell(3), cell(4));
    EXPECT_EQ(table->item(0, 6)->text(), "0");
    const Drawing& hist = find<DrawingView>(d, "ToleranceHistogram")->drawing();
    const auto texts = hist.texts();
    EXPECT_NE(std::find_if(texts.begin(), texts.end(),
                           [](const std::string& t) { return t.rfind("200 runs", 0) == 0; }),
              texts.end());

    find<QCheckBox>(d, "ToleranceWorstCase")->setChecked(true);
    click(d, "ToleranceRun");
    EXPECT_NEAR(cell(2) / (xl * 0.95), 1, 5e-4);
    EXPECT_NEAR(cell(4) / (xl * 1.05), 1, 5e-4);
    EXPECT_EQ(find<QLabel>(d, "ToleranceStatus")->text(), "2 corners.");
    EXPECT_TRUE(r.app.dialogs.shown.empty());
}

} // namespace
} // namespace ferrovane
