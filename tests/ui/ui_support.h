#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QEnterEvent>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <map>

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

inline QStringList lines(QWidget* w, const char* list) {
    QStringList out;
    if (auto* l = find<QListWidget>(w, list))
        for (int i = 0; i < l->count(); ++i)
            out << l->item(i)->text();
    return out;
}

// The text a PDF file written by Qt shows, blanks and tabs removed: its
// content streams decoded through the fonts' ToUnicode ranges.
inline QString pdfText(const std::filesystem::path& path) {
    QFile file(QString::fromStdString(path.string()));
    if (!file.open(QIODevice::ReadOnly))
        return "<unreadable>";
    const QByteArray pdf = file.readAll();
    QStringList streams;
    static const QRegularExpression streamRe("(?<!end)stream\\r?\\n");
    for (auto it = streamRe.globalMatch(QString::fromLatin1(pdf)); it.hasNext();) {
        const qsizetype start = it.next().capturedEnd();
        QByteArray body = pdf.mid(start, pdf.indexOf("endstream", start) - start);
        const qsizetype object = pdf.lastIndexOf(" obj", start);
        // qUncompress wants the expected size first, big-endian; a guess will do.
        if (pdf.mid(object, start - object).contains("/FlateDecode"))
            body = qUncompress(QByteArray::fromHex("01000000") + body);
        streams << QString::fromLatin1(body);
    }
    static const QRegularExpression hexRe("<([0-9A-Fa-f]+)>"),
        rangeRe("<([0-9A-Fa-f]+)>\\s*<([0-9A-Fa-f]+)>\\s*(\\[[^\\]]*\\]|<[0-9A-Fa-f]+>)");
    auto number = [](const QString& hex) { return hex.toUInt(nullptr, 16); };
    std::map<uint, QChar> toUnicode;
    for (const QString& s : streams.filter("beginbfrange"))
        for (auto it = rangeRe.globalMatch(s); it.hasNext();) {
            const auto m = it.next();
            QList<uint> to;
            for (auto t = hexRe.globalMatch(m.captured(3)); t.hasNext();)
                to << number(t.next().captured(1));
            const uint lo = number(m.captured(1));
            for (uint c = lo; c <= number(m.captured(2)); ++c)
                toUnicode[c] = QChar(to.size() == 1 ? to[0] + (c - lo) : to.value(c - lo));
        }
    QString shown;
    for (const QString& s : streams)
        if (!s.contains("begincmap") && (s.contains("Tj") || s.contains("TJ")))
            for (auto it = hexRe.globalMatch(s); it.hasNext();) {
                const QString hex = it.next().captured(1);
                for (int i = 0; i + 4 <= hex.size(); i += 4)
                    if (auto c = toUnicode.find(number(hex.mid(i, 4))); c != toUnicode.end())
                        shown += c->second;
            }
    return shown.remove(' ').remove('\t');
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
        find<QAbstractButton>(&main, button)->click();
        settle();
        return main.openCalculatorWindow();
    }
};

// The mouse enters a widget, or moves over one (a frame) without entering a child.
inline void enter(QWidget* w) {
    QEnterEvent e(QPointF(2, 2), QPointF(2, 2), w->mapToGlobal(QPointF(2, 2)));
    QCoreApplication::sendEvent(w, &e);
}
inline void moveOver(QWidget* w) {
    QMouseEvent e(QEvent::MouseMove, QPointF(2, 2), w->mapToGlobal(QPointF(2, 2)), Qt::NoButton,
                  Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

// Answers the modal dialog of type T (a message box, a file or progress
// dialog) once it shows, from inside its own event loop; gives up after
// about a minute (a file dialog on a busy machine takes seconds to show).
template <typename T> void whenShown(std::function<void(T*)> answer, int tries = 3000) {
    QTimer::singleShot(20, qApp, [answer, tries] {
        if (auto* w = qobject_cast<T*>(QApplication::activeModalWidget()); w && w->isVisible())
            answer(w);
        else if (tries > 0)
            whenShown<T>(answer, tries - 1);
    });
}

// Clicks a button or option and lets what it posts run.
inline void click(QWidget* w, const char* name) {
    auto* button = find<QAbstractButton>(w, name);
    ASSERT_NE(button, nullptr) << name;
    button->click();
    settle();
}

} // namespace ferrovane::testing
