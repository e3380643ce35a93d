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

QPlainTextEdit* makeHelpBox(const HelpBoxSpec& spec, Builder& b) {
    auto* help = new QPlainTextEdit(b.owner);
    help->setObjectName(qs(spec.name));
    help->setAccessibleName("Help");
    help->setReadOnly(true);
    help->setFocusPolicy(Qt::NoFocus);
    help->setFixedHeight(help->fontMetrics().lineSpacing() * spec.lines + 10);
    b.add<HelpBoxView>(spec.name, help);
    return help;
}

void buildControl(const HelpBoxSpec& spec, Builder& b) {
    // The box of mouse-over help sits with the buttons it describes.
    if (const auto& hover = b.host.calculator().form.hoverHelp; hover && hover->box == spec.name)
        return;
    b.place.wide(makeHelpBox(spec, b));
}

} // namespace ferrovane
