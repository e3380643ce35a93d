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
// content streams decoded through the ToUnicode ranges of the font each
// piece of text is set in (Qt names a font after its object, "/F7").
inline QString pdfText(const std::filesystem::path& path) {
    QFile file(QString::fromStdString(path.string()));
    if (!file.open(QIODevice::ReadOnly))
        return "<unreadable>";
    const QString pdf = QString::fromLatin1(file.readAll());
    // Every stream by the number of its object, in the file's order.
    std::vector<std::pair<uint, QString>> streams;
    static const QRegularExpression streamRe("(\\d+) 0 obj((?:(?!endobj).)*?)stream\\r?\\n",
                                             QRegularExpression::DotMatchesEverythingOption);
    for (auto it = streamRe.globalMatch(pdf); it.hasNext();) {
        const auto m = it.next();
        const qsizetype start = m.capturedEnd();
        QByteArray body = pdf.mid(start, pdf.indexOf("endstream", start) - start).toLatin1();
        // qUncompress wants the expected size first, big-endian; a guess will do.
        if (m.captured(2).contains("/FlateDecode"))
            body = qUncompress(QByteArray::fromHex("01000000") + body);
        streams.emplace_back(m.captured(1).toUInt(), QString::fromLatin1(body));
    }
    auto number = [](const QString& hex) { return hex.toUInt(nullptr, 16); };
    static const QRegularExpression hexRe("<([0-9A-Fa-f]+)>"),
        rangeRe("<([0-9A-Fa-f]+)>\\s*<([0-9A-Fa-f]+)>\\s*(\\[[^\\]]*\\]|<[0-9A-Fa-f]+>)"),
        fontRe("(\\d+) 0 obj\\s*<<[^>]*/Type /Font[^>]*/ToUnicode (\\d+) 0 R");
    // Each font's glyphs, by the number of the font's object.
    std::map<uint, std::map<uint, QChar>> fonts;
    for (auto font = fontRe.globalMatch(pdf); font.hasNext();) {
        const auto f = font.next();
        std::map<uint, QChar>& toUnicode = fonts[f.captured(1).toUInt()];
        for (const auto& [object, s] : streams) {
            if (object != f.captured(2).toUInt())
                continue;
            for (auto it = rangeRe.globalMatch(s); it.hasNext();) {
                const auto m = it.next();
                QList<uint> to;
                for (auto t = hexRe.globalMatch(m.captured(3)); t.hasNext();)
                    to << number(t.next().captured(1));
                const uint lo = number(m.captured(1));
                for (uint c = lo; c <= number(m.captured(2)); ++c)
                    toUnicode[c] = QChar(to.size() == 1 ? to[0] + (c - lo) : to.value(c - lo));
            }
        }
    }
    // The pieces of text in order, each read through the font last chosen.
    static const QRegularExpression pieceRe("/F(\\d+)\\s+[-\\d.]+\\s+Tf|<([0-9A-Fa-f]+)>");
    QString shown;
    for (const auto& [object, s] : streams) {
        if (s.contains("begincmap") || !(s.contains("Tj") || s.contains("TJ")))
            continue;
        const std::map<uint, QChar>* font = nullptr;
        for (auto it = pieceRe.globalMatch(s); it.hasNext();) {
            const auto m = it.next();
            if (!m.captured(1).isEmpty()) {
                const auto f = fonts.find(m.captured(1).toUInt());
                font = f == fonts.end() ? nullptr : &f->second;
                continue;
            }
            const QString hex = m.captured(2);
            for (int i = 0; font && i + 4 <= hex.size(); i += 4)
                if (auto c = font->find(number(hex.mid(i, 4))); c != font->end())
                    shown += c->second;
        }
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
