#include <QLabel>
#include <QLineEdit>

#include "ui/controls/control.h"

namespace ferrovane {

namespace {

// Label, box and unit. The label and unit keep their own flags when the
// calculator names them; otherwise they come and go with their box.
class BoxView : public ControlView {
public:
    BoxView(const BoxSpec& spec, QLineEdit* edit, QLabel* label, QLabel* unit)
        : spec_(spec), edit_(edit), label_(label), unit_(unit),
          designName_(edit->accessibleName()) {}

    void refresh(const Form& form) override {
        const QString text = qs(form.text(spec_.name));
        if (edit_->text() != text)
            edit_->setText(text);
        edit_->setReadOnly(form.locked(spec_.name));
        showFlags(edit_, form, spec_.name);
        refreshLabel(form, label_, spec_.labelName);
        refreshLabel(form, unit_, spec_.unitName);
        // A screen reader names the box by the label the user sees now.
        if (label_ && !spec_.labelName.empty() && spec_.accessibleName.empty())
            edit_->setAccessibleName(label_->text().isEmpty() ? designName_ : label_->text());
    }

private:
    void refreshLabel(const Form& form, QLabel* label, const std::string& name) {
        if (!label)
            return;
        if (name.empty()) {
            label->setVisible(form.visible(spec_.name));
            return;
        }
        label->setText(qs(form.text(name)));
        showFlags(label, form, name);
    }

    BoxSpec spec_;
    QLineEdit* edit_;
    QLabel* label_;
    QLabel* unit_;
    QString designName_;
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

void buildControl(const BoxSpec& spec, Builder& b) {
    QLabel* label = makeLabel(spec.label, spec.labelName, spec.name + "Label", b.owner);
    auto* edit = new QLineEdit(b.owner);
    edit->setObjectName(qs(spec.name));
    edit->setFixedWidth(engBoxWidth(edit));
    QLabel* unit = makeLabel(spec.unit, spec.unitName, spec.name + "Unit", b.owner);
    QString accessible = qs(spec.accessibleName);
    if (accessible.isEmpty())
        accessible = qs(spec.label);
    if (accessible.isEmpty())
        accessible = b.place.context();
    if (accessible.isEmpty())
        accessible = qs(spec.unit.empty() ? spec.name : spec.unit);
    edit->setAccessibleName(accessible);
    if (label)
        label->setBuddy(edit);
    b.host.watch(edit);
    b.place.row(label, edit, unit);
    b.add<BoxView>(spec, edit, label, unit);
    const std::string name = spec.name;
    ControlHost& host = b.host;
    QObject::connect(edit, &QLineEdit::textEdited, edit, [&host, name](const QString& text) {
        host.act([&](const Calculator& c, Form& f, CalcEnv& e) {
            editBox(c, f, e, name, text.toStdString());
        });
    });
}

} // namespace ferrovane
