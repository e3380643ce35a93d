#include <QAbstractButton>
#include <QEnterEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <map>

#include "ui_support.h"

namespace ferrovane {
namespace {

using testing::App;
using testing::find;

bool enabled(QWidget* w, const char* name) {
    QWidget* c = find(w, name);
    EXPECT_NE(c, nullptr) << name;
    return c && c->isEnabled();
}

void type(QWidget* w, const char* name, const QString& text) {
    auto* edit = find<QLineEdit>(w, name);
    ASSERT_NE(edit, nullptr) << name;
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

void enter(QWidget* w) {
    QEnterEvent e(QPointF(2, 2), QPointF(2, 2), w->mapToGlobal(QPointF(2, 2)));
    QCoreApplication::sendEvent(w, &e);
}

void click(QWidget* w, const char* name) {
    auto* b = find<QAbstractButton>(w, name);
    ASSERT_NE(b, nullptr) << name;
    b->click();
}

QStringList rows(QWidget* w, const char* list) {
    QStringList out;
    if (auto* l = find<QListWidget>(w, list))
        for (int i = 0; i < l->count(); ++i)
            out << l->item(i)->text();
    return out;
}

// The text a PDF written by Qt shows: its streams are deflated and its text
// is drawn as glyph numbers that the font's ToUnicode map turns back into
// characters. Blanks may come back as tabs or not at all, so they are left
// out.
QString pdfText(const QByteArray& pdf) {
    std::vector<QByteArray> streams;
    static const QRegularExpression streamRe("(?<!end)stream\\r?\\n");
    for (auto it = streamRe.globalMatch(QString::fromLatin1(pdf)); it.hasNext();) {
        const qsizetype start = it.next().capturedEnd();
        const QByteArray body = pdf.mid(start, pdf.indexOf("endstream", start) - start);
        const qsizetype object = pdf.lastIndexOf(" obj", start);
        if (!pdf.mid(object, start - object).contains("/FlateDecode")) {
            streams.push_back(body);
            continue;
        }
        // qUncompress wants the expected size first, big-endian; a guess will do.
        const QByteArray sized = QByteArray::fromHex("01000000") + body;
        streams.push_back(qUncompress(sized));
    }
    static const QRegularExpression hexRe("<([0-9A-Fa-f]+)>");
    std::map<uint, QChar> toUnicode;
    for (const QByteArray& s : streams) {
        const QString text = QString::fromLatin1(s);
        if (!text.contains("begincmap"))
            continue;
        for (const QString& section : text.split("endbf")) {
            QList<uint> codes;
            for (auto it = hexRe.globalMatch(section); it.hasNext();)
                codes << it.next().captured(1).toUInt(nullptr, 16);
            if (section.contains("beginbfchar")) {
                for (int i = 0; i + 1 < codes.size(); i += 2)
                    toUnicode[codes[i]] = QChar(codes[i + 1]);
            } else if (section.contains("beginbfrange")) {
                // Ranges with a single start: <lo> <hi> <first>, or with a
                // list of targets: <lo> <hi> [<a> <b> ...].
                const QString body = section.mid(section.indexOf("beginbfrange"));
                static const QRegularExpression rangeRe(
                    "<([0-9A-Fa-f]+)>\\s*<([0-9A-Fa-f]+)>\\s*(\\[[^\\]]*\\]|<[0-9A-Fa-f]+>)");
                for (auto it = rangeRe.globalMatch(body); it.hasNext();) {
                    const auto m = it.next();
                    const uint lo = m.captured(1).toUInt(nullptr, 16);
                    const uint hi = m.captured(2).toUInt(nullptr, 16);
                    QList<uint> targets;
                    for (auto t = hexRe.globalMatch(m.captured(3)); t.hasNext();)
                        targets << t.next().captured(1).toUInt(nullptr, 16);
                    for (uint c = lo; c <= hi; ++c)
                        toUnicode[c] =
                            QChar(targets.size() == 1 ? targets[0] + (c - lo)
                                                      : targets.value(static_cast<int>(c - lo)));
                }
            }
        }
    }
    QString shown;
    for (const QByteArray& s : streams) {
        const QString text = QString::fromLatin1(s);
        if (text.contains("begincmap") || (!text.contains("Tj") && !text.contains("TJ")))
            continue;
        for (auto it = hexRe.globalMatch(text); it.hasNext();) {
            const QString hex = it.next().captured(1);
            for (int i = 0; i + 4 <= hex.size(); i += 4)
                if (auto c = toUnicode.find(hex.mid(i, 4).toUInt(nullptr, 16));
                    c != toUnicode.end())
                    shown += c->second;
        }
    }
    return shown.remove(' ').remove('\t');
}

TEST(TrackingWindow, ModesEnableTheCoilBoxesAndShowTheirPictures) {
    App app;
    CalculatorWindow* w = app.open("CmdTrack");
    ASSERT_NE(w, nullptr);
    auto* picture = find<QLabel>(w, "Image1");
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->property("pictureFile").toString(), "C and C-2.GIF");
    EXPECT_FALSE(picture->pixmap().isNull());
    find<QRadioButton>(w, "OpLandC")->click();
    for (const char* name : {"TxtLRF", "TxtLOsc", "CmdRecL"})
        EXPECT_FALSE(enabled(w, name)) << name;
    EXPECT_EQ(picture->property("pictureFile").toString(), "L and C.GIF");
    find<QRadioButton>(w, "OpCandC1")->click();
    for (const char* name : {"TxtLRF", "TxtLOsc", "CmdRecL"})
        EXPECT_TRUE(enabled(w, name)) << name;
    EXPECT_EQ(picture->property("pictureFile").toString(), "C and C-1.GIF");
    click(w, "CmdClr");
    EXPECT_TRUE(picture->isHidden());
    enter(find(w, "CmdRecL"));
    EXPECT_EQ(find<QPlainTextEdit>(w, "Txt2QuickHelp")->toPlainText(),
              "Recommend the optimum inductor for the capacitance and frequency range you have "
              "specified.");
}

TEST(TrackingWindow, PrintWaitsForACalculateAndTheButtonsComeBackAfterAMessage) {
    App app;
    CalculatorWindow* w = app.open("CmdTrack");
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(enabled(w, "CmdPrint"));
    type(w, "TxtFLo", "5000");
    click(w, "CmdCalc");
    EXPECT_EQ(app.dialogs.texts(),
              std::vector<std::string>{"High End of Band MUST\r\nbe higher than Low End."});
    for (const char* name : {"CmdCalc", "CmdClr", "CmdLoadData", "CmdRecL"})
        EXPECT_TRUE(enabled(w, name)) << name;
    EXPECT_FALSE(enabled(w, "CmdPrint"));
    click(w, "CmdRecL");
    EXPECT_EQ(app.dialogs.shown.size(), 2u);
    type(w, "TxtFLo", "3500");
    click(w, "CmdCalc");
    EXPECT_TRUE(enabled(w, "CmdPrint"));
    EXPECT_EQ(rows(w, "LstTracking").size(), 11);
}

TEST(TrackingWindow, PrintsToAPdfFile) {
    App app;
    CalculatorWindow* w = app.open("CmdTrack");
    ASSERT_NE(w, nullptr);
    const QString pdf = QString::fromStdString((app.tmp.path() / "track.pdf").string());
    w->printer().setOutputFile(pdf);
    click(w, "CmdCalc");
    const QStringList table = rows(w, "LstTracking");
    click(w, "CmdPrint");
    EXPECT_EQ(rows(w, "LstTracking"), table); // the lists keep their contents
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF-"));
    const QString text = pdfText(bytes);
    EXPECT_TRUE(text.contains("RFCoil=17Microhenrys")) << text.left(200).toStdString();
    ASSERT_EQ(table.size(), 11);
    for (QString row : table)
        EXPECT_TRUE(text.contains(row.remove(' '))) << row.toStdString();
    EXPECT_TRUE(app.dialogs.shown.empty());
}

} // namespace
} // namespace ferrovane
