#include "ui/spice_check_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace ferrovane {

namespace {

QString number(double value, const std::string& unit) {
    QString text = QString::number(value, 'g', 7);
    return unit.empty() ? text : text + " " + QString::fromStdString(unit);
}

QString verdict(const SpiceCheck& check) {
    if (check.run.status != SpiceRun::Status::Done && !check.run.why.empty())
        return QString::fromStdString(check.run.why);
    const auto outside = std::count_if(check.checks.begin(), check.checks.end(),
                                       [](const FigureCheck& c) { return !c.ok; });
    if (check.checks.empty())
        return QObject::tr("ngspice measured none of the figures.");
    if (outside == 0)
        return QObject::tr("Every figure agrees with ngspice within its tolerance.");
    return QObject::tr("%n figure(s) differ from ngspice by more than their tolerance.", "",
                       static_cast<int>(outside));
}

} // namespace

SpiceCheckDialog::SpiceCheckDialog(const SpiceCheck& check, QWidget* parent) : QDialog(parent) {
    setObjectName("SpiceCheck");
    setWindowTitle(tr("Check with ngspice"));
    auto* layout = new QVBoxLayout(this);
    auto* table = new QTableWidget(static_cast<int>(check.checks.size()), 5, this);
    table->setObjectName("TblSpiceCheck");
    table->setAccessibleName(tr("Calculated and simulated figures"));
    table->setHorizontalHeaderLabels(
        {tr("Figure"), tr("Calculated"), tr("Simulated"), tr("Difference"), tr("Tolerance")});
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    for (int row = 0; row < table->rowCount(); ++row) {
        const FigureCheck& c = check.checks[static_cast<std::size_t>(row)];
        const QString simulated = c.simulated ? number(*c.simulated, c.unit) : tr("not measured");
        const QString difference =
            c.simulated ? QString::asprintf("%+.4f %%", c.differencePercent) : QString();
        const QString cells[] = {QString::fromStdString(c.label), number(c.calculated, c.unit),
                                 simulated, difference,
                                 QString::fromUtf8("\u00B1") + number(c.tolerancePercent, "%")};
        for (int col = 0; col < 5; ++col) {
            auto* item = new QTableWidgetItem(cells[col]);
            if (col > 0)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (col == 3 && !c.ok)
                item->setForeground(palette().color(QPalette::Link));
            table->setItem(row, col, item);
        }
    }
    table->resizeColumnsToContents();
    table->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(table);
    auto* summary = new QLabel(verdict(check), this);
    summary->setObjectName("LblSpiceVerdict");
    summary->setWordWrap(true);
    layout->addWidget(summary);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    auto* exportButton =
        buttons->addButton(tr("Export Netlist\u2026"), QDialogButtonBox::ActionRole);
    exportButton->setObjectName("CmdExportSpice");
    connect(exportButton, &QPushButton::clicked, this, &SpiceCheckDialog::exportRequested);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(std::max(560, table->horizontalHeader()->length() + 40), sizeHint().height());
}

} // namespace ferrovane
