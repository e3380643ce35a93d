#include "ui/save_prompt.h"

#include <QFileDialog>

namespace ferrovane {

namespace {

SaveFilePrompt& prompt() {
    static SaveFilePrompt p;
    return p;
}

} // namespace

QString askSaveFile(QWidget* parent, const QString& title, const QString& filter) {
    if (prompt())
        return prompt()(parent, title, filter);
    return QFileDialog::getSaveFileName(parent, title, QString(), filter);
}

void setSaveFilePrompt(SaveFilePrompt p) {
    prompt() = std::move(p);
}

} // namespace ferrovane
