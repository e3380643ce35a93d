#include <QCheckBox>
#include <QClipboard>
#include <QEvent>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <sstream>

#include "shell/calc_output.h"
#include "ui/controls/control.h"
#include "ui/drawing_view.h"
#include "ui/explore_pages.h"

namespace ferrovane {

namespace {

constexpr int kDefaultRuns = 1000;
constexpr const char* kDefaultPercent = "5";
constexpr int kMostInputs = 10; // as many as the worst case can take
enum Column { Output, Nominal, Min, Mean, Max, StdDev, Failed, Columns };

QString numberCell(std::optional<double> v) {
    return v ? qs(axisNumber(*v)) : QString();
}

} // namespace

TolerancePage::TolerancePage(ExploreContext context, QWidget* parent)
    : QWidget(parent), ctx_(context) {
    setObjectName("TolerancePage");
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(buildSettings(), 2);
    layout->addWidget(buildResults(), 5);
}

// The table over the histogram of its chosen row, the runs' messages below.
QWidget* TolerancePage::buildResults() {
    auto* right = new QWidget(this);
    auto* layout = new QVBoxLayout(right);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* split = new QSplitter(Qt::Vertical, right);
    table_ = new QTableWidget(0, Columns, split);
    table_->setObjectName("ToleranceTable");
    table_->setHorizontalHeaderLabels({tr("Result"), tr("Nominal"), tr("Min"), tr("Mean"),
                                       tr("Max"), tr("Std dev"), tr("Failed")});
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->horizontalHeader()->setSectionResizeMode(Output, QHeaderView::Stretch);
    connect(table_, &QTableWidget::currentCellChanged, this, &TolerancePage::drawSelected);
    histogram_ = new DrawingView(split);
    histogram_->setObjectName("ToleranceHistogram");
    histogram_->setAccessibleName(tr("Histogram"));
    histogram_->setDescription(tr("The spread of the result chosen in the table."));
    histogram_->setPointerText([this](double x, double y) {
        const int row = table_->currentRow();
        if (!result_ || row < 0 || row >= static_cast<int>(result_->spreads.size()))
            return QString();
        return qs(
            histogramPointerText(result_->spreads[static_cast<std::size_t>(row)], scale_, x, y));
    });
    histogram_->installEventFilter(this);
    messages_ = new QListWidget(split);
    messages_->setObjectName("ToleranceMessages");
    messages_->setAccessibleName(tr("Messages of the runs"));
    messages_->setWordWrap(true);
    split->setStretchFactor(0, 2);
    split->setStretchFactor(1, 3);
    split->setStretchFactor(2, 1);
    layout->addWidget(split, 1);
    status_ = new QLabel(right);
    status_->setObjectName("ToleranceStatus");
    status_->setWordWrap(true);
    layout->addWidget(status_);
    return right;
}

bool TolerancePage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == histogram_ && event->type() == QEvent::Resize)
        drawSelected();
    return QWidget::eventFilter(watched, event);
}

QWidget* TolerancePage::buildSettings() {
    auto* box = new QWidget(this);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(tr("Inputs and their tolerance (up to %1):").arg(kMostInputs)));
    const auto inputs = ctx_.session.inputs();
    inputs_ = new QTableWidget(static_cast<int>(inputs.size()), 2, box);
    inputs_->setObjectName("ToleranceInputs");
    inputs_->setHorizontalHeaderLabels({tr("Input"), tr("+/- %")});
    inputs_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int i = 0; i < static_cast<int>(inputs.size()); ++i) {
        const BoxSpec& b = inputs[static_cast<std::size_t>(i)];
        auto* name = new QTableWidgetItem(qs(b.label));
        name->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        name->setCheckState(Qt::Unchecked);
        name->setData(Qt::UserRole, qs(b.name));
        inputs_->setItem(i, 0, name);
        inputs_->setItem(i, 1, new QTableWidgetItem(kDefaultPercent));
    }
    layout->addWidget(inputs_, 2);

    auto* form = new QFormLayout;
    runs_ = new QSpinBox(box);
    runs_->setObjectName("ToleranceRuns");
    runs_->setRange(1, kMaxRuns);
    runs_->setValue(kDefaultRuns);
    seed_ = new QLineEdit("1", box);
    seed_->setObjectName("ToleranceSeed");
    worstCase_ = new QCheckBox(tr("Worst case: every corner"), box);
    worstCase_->setObjectName("ToleranceWorstCase");
    connect(worstCase_, &QCheckBox::toggled, this, [this](bool on) {
        runs_->setEnabled(!on);
        seed_->setEnabled(!on);
    });
    form->addRow(tr("&Runs:"), runs_);
    form->addRow(tr("&Seed:"), seed_);
    form->addRow(worstCase_);
    layout->addLayout(form);
    layout->addWidget(new QLabel(tr("Results:"), box));
    outputs_ = makeResultList(ctx_.session, "ToleranceOutputs", box);
    layout->addWidget(outputs_, 1);

    auto* row = new QHBoxLayout;
    run_ = new QPushButton(tr("Run"), box);
    run_->setObjectName("ToleranceRun");
    run_->setAutoDefault(false);
    connect(run_, &QPushButton::clicked, this, &TolerancePage::run);
    copy_ = new QPushButton(tr("&Copy"), box);
    copy_->setObjectName("ToleranceCopy");
    copy_->setAutoDefault(false);
    copy_->setEnabled(false);
    connect(copy_, &QPushButton::clicked, this,
            [this] { QGuiApplication::clipboard()->setText(tableText()); });
    row->addWidget(run_);
    row->addWidget(copy_);
    layout->addLayout(row);
    return box;
}

