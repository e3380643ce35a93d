#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

#include "ui/controls/control.h"

namespace ferrovane {

namespace {

class ComboView : public ControlView {
public:
    ComboView(const ComboSpec& desc, QComboBox* combo, QLabel* label, QLabel* unit)
        : desc_(desc), combo_(combo), label_(label), unit_(unit) {}

    void refresh(const Form& form) override {
        const QString text = qs(form.text(desc_.name));
        if (combo_->currentText() != text) {
            // Showing the form is not choosing: no handler runs for it.
            const QSignalBlocker quiet(combo_);
            const int index = combo_->findText(text, Qt::MatchExactly);
            if (index >= 0)
                combo_->setCurrentIndex(index);
            else if (combo_->isEditable())
                combo_->setEditText(text);
            else
                combo_->setCurrentIndex(-1); // a text not in the list shows nothing
        }
        showFlags(combo_, form, desc_.name);
        for (QLabel* l : {label_, unit_})
            if (l)
                l->setVisible(form.visible(desc_.name));
    }

private:
    ComboSpec desc_;
    QComboBox* combo_;
    QLabel* label_;
    QLabel* unit_;
};

QLabel* makeLabel(const std::string& text, QWidget* owner) {
    if (text.empty())
        return nullptr;
    auto* label = new QLabel(qs(text), owner);
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

void buildControl(const ComboSpec& desc, Builder& b) {
    QLabel* label = makeLabel(desc.label, b.owner);
    auto* combo = new QComboBox(b.owner);
    combo->setObjectName(qs(desc.name));
    combo->setEditable(desc.editable);
    combo->setInsertPolicy(QComboBox::NoInsert);
    for (const std::string& item : desc.items)
        combo->addItem(qs(item));
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    combo->setMinimumWidth(engBoxWidth(combo));
    QString accessible = qs(desc.label);
    if (accessible.isEmpty())
        accessible = b.place.context();
    combo->setAccessibleName(accessible.isEmpty() ? qs(desc.name) : accessible);
    // The text box of an editable drop-down is read by the same name.
    if (QLineEdit* edit = combo->lineEdit())
        edit->setAccessibleName(combo->accessibleName());
    if (label)
        label->setBuddy(combo);
    QLabel* unit = makeLabel(desc.unit, b.owner);
    b.place.row(label, combo, unit);
    auto* view = b.add<ComboView>(desc, combo, label, unit);
    view->refresh(b.host.form());
    // However the text changes (chosen, typed, set by a screen reader) the
    // handler runs once.
    const std::string name = desc.name;
    ControlHost& host = b.host;
    QObject::connect(combo, &QComboBox::currentTextChanged, combo,
                     [&host, name](const QString& text) {
                         if (qs(host.form().text(name)) == text)
                             return;
                         host.act([&](const Calculator& c, Form& f, CalcEnv& e) {
                             chooseCombo(c, f, e, name, text.toStdString());
                         });
                     });
}

} // namespace ferrovane
