#include "ui/explore_dialog.h"

#include <QAction>
#include <QHBoxLayout>
#include <QToolButton>

#include <QLabel>
#include <QListWidget>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <limits>

#include "ui/controls/control.h"
#include "ui/explore_pages.h"

namespace ferrovane {

QListWidget* makeResultList(const ExploreSession& session, const QString& name, QWidget* parent) {
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    list->setAccessibleName(QObject::tr("Results"));
    const auto& results = session.results();
    if (!results)
        return list;
    for (const Quantity& q : *results) {
        auto* item = new QListWidgetItem(qs(session.describe(q)), list);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        item->setCheckState(list->count() == 1 ? Qt::Checked : Qt::Unchecked);
        item->setToolTip(qs(q.box.empty()
                                ? q.list + ":" + std::to_string(q.line) + ":" + std::to_string(q.k)
                                : q.box));
    }
    return list;
}

std::vector<Quantity> checkedResults(const ExploreSession& session, const QListWidget* list) {
    std::vector<Quantity> out;
    const auto& results = session.results();
    for (int i = 0; results && i < list->count() && i < static_cast<int>(results->size()); ++i)
        if (list->item(i)->checkState() == Qt::Checked)
            out.push_back((*results)[static_cast<std::size_t>(i)]);
    return out;
}

double numberFrom(const QString& text) {
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    return ok ? v : std::numeric_limits<double>::quiet_NaN();
}

std::pair<double, double> graphSize(const QWidget* view) {
    constexpr int kLeastWidth = 320, kLeastHeight = 200;
    return {std::max(view->width(), kLeastWidth) * kTwipsPerPixel,
            std::max(view->height(), kLeastHeight) * kTwipsPerPixel};
}

ExploreDialog::ExploreDialog(const Calculator& calc, const DataDir& files, const Form& shown,
                             const LastPress* last, const TextMetrics& metrics, LongRunHost* host,
                             QWidget* parent)
    : QDialog(parent), session_(calc, files, shown, last), ownHost_(this), host_(host) {
    setObjectName("Explore");
    setWindowTitle(tr("Explore - %1").arg(qs(calc.form.caption).trimmed()));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    setSizeGripEnabled(true);
    auto* layout = new QVBoxLayout(this);
    // Results the window does not show now are found by one press on a copy.
    if (!session_.results() && !session_.press().empty() && !session_.findResults(this->host())) {
        auto* note = new QLabel(tr("Press Calculate in the window, then open Explore again to "
                                   "choose among its results."),
                                this);
        note->setObjectName("ExploreNote");
        layout->addWidget(note);
    }
    const ExploreContext context{session_, metrics, [this] { return this->host(); }};
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName("ExploreTabs");
    sweep_ = new SweepPage(context, tabs_);
    tolerance_ = new TolerancePage(context, tabs_);
    tabs_->addTab(sweep_, tr("Sweep"));
    tabs_->addTab(tolerance_, tr("Tolerance"));
    layout->addWidget(tabs_);
    resize(900, 640);
}

ExploreDialog::~ExploreDialog() = default;

void ExploreDialog::addCircuitActions(const QList<QAction*>& actions) {
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (QAction* action : actions) {
        auto* button = new QToolButton(this);
        button->setDefaultAction(action);
        button->setObjectName(action->objectName() + "Button");
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        row->addWidget(button);
    }
    static_cast<QVBoxLayout*>(layout())->addLayout(row);
}

bool ExploreDialog::saveSweepCsv(const QString& path) {
    return sweep_->saveCsv(path);
}

} // namespace ferrovane
