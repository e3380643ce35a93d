#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <sstream>

#include "shell/calc_output.h"
#include "ui/controls/control.h"
#include "ui/drawing_view.h"
#include "ui/explore_pages.h"
#include "ui/save_prompt.h"

namespace ferrovane {

namespace {

constexpr int kDefaultPoints = 51;

QPushButton* button(const QString& caption, const char* name, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

} // namespace

SweepPage::SweepPage(ExploreContext context, QWidget* parent) : QWidget(parent), ctx_(context) {
    setObjectName("SweepPage");
    auto* layout = new QHBoxLayout(this);
    auto* left = new QWidget(this);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->addWidget(buildSettings());
    leftLayout->addWidget(new QLabel(tr("Results to draw:"), left));
    outputs_ = makeResultList(ctx_.session, "SweepOutputs", left);
    leftLayout->addWidget(outputs_, 1);
    run_ = button(tr("Run"), "SweepRun", left);
    connect(run_, &QPushButton::clicked, this, &SweepPage::run);
    leftLayout->addWidget(run_);

    auto* right = new QWidget(this);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    graph_ = new DrawingView(right);
    graph_->setObjectName("SweepGraph");
    graph_->setAccessibleName(tr("Sweep graph"));
    graph_->setDescription(tr("Choose an input and results, then press Run."));
    graph_->setPointerText([this](double x, double y) {
        return result_ ? qs(sweepPointerText(*result_, scale_, x, y)) : QString();
    });
    graph_->setMenuEntries(
        {{tr("Copy Table"), [this] { copy(); }},
         {tr("Save Table as CSV..."), [this] { askAndSave(tr("CSV files (*.csv)"), ".csv"); }}});
    graph_->installEventFilter(this);
    rightLayout->addWidget(graph_, 3);
    gaps_ = new QListWidget(right);
    gaps_->setObjectName("SweepGaps");
    gaps_->setWordWrap(true);
    gaps_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    gaps_->setAccessibleName(tr("Points without results"));
    rightLayout->addWidget(gaps_, 1);
    status_ = new QLabel(right);
    status_->setObjectName("SweepStatus");
    status_->setWordWrap(true);
    rightLayout->addWidget(status_);
    rightLayout->addWidget(buildButtons());

    layout->addWidget(left, 2);
    layout->addWidget(right, 5);
    inputChosen();
}

QWidget* SweepPage::buildSettings() {
    auto* box = new QWidget(this);
    auto* form = new QFormLayout(box);
    form->setContentsMargins(0, 0, 0, 0);
    input_ = new QComboBox(box);
    input_->setObjectName("SweepInput");
    for (const BoxSpec& b : ctx_.session.inputs())
        input_->addItem(qs(b.label), qs(b.name));
    connect(input_, &QComboBox::currentIndexChanged, this, &SweepPage::inputChosen);
    from_ = new QLineEdit(box);
    from_->setObjectName("SweepFrom");
    to_ = new QLineEdit(box);
    to_->setObjectName("SweepTo");
    points_ = new QSpinBox(box);
    points_->setObjectName("SweepPoints");
    points_->setRange(2, kMaxSweepPoints);
    points_->setValue(kDefaultPoints);
    log_ = new QCheckBox(tr("Logarithmic spacing"), box);
    log_->setObjectName("SweepLog");
    form->addRow(tr("&Input:"), input_);
    form->addRow(tr("&From:"), from_);
    form->addRow(tr("&To:"), to_);
    form->addRow(tr("&Points:"), points_);
    form->addRow(log_);
    return box;
}

QWidget* SweepPage::buildButtons() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* copyButton = button(tr("&Copy"), "SweepCopy", row);
    connect(copyButton, &QPushButton::clicked, this, &SweepPage::copy);
    auto* csv = button(tr("CS&V..."), "SweepCsv", row);
    connect(csv, &QPushButton::clicked, this,
            [this] { askAndSave(tr("CSV files (*.csv)"), ".csv"); });
    auto* png = button(tr("P&NG..."), "SweepPng", row);
    connect(png, &QPushButton::clicked, this,
            [this] { askAndSave(tr("PNG pictures (*.png)"), ".png"); });
    auto* svg = button(tr("S&VG..."), "SweepSvg", row);
    connect(svg, &QPushButton::clicked, this,
            [this] { askAndSave(tr("SVG drawings (*.svg)"), ".svg"); });
    exports_ = {copyButton, csv, png, svg};
    for (QPushButton* b : exports_) {
        b->setEnabled(false);
        layout->addWidget(b);
    }
    layout->addStretch(1);
    return row;
}

// A new input starts from a decade either side of its value, logarithmic
// for a positive one.
void SweepPage::inputChosen() {
    const std::string box = input_->currentData().toString().toStdString();
    const double v = box.empty() ? 0 : ctx_.session.form().number(box);
    double from = 0, to = 1;
    if (v > 0) {
        from = v / 10;
        to = v * 10;
    } else if (v < 0) {
        from = v * 10;
        to = v / 10;
    }
    from_->setText(qs(valueText(from)));
    to_->setText(qs(valueText(to)));
    log_->setChecked(v > 0);
}

void SweepPage::say(const QString& text) {
    status_->setText(text);
}

void SweepPage::run() {
    const SweepRequest r{input_->currentData().toString().toStdString(),
                         numberFrom(from_->text()),
                         numberFrom(to_->text()),
                         points_->value(),
                         log_->isChecked(),
                         checkedResults(ctx_.session, outputs_)};
    if (auto why = ctx_.session.check(r))
        return say(qs(*why));
    run_->setEnabled(false);
    auto result = ctx_.session.sweep(r, ctx_.host());
    run_->setEnabled(true);
    // Cancelled: the last sweep's graph and table stay as they were.
    if (!result)
        return say(tr("The sweep was cancelled."));
    show(std::move(*result));
}

// The graph is drawn at the view's own size, so that its texts keep their
// size and nothing is stretched.
void SweepPage::redraw() {
    if (!result_)
        return;
    const auto [width, height] = graphSize(graph_);
    ExploreGraph g = sweepGraph(*result_, ctx_.metrics, width, height);
    scale_ = g.scale;
    graph_->setDrawing(g.drawing);
}

bool SweepPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == graph_ && event->type() == QEvent::Resize)
        redraw();
    return QWidget::eventFilter(watched, event);
}

