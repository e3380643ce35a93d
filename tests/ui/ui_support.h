#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QWidget>

#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"
#include "ui/main_window.h"

namespace ferrovane::testing {

template <typename T = QWidget> T* find(QWidget* root, const char* name) {
    return root ? root->findChild<T*>(QString::fromLatin1(name)) : nullptr;
}

// Types into a box as the user does: its text selected, then replaced.
inline void type(QWidget* w, const char* name, const QString& text) {
    auto* edit = find<QLineEdit>(w, name);
    ASSERT_NE(edit, nullptr) << name;
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

inline QString boxText(QWidget* w, const char* name) {
    auto* edit = find<QLineEdit>(w, name);
    return edit ? edit->text() : QString("<missing %1>").arg(name);
}

inline bool shown(QWidget* w, const char* name) {
    QWidget* widget = find(w, name);
    return widget && widget->isVisibleTo(w);
}

inline QStringList lines(QWidget* w, const char* list) {
    QStringList out;
    if (auto* l = find<QListWidget>(w, list))
        for (int i = 0; i < l->count(); ++i)
            out << l->item(i)->text();
    return out;
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

// Clicks a button or option and lets what it posts run.
inline void click(QWidget* w, const char* name) {
    auto* button = find<QAbstractButton>(w, name);
    ASSERT_NE(button, nullptr) << name;
    button->click();
    settle();
}

} // namespace ferrovane::testing
