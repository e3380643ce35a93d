#include <QLabel>

#include "ui/controls/control.h"

namespace ferrovane {

namespace {

class LabelView : public ControlView {
public:
    LabelView(std::string name, QLabel* label) : name_(std::move(name)), label_(label) {}

    void refresh(const Form& form) override {
        label_->setText(qs(form.text(name_)));
        showFlags(label_, form, name_);
    }

private:
    std::string name_;
    QLabel* label_;
};

} // namespace

void buildControl(const LabelSpec& desc, Builder& b) {
    auto* label = new QLabel(qs(desc.text), b.owner);
    label->setObjectName(qs(desc.name));
    label->setTextFormat(Qt::PlainText);
    if (desc.fixedPitch)
        label->setFont(fixedPitchFont());
    else
        label->setWordWrap(true);
    b.place.wide(label);
    b.add<LabelView>(desc.name, label);
}

} // namespace ferrovane
