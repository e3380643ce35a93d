#include "ui/controls/control.h"
#include "ui/drawing_view.h"

namespace ferrovane {

namespace {

class DrawingControl : public ControlView {
public:
    DrawingControl(std::string name, DrawingView* view) : name_(std::move(name)), view_(view) {}

    void refresh(const Form& form) override {
        view_->setDrawing(form.drawing(name_));
        showFlags(view_, form, name_);
    }

private:
    std::string name_;
    DrawingView* view_;
};

} // namespace

void buildControl(const DrawingSpec& spec, Builder& b) {
    auto* view = new DrawingView(b.owner);
    view->setObjectName(qs(spec.name));
    view->setAccessibleName(qs(spec.description.empty() ? spec.name : spec.description));
    view->setDescription(qs(spec.description));
    b.place.wide(view, 1);
    b.add<DrawingControl>(spec.name, view)->refresh(b.host.form());
}

} // namespace ferrovane
