#include <QAbstractButton>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <map>

#include "ui_support.h"

namespace ferrovane {
namespace {

using testing::App;
using testing::boxText;
using testing::click;
using testing::find;
using testing::lines;
using testing::shown;
using testing::type;

bool enabled(QWidget* w, const char* name) {
    QWidget* c = find(w, name);
    EXPECT_NE(c, nullptr) << name;
    return c && c->isEnabled();
}

QStringList rows(QWidget* w) {
    QStringList out;
    for (auto* l = find<QListWidget>(w, "LstTracking"); l && out.size() < l->count();)
        out << l->item(static_cast<int>(out.size()))->text();
    return out;
}

// The text of a PDF that Qt wrote, blanks left out (they may come back as
// tabs or not at all). Its streams are deflated; its text is drawn as hex
// glyph numbers that each font's ToUnicode ranges, "<lo> <hi> <first>" or
// "<lo> <hi> [<a> <b> ...]", turn back into characters.
QString pdfText(const QByteArray& pdf) {
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

TEST(TrackingWindow, ModesEnableTheCoilBoxesAndShowTheirPictures) {
    App app;
    CalculatorWindow* w = app.open("CmdTrack");
    ASSERT_NE(w, nullptr);
    auto* picture = find<QLabel>(w, "Image1");
    ASSERT_NE(picture, nullptr);
    EXPECT_FALSE(picture->pixmap().isNull());
    for (auto [mode, coils, file] : {std::tuple{"OpLandC", false, "L and C.GIF"},
                                     std::tuple{"OpCandC1", true, "C and C-1.GIF"}}) {
        find<QAbstractButton>(w, mode)->click();
        for (const char* name : {"TxtLRF", "TxtLOsc", "CmdRecL"})
            EXPECT_EQ(enabled(w, name), coils) << mode << " " << name;
        EXPECT_EQ(picture->property("pictureFile").toString(), file);
    }
    find<QAbstractButton>(w, "CmdClr")->click();
    EXPECT_TRUE(picture->isHidden());
}

TEST(TrackingWindow, PrintWaitsForACalculateAndTheButtonsComeBackAfterAMessage) {
    App app;
    CalculatorWindow* w = app.open("CmdTrack");
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(enabled(w, "CmdPrint"));
    auto* low = find<QLineEdit>(w, "TxtFLo");
    ASSERT_NE(low, nullptr);
    low->selectAll();
    QTest::keyClicks(low, "5000");
    find<QAbstractButton>(w, "CmdCalc")->click();
    EXPECT_EQ(app.dialogs.texts(),
              std::vector<std::string>{"High End of Band MUST\r\nbe higher than Low End."});
    for (const char* name : {"CmdCalc", "CmdClr", "CmdLoadData", "CmdRecL"})
        EXPECT_TRUE(enabled(w, name)) << name;
    EXPECT_FALSE(enabled(w, "CmdPrint"));
    low->selectAll();
    QTest::keyClicks(low, "3500");
    find<QAbstractButton>(w, "CmdCalc")->click();
    EXPECT_TRUE(enabled(w, "CmdPrint"));
    EXPECT_EQ(rows(w).size(), 11);
}

TEST(TrackingWindow, PrintsToAPdfFile) {
    App app;
    CalculatorWindow* w = app.open("CmdTrack");
    ASSERT_NE(w, nullptr);
    const QString pdf = QString::fromStdString((app.tmp.path() / "track.pdf").string());
    w->printer().setOutputFile(pdf);
    find<QAbstractButton>(w, "CmdCalc")->click();
    const QStringList table = rows(w);
    find<QAbstractButton>(w, "CmdPrint")->click();
    EXPECT_EQ(rows(w), table); // the lists keep their contents
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = pdfText(file.readAll());
    EXPECT_TRUE(text.contains("RFCoil=17Microhenrys")) << text.left(200).toStdString();
    ASSERT_EQ(table.size(), 11);
    for (QString row : table)
        EXPECT_TRUE(text.contains(row.remove(' '))) << row.toStdString();
    EXPECT_TRUE(app.dialogs.shown.empty());
}

} // namespace
} // namespace ferrovane
