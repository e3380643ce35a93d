#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>
#include <QStyle>

#include "shell/box_reading.h"

#include "ui/controls/control.h"

namespace ferrovane {

namespace {

// Label, box and unit. The label and unit keep their own flags when the
// calculator names them; otherwise they come and go with their box.
class BoxView : public ControlView {
public:
    BoxView(const BoxSpec& desc, QLineEdit* edit, QLabel* label, QLabel* unit)
        : desc_(desc), edit_(edit), label_(label), unit_(unit),
          designName_(edit->accessibleName()) {}

    void refresh(const Form& form) override {
        const QString text = qs(form.text(desc_.name));
        if (edit_->text() != text)
            edit_->setText(text);
        edit_->setReadOnly(form.locked(desc_.name));
        showFlags(edit_, form, desc_.name);
        refreshLabel(form, label_, desc_.labelName);
        refreshLabel(form, unit_, desc_.unitName);
        // A screen reader names the box by the label the user sees now, or
        // by its unit when the unit is all that labels it.
        if (desc_.accessibleName.empty()) {
            QString name = designName_;
            if (label_ && !label_->text().isEmpty())
                name = label_->text();
            else if (!label_ && unit_ && !desc_.unitName.empty() && !unit_->text().isEmpty())
                name = unit_->text();
            edit_->setAccessibleName(name);
        }
        showReading(form);
    }

private:
    // The box says how it takes its text (to a screen reader, and over the box
    // where that is not a plain number); where its text holds more than its
    // rule takes, a small mark says what the reading made of it. A box the
    // user cannot type in says neither.
    void showReading(const Form& form) {
        const bool locked = form.locked(desc_.name);
        const std::optional<std::string> hint =
            locked ? std::nullopt : boxReadingHint(desc_.reading, form.text(desc_.name));
        const QString rule = locked ? QString() : qs(readingRule(desc_.reading));
        const QString description = hint ? qs(*hint) + ' ' + rule : rule;
        if (edit_->accessibleDescription() != description)
            edit_->setAccessibleDescription(description);
        QStringList tip;
        if (hint)
            tip << qs(*hint);
        if (!locked && desc_.reading != BoxReading::Number)
            tip << rule;
        if (!desc_.tooltip.empty())
            tip << qs(desc_.tooltip);
        if (edit_->toolTip() != tip.join('\n'))
            edit_->setToolTip(tip.join('\n'));
        showMark(hint ? qs(*hint) : QString());
    }

    // The mark is the line edit's own small button: named by its sentence for
    // a screen reader, and never a Tab stop (the box's description says it).
    void showMark(const QString& hint) {
        if (!hint.isEmpty() && !mark_) {
            mark_ = edit_->addAction(edit_->style()->standardIcon(QStyle::SP_MessageBoxInformation),
                                     QLineEdit::TrailingPosition);
            mark_->setObjectName(edit_->objectName() + "Hint");
        }
        if (!mark_)
            return;
        mark_->setVisible(!hint.isEmpty());
        mark_->setText(hint);
        mark_->setToolTip(hint);
        for (QObject* shown : mark_->associatedObjects())
            if (auto* button = qobject_cast<QWidget*>(shown); button && button != edit_) {
                button->setFocusPolicy(Qt::NoFocus);
                button->setAccessibleName(hint);
            }
    }

    void refreshLabel(const Form& form, QLabel* label, const std::string& name) {
        if (!label)
            return;
        if (name.empty()) {
            label->setVisible(form.visible(desc_.name));
            return;
        }
        label->setText(qs(form.text(name)));
        showFlags(label, form, name);
    }

    BoxSpec desc_;
    QLineEdit* edit_;
    QLabel* label_;
    QLabel* unit_;
    QString designName_;
    QAction* mark_ = nullptr;
};

// A label or unit is made when it has a text or a name to change it by.
QLabel* makeLabel(const std::string& text, const std::string& name, const std::string& fallback,
                  QWidget* owner) {
    if (text.empty() && name.empty())
        return nullptr;
    auto* label = new QLabel(qs(text), owner);
    label->setObjectName(qs(name.empty() ? fallback : name));
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

void buildControl(const BoxSpec& desc, Builder& b) {
    QLabel* label = makeLabel(desc.label, desc.labelName, desc.name + "Label", b.owner);
    auto* edit = new QLineEdit(b.owner);
    edit->setObjectName(qs(desc.name));
    edit->setFixedWidth(engBoxWidth(edit));
    QLabel* unit = makeLabel(desc.unit, desc.unitName, desc.name + "Unit", b.owner);
    QString accessible = qs(desc.accessibleName);
    if (accessible.isEmpty())
        accessible = qs(desc.label);
    if (accessible.isEmpty())
        accessible = b.place.context();
    if (accessible.isEmpty())
        accessible = qs(desc.unit.empty() ? desc.name : desc.unit);
    edit->setAccessibleName(accessible);
    if (label) {
        label->setBuddy(edit);
        if (desc.fixedPitchLabel)
            label->setFont(fixedPitchFont());
    }
    if (unit && !desc.tooltip.empty())
        unit->setToolTip(qs(desc.tooltip));
    b.host.watch(edit);
    b.place.row(label, edit, unit);
    b.add<BoxView>(desc, edit, label, unit);
    const std::string name = desc.name;
    ControlHost& host = b.host;
    // However the text changes (typed, pasted, set by a screen reader or a
    // test tool), the calculator takes it; the window's own refresh does not
    // count as a change.
    QObject::connect(edit, &QLineEdit::textChanged, edit, [&host, name](const QString& text) {
        if (host.refreshing() || host.form().text(name) == text.toStdString())
            return;
        host.act([&](const Calculator& c, Form& f, CalcEnv& e) {
            editBox(c, f, e, name, text.toStdString());
        });
    });
}

} // namespace ferrovane
