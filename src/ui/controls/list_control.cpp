#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QListWidget>
#include <QRegularExpression>
#include <QResizeEvent>
#include <QStyle>

#include "ui/controls/control.h"

namespace ferrovane {

namespace {

// A result list that shows whole lines only: the height left over below the
// last whole line is a margin, never half a line.
class WholeLineList : public QListWidget {
public:
    using QListWidget::QListWidget;

    // Measures a line in the list's font and style, once its font is set.
    void measure() {
        addItem(QStringLiteral("0"));
        lineHeight_ = std::max(1, sizeHintForRow(0));
        clear();
    }
    int lineHeight() const { return lineHeight_; }

    // The height of a list showing this many lines.
    int heightFor(int lines) const { return lineHeight() * lines + 2 * frameWidth(); }

    // A list asks for the lines it is made to show; a larger window gives
    // it more.
    QSize sizeHint() const override { return {QListWidget::sizeHint().width(), minimumHeight()}; }

    void fitWholeLines() {
        const int inside = height() - 2 * frameWidth();
        const int line = lineHeight();
        const int spare = inside >= line ? inside % line : 0;
        if (viewportMargins().bottom() != spare)
            setViewportMargins(0, 0, 0, spare);
    }

protected:
    void resizeEvent(QResizeEvent* event) override {
        fitWholeLines();
        QListWidget::resizeEvent(event);
    }

private:
    int lineHeight_ = 1;
};

// The header's headings, parted by two or more blanks, each moved to where
// its column begins; a header with another number of headings than there
// are columns is shown as it is.
QString alignHeadings(const QString& header, const std::vector<int>& columns) {
    static const QRegularExpression gap(QStringLiteral(" {2,}"));
    const QStringList headings = header.trimmed().split(gap, Qt::SkipEmptyParts);
    if (columns.empty() || headings.size() != static_cast<qsizetype>(columns.size()))
        return header;
    QString aligned;
    for (qsizetype i = 0; i < headings.size(); ++i) {
        if (!aligned.isEmpty())
            aligned += ' ';
        aligned = aligned.leftJustified(columns[static_cast<std::size_t>(i)], ' ') + headings[i];
    }
    return aligned;
}

class ListView : public ControlView {
public:
    ListView(const ListSpec& desc, WholeLineList* list, QLabel* header)
        : desc_(desc), list_(list), header_(header) {}

    void refresh(const Form& form) override {
        QStringList lines;
        for (const auto& line : form.list(desc_.name))
            lines << qs(line);
        QStringList shown;
        for (int i = 0; i < list_->count(); ++i)
            shown << list_->item(i)->text();
        if (shown != lines) {
            list_->clear();
            list_->addItems(lines);
        }
        if (header_) {
            header_->setText(alignHeadings(qs(form.text(desc_.headerName)), desc_.headerColumns));
            showFlags(header_, form, desc_.headerName);
        }
        const QString name = spokenName();
        if (list_->accessibleName() != name)
            list_->setAccessibleName(name);
    }

    // A screen reader names the list by its own name, or by the words of the
    // header shown above it (read without the blanks that line them up).
    QString spokenName() const {
        if (!desc_.accessibleName.empty())
            return qs(desc_.accessibleName);
        if (header_ && !header_->text().trimmed().isEmpty())
            return header_->text().simplified();
        return QStringLiteral("Results");
    }

private:
    ListSpec desc_;
    WholeLineList* list_;
    QLabel* header_;
};

// Lines as plain text, one a line, blanks kept so that columns line up in a
// fixed-pitch editor.
QString linesText(const QList<QListWidgetItem*>& items) {
    QStringList lines;
    for (const QListWidgetItem* item : items)
        lines << item->text();
    return lines.join('\n');
}

// Ctrl+C copies the selected lines (in list order); the context menu also
// offers every line.
void offerCopy(QListWidget* list) {
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* copy = new QAction(QObject::tr("Copy"), list);
    copy->setObjectName(list->objectName() + "Copy");
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    QObject::connect(copy, &QAction::triggered, list, [list] {
        QList<QListWidgetItem*> selected;
        for (int i = 0; i < list->count(); ++i)
            if (list->item(i)->isSelected())
                selected << list->item(i);
        if (!selected.isEmpty())
            QApplication::clipboard()->setText(linesText(selected));
    });
    auto* copyAll = new QAction(QObject::tr("Copy All"), list);
    copyAll->setObjectName(list->objectName() + "CopyAll");
    QObject::connect(copyAll, &QAction::triggered, list, [list] {
        QList<QListWidgetItem*> all;
        for (int i = 0; i < list->count(); ++i)
            all << list->item(i);
        QApplication::clipboard()->setText(linesText(all));
    });
    list->addAction(copy);
    list->addAction(copyAll);
}

} // namespace

void buildControl(const ListSpec& desc, Builder& b) {
    QLabel* header = nullptr;
    if (!desc.headerName.empty()) {
        header = new QLabel(qs(desc.header), b.owner);
        header->setObjectName(qs(desc.headerName));
        header->setFont(fixedPitchFont());
        header->setTextFormat(Qt::PlainText);
        b.place.wide(header);
    }
    auto* list = new WholeLineList(b.owner);
    list->setObjectName(qs(desc.name));
    list->setFont(fixedPitchFont());
    list->setUniformItemSizes(true);
    list->measure();
    // The header's first character stands over the lines' first character:
    // the list's frame and the margin the style leaves before an item's text.
    if (header)
        header->setIndent(list->frameWidth() +
                          list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) +
                          1);
    offerCopy(list);
    // Room for every line of a result, without scrolling.
    list->setMinimumHeight(list->heightFor(std::max(3, desc.visibleLines)));
    if (desc.visibleColumns > 0)
        list->setMinimumWidth(
            list->fontMetrics().horizontalAdvance(QString(desc.visibleColumns, 'M')) +
            2 * list->frameWidth() + 24);
    b.place.wide(list, 1);
    b.add<ListView>(desc, list, header)->refresh(b.host.form());
}

} // namespace ferrovane
