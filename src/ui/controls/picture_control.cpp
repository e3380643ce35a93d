#include <QLabel>

#include "ui/controls/control.h"
#include "ui/pictures.h"

namespace ferrovane {

namespace {

// The form holds the picture's name; a new name loads the new picture. A
// picture that cannot be found leaves the place empty.
class PictureView : public ControlView {
public:
    PictureView(std::string name, QLabel* label) : name_(std::move(name)), label_(label) {}

    void refresh(const Form& form) override {
        const QString file = qs(form.text(name_));
        if (file != shown_ || !loaded_) {
            const QPixmap pixmap = picturePixmap(file, label_->devicePixelRatioF());
            if (pixmap.isNull())
                label_->clear();
            else
                label_->setPixmap(pixmap);
            label_->setProperty("pictureFile", file);
            shown_ = file;
            loaded_ = true;
        }
        showFlags(label_, form, name_);
    }

private:
    std::string name_;
    QLabel* label_;
    QString shown_;
    bool loaded_ = false;
};

} // namespace

void buildControl(const PictureSpec& desc, Builder& b) {
    auto* label = new QLabel(b.owner);
    label->setObjectName(qs(desc.name));
    label->setAccessibleName(qs(desc.description));
    label->setAlignment(Qt::AlignCenter);
    b.place.wide(label);
    auto* view = b.add<PictureView>(desc.name, label);
    view->refresh(b.host.form());
}

} // namespace ferrovane
