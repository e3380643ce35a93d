#include <QGridLayout>
#include <QGroupBox>
#include <QScrollArea>

#include "ui/controls/control.h"

namespace ferrovane {

namespace {

// A frame shows and hides with everything in it. With a caption it is a
// group box; without one a plain column or row.
class FrameView : public ControlView {
public:
    FrameView(std::string name, QWidget* frame, QWidget* outer)
        : name_(std::move(name)), frame_(frame), outer_(outer) {}

    void refresh(const Form& form) override {
        if (auto* box = qobject_cast<QGroupBox*>(frame_))
            box->setTitle(qs(form.text(name_)));
        frame_->setEnabled(form.enabled(name_));
        outer_->setVisible(form.visible(name_));
    }

private:
    std::string name_;
    QWidget* frame_;
    QWidget* outer_; // the scroll area around the frame, or the frame
};

} // namespace

void buildControl(const FrameSpec& desc, Builder& b) {
    QScrollArea* scroll = nullptr;
    QWidget* owner = b.owner;
    if (desc.scrolls) {
        scroll = new QScrollArea(b.owner);
        scroll->setObjectName(qs(desc.name + "Scroll"));
        scroll->setWidgetResizable(true);
        scroll->setFrameShape(QFrame::NoFrame);
        // Tab goes to the boxes inside, and the area scrolls to each; the
        // area itself is no stop of its own.
        scroll->setFocusPolicy(Qt::NoFocus);
        owner = scroll;
    }
    QWidget* frame =
        desc.caption.empty() ? new QWidget(owner) : new QGroupBox(qs(desc.caption), owner);
    frame->setObjectName(qs(desc.name));
    auto* grid = new QGridLayout(frame);
    if (desc.caption.empty())
        grid->setContentsMargins(0, 0, 0, 0);
    LinePlace place(grid, desc.direction);
    Builder inner = b.into(frame, place);
    inner.build(desc.children);
    // Boxes keep their width; what is left over goes after the last one.
    if (desc.direction == Direction::Horizontal)
        grid->setColumnStretch(grid->columnCount(), 1);
    else
        grid->setColumnStretch(2, 1);
    if (scroll)
        scroll->setWidget(frame);
    b.place.wide(scroll ? static_cast<QWidget*>(scroll) : frame,
                 scroll || growsTaller(desc.children) ? 1 : 0);
    b.add<FrameView>(desc.name, frame, scroll ? static_cast<QWidget*>(scroll) : frame)
        ->refresh(b.host.form());
}

} // namespace ferrovane
