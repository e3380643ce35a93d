#include "ui/qt_dialogs.h"

#include <QMessageBox>

namespace ferrovane {

Answer QtDialogs::show(const Message& message) {
    QMessageBox box(parent_);
    box.setObjectName("MessageBox");
    box.setWindowTitle(QString::fromStdString(message.title));
    // The core joins lines with CR LF; Qt wants LF alone.
    box.setText(QString::fromStdString(message.text).replace("\r\n", "\n"));
    switch (message.icon) {
    case MessageIcon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case MessageIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MessageIcon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case MessageIcon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case MessageIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    }
    if (message.buttons == MessageButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return Answer::Ok;
}

} // namespace ferrovane
