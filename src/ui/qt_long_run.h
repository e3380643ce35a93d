#pragma once

#include <QPointer>
#include <QWidget>

#include "shell/long_run.h"

namespace ferrovane {

// Runs long work on a worker thread behind a window-modal progress dialog
// with Cancel. The window's thread keeps painting while it waits; the work
// itself never touches widgets. Cancel asks the work to stop and waits for
// it; run then returns false.
class QtLongRunHost : public LongRunHost {
public:
    explicit QtLongRunHost(QWidget* parent = nullptr) : parent_(parent) {}
    bool run(const std::string& title, const LongWork& work) override;

private:
    QPointer<QWidget> parent_;
};

} // namespace ferrovane
