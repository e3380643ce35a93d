#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QTest>
#include <QWidget>

#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"
#include "ui/main_window.h"

namespace ferrovane::testing {

template <typename T = QWidget> T* find(QWidget* root, const char* name) {
    return root ? root->findChild<T*>(QString::fromLatin1(name)) : nullptr;
}

// Lets posted events (deferred deletes, timers at zero) run.
inline void settle() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

// A main window started over a fresh data directory, its messages recorded.
// Files written into tmp before start go in through prepare.
struct App {
    explicit App(void (*prepare)(const TempDir&) = nullptr) {
        if (prepare)
            prepare(tmp);
        main.start();
    }

    TempDir tmp;
    ScriptedDialogs dialogs;
    MainWindow main{DataDir(tmp.path()), &dialogs};

    CalculatorWindow* open(const char* button) {
        auto* b = find<QAbstractButton>(&main, button);
        if (!b)
            return nullptr;
        b->click();
        settle();
        return main.openCalculatorWindow();
    }
};

} // namespace ferrovane::testing