void SweepPage::show(SweepResult result) {
    result_ = std::move(result);
    redraw();
    gaps_->clear();
    int missing = 0;
    for (const Gap& gap : result_->gaps) {
        gaps_->addItem(qs(gapText(*result_, gap)));
        missing += gap.last - gap.first + 1;
    }
    const int n = static_cast<int>(result_->x.size());
    say(missing == 0 ? tr("%1 points.").arg(n)
                     : tr("%1 points, %2 of them without results.").arg(n).arg(missing));
    for (QPushButton* b : exports_)
        b->setEnabled(true);
}

QString SweepPage::tableText() const {
    if (!result_)
        return {};
    std::ostringstream out;
    printSweep(out, *result_);
    return qs(out.str());
}

void SweepPage::copy() {
    if (result_)
        QGuiApplication::clipboard()->setText(tableText());
}

bool SweepPage::saveCsv(const QString& path) {
    return result_ && writeSweepCsv(path.toStdString(), *result_);
}

bool SweepPage::savePicture(const QString& path) {
    const Drawing& d = graph_->drawing();
    const QSize size(static_cast<int>(d.widthTwips / kTwipsPerPixel),
                     static_cast<int>(d.heightTwips / kTwipsPerPixel));
    // PNG at twice the size on the screen, so that a printed copy stays sharp.
    const bool svg = path.endsWith(".svg", Qt::CaseInsensitive);
    const int times = svg ? 1 : 2;
    return result_ && saveDrawing(d, path, size * times, graph_->leastPoints() * times);
}

void SweepPage::askAndSave(const QString& filter, const QString& suffix) {
    if (!result_)
        return;
    QString path = askSaveFile(this, tr("Save"), filter);
    if (path.isEmpty())
        return;
    if (!path.endsWith(suffix, Qt::CaseInsensitive))
        path += suffix;
    const bool saved = suffix == ".csv" ? saveCsv(path) : savePicture(path);
    say(saved ? tr("Saved in \"%1\".").arg(path) : tr("\"%1\" could not be written.").arg(path));
}

} // namespace ferrovane
