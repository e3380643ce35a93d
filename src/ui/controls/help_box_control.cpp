#include <QPlainTextEdit>

#include "ui/controls/control.h"

namespace ferrovane {

namespace {

class HelpBoxView : public ControlView {
public:
    HelpBoxView(std::string name, QPlainTextEdit* box) : name_(std::move(name)), box_(box) {}

    void refresh(const Form& form) override {
        const QString text = qs(form.text(name_));
        if (box_->toPlainText() != text)
            box_->setPlainText(text);
        showFlags(box_, form, name_);
    }

private:
    std::string name_;
    QPlainTextEdit* box_;
};

} // namespace

QPlainTextEdit* makeHelpBox(const HelpBoxSpec& desc, Builder& b) {
    auto* help = new QPlainTextEdit(b.owner);
    help->setObjectName(qs(desc.name));
    help->setAccessibleName("Help");
    help->setReadOnly(true);
    help->setFocusPolicy(Qt::NoFocus);
    help->setFixedHeight(help->fontMetrics().lineSpacing() * desc.lines + 10);
    b.add<HelpBoxView>(desc.name, help);
    return help;
}

void buildControl(const HelpBoxSpec& desc, Builder& b) {
    // The box of mouse-over help sits with the buttons it describes.
    if (const auto& hover = b.host.calculator().form.hoverHelp; hover && hover->box == desc.name)
        return;
    b.place.wide(makeHelpBox(desc, b));
}

} // namespace ferrovane
