#include <QBoxLayout>
#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>

#include "ui/controls/control.h"

namespace ferrovane {

namespace {

class GroupView : public ControlView {
public:
    GroupView(const GroupSpec& desc, QGroupBox* box, QButtonGroup* buttons,
              std::vector<QRadioButton*> radios)
        : desc_(desc), box_(box), buttons_(buttons), radios_(std::move(radios)) {}

    void refresh(const Form& form) override {
        box_->setTitle(qs(form.text(desc_.name)));
        showFlags(box_, form, desc_.name);
        const int selected = form.option(desc_.name);
        // None selected: a plain exclusive group cannot show that.
        buttons_->setExclusive(false);
        for (std::size_t i = 0; i < radios_.size(); ++i) {
            const std::string& option = desc_.options[i].first;
            radios_[i]->setText(qs(form.text(option)));
            radios_[i]->setChecked(static_cast<int>(i) + 1 == selected);
            showFlags(radios_[i], form, option);
        }
        buttons_->setExclusive(true);
    }

private:
    GroupSpec desc_;
    QGroupBox* box_;
    QButtonGroup* buttons_;
    std::vector<QRadioButton*> radios_;
};

} // namespace

void buildControl(const GroupSpec& desc, Builder& b) {
    auto* box = new QGroupBox(qs(desc.caption), b.owner);
    box->setObjectName(qs(desc.name));
    box->setFlat(desc.caption.empty());
    QBoxLayout* layout =
        desc.horizontal ? static_cast<QBoxLayout*>(new QHBoxLayout(box)) : new QVBoxLayout(box);
    auto* buttons = new QButtonGroup(box);
    std::vector<QRadioButton*> radios;
    for (const auto& [name, caption] : desc.options) {
        auto* radio = new QRadioButton(qs(caption), box);
        radio->setObjectName(qs(name));
        buttons->addButton(radio);
        layout->addWidget(radio);
        radios.push_back(radio);
        const std::string option = name;
        ControlHost& host = b.host;
        // Selected by a click, the keyboard or assistive technology: the
        // option's rule runs once; the window's own refresh runs none.
        QObject::connect(radio, &QRadioButton::toggled, radio, [&host, option](bool on) {
            if (!on || host.refreshing() || host.form().selected(option))
                return;
            host.act([&](const Calculator& c, Form& f, CalcEnv& e) {
                runGuarded(c, f, e, [&](Form& g, CalcEnv& h) { selectOption(c, g, h, option); });
            });
        });
    }
    if (desc.horizontal)
        layout->addStretch(1);
    b.place.wide(box);
    b.add<GroupView>(desc, box, buttons, std::move(radios));
}

} // namespace ferrovane
