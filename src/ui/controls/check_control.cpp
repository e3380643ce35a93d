#include <QCheckBox>

#include "ui/controls/control.h"

namespace ferrovane {

namespace {

class CheckView : public ControlView {
public:
    CheckView(std::string name, QCheckBox* check) : name_(std::move(name)), check_(check) {}

    void refresh(const Form& form) override {
        check_->setText(qs(form.text(name_)));
        check_->setChecked(form.checked(name_));
        showFlags(check_, form, name_);
    }

private:
    std::string name_;
    QCheckBox* check_;
};

} // namespace

void buildControl(const CheckSpec& desc, Builder& b) {
    auto* check = new QCheckBox(qs(desc.caption), b.owner);
    check->setObjectName(qs(desc.name));
    const std::string name = desc.name;
    ControlHost& host = b.host;
    QObject::connect(check, &QCheckBox::toggled, check, [&host, name](bool on) {
        if (host.refreshing() || host.form().checked(name) == on)
            return;
        host.act([&](const Calculator& c, Form& f, CalcEnv& e) { clickCheck(c, f, e, name, on); });
    });
    b.place.wide(check);
    b.add<CheckView>(desc.name, check);
}

} // namespace ferrovane
