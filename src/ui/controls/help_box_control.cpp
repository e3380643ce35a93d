#include <QPlainTextEdit>
#include <QResizeEvent>

#include "shell/help_texts.h"
#include "ui/controls/control.h"
#include "ui/geometry.h"

namespace ferrovane {

namespace {

// A help box is empty until the mouse or the keyboard rests on a button, so
// it shows no box of its own: its text stands on the window's background,
// and it is as tall as the longest text it may show needs at its width
// (never taller than the lines its window allows).
class HelpBox : public QPlainTextEdit {
public:
    HelpBox(QStringList texts, int maxLines, QWidget* owner)
        : QPlainTextEdit(owner), texts_(std::move(texts)), maxLines_(std::max(1, maxLines)) {
        setFrameShape(QFrame::NoFrame);
        viewport()->setBackgroundRole(QPalette::Window);
        setForegroundRole(QPalette::WindowText);
    }

    // The height that holds every text at this width.
    void fitWidth(int width) {
        const int room = std::max(1, width - 2 * static_cast<int>(document()->documentMargin()) -
                                         2 * frameWidth() - 4);
        const QFontMetrics m(font());
        // Texts the box is not told of may take every line it has.
        int lines = texts_.isEmpty() ? maxLines_ : 1;
        for (const QString& text : texts_) {
            const QRect used = m.boundingRect(QRect(0, 0, room, 1 << 20), Qt::TextWordWrap, text);
            lines = std::max(lines, (used.height() + m.lineSpacing() - 1) / m.lineSpacing());
        }
        lines = std::min(lines, maxLines_);
        // The text edit scrolls a last line that ends flush with its
        // margin: one margin more below keeps the last line in view.
        const int height = m.lineSpacing() * lines +
                           3 * static_cast<int>(document()->documentMargin()) + 2 * frameWidth();
        if (height != this->height() || minimumHeight() != height)
            setFixedHeight(height);
    }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QPlainTextEdit::resizeEvent(event);
        if (event->size().width() != event->oldSize().width())
            fitWidth(event->size().width());
    }

private:
    QStringList texts_;
    int maxLines_;
};

// Every text the window's mouse-over help may put into the box.
QStringList hoverTexts(const Calculator& calc) {
    QStringList texts;
    if (!calc.form.hoverHelp)
        return texts;
    if (calc.form.hoverHelp->sharedTexts)
        for (const char* text : {CalcHelp, CloseHelp, ClearHelp, ReloadHelp, ExampleHelp})
            texts << text;
    for (const auto& [button, text] : calc.form.hoverHelp->texts)
        texts << qs(text);
    return texts;
}

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
    const Calculator& calc = b.host.calculator();
    auto* help = new HelpBox(hoverTexts(calc), desc.lines, b.owner);
    help->setObjectName(qs(desc.name));
    help->setAccessibleName("Help");
    help->setReadOnly(true);
    help->setFocusPolicy(Qt::NoFocus);
    // Until the window is laid out, as wide as the window's design.
    help->fitWidth(twipsToPixels(calc.form.widthTwips) - 2 * help->fontMetrics().height());
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
