#include "ui/controls/control.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QGridLayout>
#include <QLineEdit>
#include <QWidget>

namespace ferrovane {

// Side by side, each row (or frame) stands a clear gap from the one before,
// so that a unit is not read as the caption of what follows it.
void LinePlace::separate() {
    if (direction_ != Direction::Horizontal || next_ == 0)
        return;
    const QWidget* owner = grid_->parentWidget();
    grid_->setColumnMinimumWidth(next_, owner ? 2 * owner->fontMetrics().averageCharWidth() : 12);
    ++next_;
}

void LinePlace::row(QWidget* label, QWidget* field, QWidget* unit) {
    separate();
    const int r = direction_ == Direction::Vertical ? next_ : 0;
    const int c = direction_ == Direction::Vertical ? 0 : next_;
    QWidget* cells[] = {label, field, unit};
    for (int i = 0; i < 3; ++i)
        if (cells[i])
            grid_->addWidget(cells[i], r, c + i);
    next_ += direction_ == Direction::Vertical ? 1 : 3;
}

void LinePlace::wide(QWidget* widget, int stretch) {
    separate();
    // The stretch goes with the widget rather than its row or column, so
    // that a hidden widget leaves no room behind for the others.
    QSizePolicy policy = widget->sizePolicy();
    if (direction_ == Direction::Vertical) {
        grid_->addWidget(widget, next_, 0, 1, 3);
        policy.setVerticalStretch(stretch);
    } else {
        grid_->addWidget(widget, 0, next_);
        policy.setHorizontalStretch(stretch);
    }
    widget->setSizePolicy(policy);
    ++next_;
}

void Builder::build(const ControlSpec& control) {
    std::visit(
        [this](const auto& desc) {
            using T = std::decay_t<decltype(desc)>;
            if constexpr (std::is_same_v<T, std::shared_ptr<FrameSpec>> ||
                          std::is_same_v<T, std::shared_ptr<GridSpec>>)
                buildControl(*desc, *this);
            else
                buildControl(desc, *this);
        },
        control);
}

void showFlags(QWidget* widget, const Form& form, const std::string& name) {
    widget->setEnabled(form.enabled(name));
    // Hidden stays hidden; shown follows the parent when the window shows.
    widget->setVisible(form.visible(name));
}

bool growsTaller(const std::vector<ControlSpec>& controls, bool countLists) {
    for (const ControlSpec& c : controls) {
        if ((countLists && std::holds_alternative<ListSpec>(c)) ||
            std::holds_alternative<DrawingSpec>(c))
            return true;
        if (const auto* f = std::get_if<std::shared_ptr<FrameSpec>>(&c))
            if ((*f)->scrolls || growsTaller((*f)->children, countLists))
                return true;
        if (const auto* g = std::get_if<std::shared_ptr<GridSpec>>(&c))
            if (growsTaller((*g)->cells, countLists))
                return true;
    }
    return false;
}

QFont fixedPitchFont() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    // The desktop's fixed font is usually a generic name ("monospace") that
    // the font configuration resolves. Where that resolves to a proportional
    // face, the first installed family that really is fixed-pitch stands in,
    // at the desktop's size; found once, since the fonts do not change.
    static const QString standIn = [&font] {
        if (QFontInfo(font).fixedPitch())
            return QString();
        for (const QString& family : QFontDatabase::families()) {
            QFont candidate = font;
            candidate.setFamilies({family});
            if (QFontDatabase::isFixedPitch(family) && QFontInfo(candidate).fixedPitch())
                return family;
        }
        return QString();
    }();
    if (!standIn.isEmpty())
        font.setFamilies({standIn});
    return font;
}

int engBoxWidth(const QWidget* box) {
    // Eleven characters of the widest digits, a blank either side, and the
    // box's frame and text margins.
    return box->fontMetrics().horizontalAdvance(QStringLiteral(" -000.0e-15 ")) + 16;
}

} // namespace ferrovane
