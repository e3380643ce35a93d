#include <QPushButton>

#include "ui/controls/control.h"

namespace ferrovane {

namespace {

class ButtonView : public ControlView {
public:
    ButtonView(std::string name, QPushButton* button) : name_(std::move(name)), button_(button) {}

    void refresh(const Form& form) override {
        button_->setText(qs(form.text(name_)));
        showFlags(button_, form, name_);
    }

private:
    std::string name_;
    QPushButton* button_;
};

} // namespace

QPushButton* makeButton(const ButtonSpec& desc, Builder& b) {
    auto* button = new QPushButton(qs(desc.caption), b.owner);
    button->setObjectName(qs(desc.name));
    button->setAutoDefault(false);
    b.host.watch(button);
    const std::string name = desc.name;
    ControlHost& host = b.host;
    QObject::connect(button, &QPushButton::clicked, button, [&host, name] { host.press(name); });
    b.add<ButtonView>(desc.name, button);
    return button;
}

void buildControl(const ButtonSpec& desc, Builder& b) {
    QPushButton* button = makeButton(desc, b);
    button->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    b.place.wide(button);
}

} // namespace ferrovane
