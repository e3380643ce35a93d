#include <QAbstractButton>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <gtest/gtest.h>

#include "ui_support.h"

namespace ferrovane {
namespace {

using namespace testing;

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
