#include <QFile>
#include <QMessageBox>

#include "ui/controls/control.h"
#include "ui/drawing_view.h"
#include "ui/save_prompt.h"

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

void buildControl(const DrawingSpec& desc, Builder& b) {
    auto* view = new DrawingView(b.owner);
    view->setObjectName(qs(desc.name));
    view->setAccessibleName(qs(desc.description.empty() ? desc.name : desc.description));
    view->setDescription(qs(desc.description));
    ControlHost& host = b.host;
    std::vector<DrawingView::MenuEntry> entries;
    for (const DrawingExport& e : desc.exports) {
        entries.emplace_back(qs(e.caption), [&host, e, view] {
            const QString path = askSaveFile(view, qs(e.caption), qs(e.filter));
            if (path.isEmpty())
                return;
            exportDrawing(host, e, path);
        });
    }
    view->setMenuEntries(std::move(entries));
    if (desc.pointerText)
        view->setPointerText([&host, text = desc.pointerText](double x, double y) {
            const auto shown = text(host.form(), x, y);
            return shown ? qs(*shown) : QString();
        });
    b.place.wide(view, 1);
    b.add<DrawingControl>(desc.name, view)->refresh(b.host.form());
}

bool exportDrawing(ControlHost& host, const DrawingExport& e, const QString& path) {
    std::string text;
    const Form form = host.form(); // the work runs off the window's thread
    if (!host.environment().runLong(e.caption,
                                    [&](Progress& progress) { text = e.text(form, progress); }))
        return false;
    QFile file(path);
    if (text.empty() || !file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(text.data(), static_cast<qint64>(text.size())) !=
            static_cast<qint64>(text.size())) {
        host.environment().dialogs.say("Nothing could be saved in \"" + path.toStdString() + "\".",
                                       MessageIcon::Exclamation);
        return false;
    }
    return true;
}

} // namespace ferrovane
