#include <QEvent>
#include <QLabel>

#include "ui/controls/control.h"
#include "ui/pictures.h"

namespace ferrovane {

namespace {

// A picture in the window's text colour. It is drawn only while the form
// shows it, so a window does not draw its design-time picture or a hidden
// one on opening, and again when the desktop's colours change.
class PictureLabel : public QLabel {
public:
    using QLabel::QLabel;

    void setPicture(const QString& file, bool visible) {
        file_ = file;
        setProperty("pictureFile", file);
        if (visible)
            draw();
    }

protected:
    void changeEvent(QEvent* event) override {
        QLabel::changeEvent(event);
        if (event->type() == QEvent::PaletteChange && !isHidden())
            draw();
    }

private:
    // A missing picture leaves the place empty.
    void draw() {
        const QColor ink = palette().color(QPalette::WindowText);
        const qreal ratio = devicePixelRatioF();
        if (drawn_ && file_ == drawnFile_ && ink == drawnInk_ && ratio == drawnRatio_)
            return;
        const QPixmap pixmap = picturePixmap(file_, ratio, ink);
        if (pixmap.isNull())
            clear();
        else
            setPixmap(pixmap);
        drawn_ = true;
        drawnFile_ = file_;
        drawnInk_ = ink;
        drawnRatio_ = ratio;
    }

    QString file_;
    bool drawn_ = false;
    QString drawnFile_;
    QColor drawnInk_;
    qreal drawnRatio_ = 0;
};

// The form holds the picture's name; a new name shows the new picture.
class PictureView : public ControlView {
public:
    PictureView(std::string name, PictureLabel* label) : name_(std::move(name)), label_(label) {}

    void refresh(const Form& form) override {
        showFlags(label_, form, name_);
        label_->setPicture(qs(form.text(name_)), form.visible(name_));
    }

private:
    std::string name_;
    PictureLabel* label_;
};

} // namespace

void buildControl(const PictureSpec& desc, Builder& b) {
    auto* label = new PictureLabel(b.owner);
    label->setObjectName(qs(desc.name));
    label->setAccessibleName(qs(desc.description));
    label->setAlignment(Qt::AlignCenter);
    b.place.wide(label);
    b.add<PictureView>(desc.name, label);
}

} // namespace ferrovane