void TolerancePage::say(const QString& text) {
    status_->setText(text);
}

// The request the settings make, or nothing (and why) when they make none.
std::optional<ToleranceRequest> TolerancePage::request() {
    ToleranceRequest r;
    for (int i = 0; i < inputs_->rowCount(); ++i)
        if (inputs_->item(i, 0)->checkState() == Qt::Checked)
            r.inputs.emplace_back(inputs_->item(i, 0)->data(Qt::UserRole).toString().toStdString(),
                                  numberFrom(inputs_->item(i, 1)->text()));
    if (static_cast<int>(r.inputs.size()) > kMostInputs) {
        say(tr("Choose at most %1 inputs.").arg(kMostInputs));
        return std::nullopt;
    }
    bool ok = false;
    r.seed = seed_->text().trimmed().toULongLong(&ok);
    if (!ok) {
        say(tr("The seed is a whole number of 0 or more."));
        return std::nullopt;
    }
    r.runs = runs_->value();
    r.worstCase = worstCase_->isChecked();
    r.outputs = checkedResults(ctx_.session, outputs_);
    if (auto why = ctx_.session.check(r)) {
        say(qs(*why));
        return std::nullopt;
    }
    return r;
}

void TolerancePage::run() {
    const auto r = request();
    if (!r)
        return;
    run_->setEnabled(false);
    auto result = ctx_.session.tolerance(*r, ctx_.host());
    run_->setEnabled(true);
    // Cancelled: the last table and histogram stay as they were.
    if (!result)
        return say(tr("The runs were cancelled."));
    worstCaseRun_ = r->worstCase;
    show(std::move(*result));
}

void TolerancePage::show(ToleranceResult result) {
    result_ = std::move(result);
    table_->setRowCount(static_cast<int>(result_->spreads.size()));
    for (int row = 0; row < table_->rowCount(); ++row) {
        const Spread& s = result_->spreads[static_cast<std::size_t>(row)];
        const bool any = !s.values.empty();
        const auto cell = [&](double v) {
            return numberCell(any ? std::optional(v) : std::nullopt);
        };
        const QStringList cells{
            qs(s.output.label), numberCell(s.nominal),    cell(s.min), cell(s.mean), cell(s.max),
            cell(s.stddev),     QString::number(s.failed)};
        for (int c = 0; c < Columns; ++c)
            table_->setItem(row, c, new QTableWidgetItem(cells[c]));
    }
    messages_->clear();
    for (const std::string& m : result_->messages)
        messages_->addItem(qs(m));
    say((worstCaseRun_ ? tr("%1 corners.") : tr("%1 runs.")).arg(result_->runs));
    copy_->setEnabled(true);
    table_->setCurrentCell(0, 0);
    drawSelected();
}

void TolerancePage::drawSelected() {
    const int row = table_->currentRow();
    if (!result_ || row < 0 || row >= static_cast<int>(result_->spreads.size())) {
        histogram_->setDrawing({});
        return;
    }
    const auto [width, height] = graphSize(histogram_);
    ExploreGraph g = histogramGraph(result_->spreads[static_cast<std::size_t>(row)], ctx_.metrics,
                                    width, height);
    scale_ = g.scale;
    histogram_->setDrawing(g.drawing);
}

QString TolerancePage::tableText() const {
    if (!result_)
        return {};
    std::ostringstream out;
    printTolerance(out, *result_, worstCaseRun_);
    return qs(out.str());
}

} // namespace ferrovane
