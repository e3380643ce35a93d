// Walks over all twenty calculator windows: what every window must do on
// any desktop, whatever its fonts.
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QProcess>
#include <cstdio>
#include <gtest/gtest.h>

#include "calculators/catalogue.h"
#include "ui_support.h"

namespace ferrovane {
namespace {

using namespace testing;

// Opens each calculator's window in turn from its button and hands it over.
void forEveryWindow(const std::function<void(const Calculator&, CalculatorWindow&)>& check) {
    App app;
    for (const CatalogueEntry& entry : catalogue()) {
        SCOPED_TRACE(entry.id);
        CalculatorWindow* w = app.open(entry.button.c_str());
        ASSERT_NE(w, nullptr);
        check(entry.calculator(), *w);
        w->closeAndSave();
        settle();
    }
}

// The labels a calculator wants lined up as columns of text.
std::vector<std::string> fixedPitchLabels(const Calculator& calc) {
    std::vector<std::string> names;
    forEachControl(calc.form, [&names](const ControlSpec& c) {
        if (const auto* b = std::get_if<BoxSpec>(&c); b && b->fixedPitchLabel)
            names.push_back(b->labelName.empty() ? b->name + "Label" : b->labelName);
        if (const auto* l = std::get_if<LabelSpec>(&c); l && l->fixedPitch)
            names.push_back(l->name);
        if (const auto* l = std::get_if<ListSpec>(&c); l && !l->headerName.empty())
            names.push_back(l->headerName);
    });
    return names;
}

// Result lists, their headers and the labels that line up with them are
// drawn in a font that really is fixed-pitch, so the "=" signs and columns
// line up.
TEST(EveryWindow, ListsAndColumnLabelsAreFixedPitch) {
    const QFont desktop = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    std::printf("[ fonts    ] the desktop's fixed font \"%s\" is drawn in %s, %s\n",
                qPrintable(desktop.family()), qPrintable(QFontInfo(desktop).family()),
                QFontInfo(desktop).fixedPitch() ? "fixed-pitch" : "proportional");
    int checked = 0;
    forEveryWindow([&checked](const Calculator& calc, CalculatorWindow& w) {
        for (QListWidget* list : w.findChildren<QListWidget*>()) {
            EXPECT_TRUE(QFontInfo(list->font()).fixedPitch()) << list->objectName().toStdString();
            ++checked;
        }
        for (const std::string& name : fixedPitchLabels(calc)) {
            auto* label = find<QLabel>(&w, name.c_str());
            ASSERT_NE(label, nullptr) << name;
            EXPECT_TRUE(QFontInfo(label->font()).fixedPitch()) << name;
            ++checked;
        }
    });
    EXPECT_GT(checked, 20);
}

// The same under a font configuration that knows no "monospace": the
// desktop's fixed font then falls to the first face found, which need not
// be fixed-pitch. The walk above runs in a process of its own there.
TEST(EveryWindow, ListsStayFixedPitchWhereMonospaceIsUnknown) {
    TempDir tmp;
    tmp.write("fonts.conf", "<?xml version=\"1.0\"?>\n"
                            "<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n"
                            "<fontconfig>\n"
                            "  <dir>/usr/share/fonts</dir>\n"
                            "  <dir>/usr/local/share/fonts</dir>\n"
                            "  <cachedir>" +
                                (tmp.path() / "cache").string() +
                                "</cachedir>\n"
                                "</fontconfig>\n");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("FONTCONFIG_FILE", QString::fromStdString((tmp.path() / "fonts.conf").string()));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {"--gtest_filter=EveryWindow.ListsAndColumnLabelsAreFixedPitch"});
    ASSERT_TRUE(child.waitForFinished(120000));
    const QString out = QString::fromLocal8Bit(child.readAll());
    std::printf("%s\n", qPrintable(out.split('\n').filter("[ fonts    ]").join('\n')));
    EXPECT_EQ(child.exitCode(), 0) << out.toStdString();
    EXPECT_TRUE(out.contains("[  PASSED  ] 1 test")) << out.toStdString();
}

} // namespace
} // namespace ferrovane
