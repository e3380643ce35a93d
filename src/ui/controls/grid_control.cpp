#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>

#include "ui/controls/control.h"

namespace ferrovane {

namespace {

// One cell of a grid: its control, label and unit side by side.
class CellPlace : public Place {
public:
    CellPlace(QGridLayout* grid, int row, int column, QString context)
        : grid_(grid), row_(row), column_(column), context_(std::move(context)) {}

    void row(QWidget* label, QWidget* field, QWidget* unit) override {
        if (!label && !unit) {
            grid_->addWidget(field, row_, column_);
            return;
        }
        auto* cell = new QHBoxLayout;
        grid_->addLayout(cell, row_, column_); // the grid owns it from here
        for (QWidget* w : {label, field, unit})
            if (w)
                cell->addWidget(w);
    }
    void wide(QWidget* widget, int) override { grid_->addWidget(widget, row_, column_); }
    QString context() const override { return context_; }

private:
    QGridLayout* grid_;
    int row_, column_;
    QString context_;
};

class GridView : public ControlView {
public:
    GridView(std::string name, QWidget* widget) : name_(std::move(name)), widget_(widget) {}
    void refresh(const Form& form) override { showFlags(widget_, form, name_); }

private:
    std::string name_;
    QWidget* widget_;
};

QString captionAt(const std::vector<std::string>& captions, int i) {
    return i < static_cast<int>(captions.size()) ? qs(captions[i]) : QString();
}

} // namespace

void buildControl(const GridSpec& desc, Builder& b) {
    auto* widget = new QWidget(b.owner);
    widget->setObjectName(qs(desc.name));
    auto* grid = new QGridLayout(widget);
    grid->setContentsMargins(0, 0, 0, 0);
    const bool columnCaptions = !desc.columnCaptions.empty();
    const bool rowCaptions = !desc.rowCaptions.empty();
    const int top = columnCaptions ? 1 : 0;
    const int left = rowCaptions ? 1 : 0;
    const int columns = std::max(1, desc.columns);
    for (int c = 0; c < columns && columnCaptions; ++c) {
        auto* caption = new QLabel(captionAt(desc.columnCaptions, c), widget);
        caption->setAlignment(Qt::AlignCenter);
        grid->addWidget(caption, 0, left + c);
    }
    const int rows = (static_cast<int>(desc.cells.size()) + columns - 1) / columns;
    for (int r = 0; r < rows && rowCaptions; ++r)
        grid->addWidget(new QLabel(captionAt(desc.rowCaptions, r), widget), top + r, 0);
    // Cells are made in reading order, which is the order the Tab key takes.
    for (int i = 0; i < static_cast<int>(desc.cells.size()); ++i) {
        const int r = i / columns, c = i % columns;
        QStringList words;
        for (const QString& w : {captionAt(desc.rowCaptions, r), captionAt(desc.columnCaptions, c)})
            if (!w.trimmed().isEmpty())
                words << w.trimmed();
        if (words.isEmpty())
            words << QStringLiteral("row %1 column %2").arg(r + 1).arg(c + 1);
        CellPlace place(grid, top + r, left + c, words.join(", "));
        Builder cell = b.into(widget, place);
        cell.build(desc.cells[i]);
    }
    grid->setColumnStretch(left + columns, 1);
    b.place.wide(widget);
    b.add<GridView>(desc.name, widget)->refresh(b.host.form());
}

} // namespace ferrovane
