#pragma once

#include <QPointer>
#include <QWidget>

#include "shell/dialogs.h"

namespace ferrovane {

// Messages and questions as QMessageBox, over the given window.
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    Answer show(const Message& message) override;

private:
    QPointer<QWidget> parent_;
};

} // namespace ferrovane
