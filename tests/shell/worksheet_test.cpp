#include <gtest/gtest.h>

#include <algorithm>

#include "calculators/amplifier/beta_plot.h"
#include "calculators/amplifier/tube_gain.h"
#include "calculators/matching/l_network.h"
#include "calculators/passive/volt_divider.h"
#include "shell/worksheet.h"
#include "support/test_window.h"

namespace ferrovane::testing {
namespace {

// Caption, date, each input as "label padded to a column, box as shown,
// unit", the options and checks, the list header and every result line in
// order at the end, going down the page in fixed-pitch text.
TEST(Worksheet, DividerExampleHasCaptionDateInputsOptionsAndEveryResultLine) {
    TestWindow w(voltDivider(), "CmdCalc");
    const PrintJob job = worksheetJob(*w.calc, w.form, "2026-12-06");
    const Texts lines = job.texts();
    const Texts& results = w.list("LstOutput");
    ASSERT_GE(lines.size(), results.size() + 2);
    EXPECT_EQ(Texts(lines.begin(), lines.begin() + 2), (Texts{"Voltage Divider", "2026-12-06"}));
    std::string input = "Input Voltage, Vin";
    input.resize(34, ' ');
    for (const std::string& line : {input + " " + w.form.text("TxtVin") + " Volts",
                                    std::string("[x] Use Standard Values."), w.form.text("Text16")})
        EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line;
    EXPECT_TRUE(!results.empty() &&
                std::equal(results.begin(), results.end(), lines.end() - results.size()));
    const auto& page = job.pages.front().lines;
    for (std::size_t i = 1; i < page.size(); ++i)
        EXPECT_GT(page[i].y, page[i - 1].y);
    EXPECT_TRUE(page.front().font.fixedPitch);
}

TEST(Worksheet, PictureFollowsTheTextAndHiddenBoxesAreLeftOut) {
    TestWindow w(lNetwork(), "CmdCalc");
    w.form.setVisible("TxtVc", false);
    const PrintJob job = worksheetJob(*w.calc, w.form, "today");
    ASSERT_EQ(job.pages.back().pictures.size(), 1u);
    const PrintPicture& picture = job.pages.back().pictures.front();
    EXPECT_EQ(picture.file, w.form.text("Image1"));
    EXPECT_GT(picture.y, job.pages.front().lines.back().y);
    for (const auto& line : job.texts())
        EXPECT_EQ(line.find("Collector Voltage"), std::string::npos) << line;
}

// A label the window shows on two lines reads as one, its lines joined by a
// blank; one too long for its column goes on under the label's first line,
// so that the value keeps its column.
TEST(Worksheet, LabelsOnTwoLinesAreJoinedAndTooLongOnesWrapped) {
    struct Row {
        const Calculator& (*calc)();
        const char* control;
        const char* unit;
        Texts label; // as printed: the first line and any further ones
    };
    const Row rows[] = {
        {tubeGain, "Text3", "Volts/Volt", {"Amplification Factoe, for Triodes"}},
        {tubeGain, "Combo1", "Ohms", {"Following Stage Grid Resistor, Rcf"}},
        {lNetwork, "TxtR1", "Ohms", {"Plate or Antenna, High Side", "  Resistance"}},
    };
    for (const Row& row : rows) {
        TestWindow w(row.calc());
        const Texts lines = worksheetJob(*w.calc, w.form, "today").texts();
        std::string first = row.label.front();
        first.resize(34, ' ');
        first += " " + w.form.text(row.control) + " " + row.unit;
        const auto at = std::find(lines.begin(), lines.end(), first);
        ASSERT_NE(at, lines.end()) << first;
        ASSERT_GE(lines.end() - at, static_cast<long>(row.label.size()));
        EXPECT_EQ(Texts(at + 1, at + static_cast<long>(row.label.size())),
                  Texts(row.label.begin() + 1, row.label.end()))
            << first;
    }
}

// The beta plot's worksheet holds the plot, its texts with it, across the
// page below the title and date, in the same shape as on the screen; the
// black ground goes white on paper and the white frame black.
TEST(Worksheet, HoldsTheWindowsDrawingScaledToThePageWidth) {
    TestWindow w(betaPlot());
    const Drawing& shown = w.form.drawing("Graph");
    ASSERT_FALSE(shown.texts().empty());
    const PrintJob job = worksheetJob(*w.calc, w.form, "today");
    ASSERT_EQ(job.pages.size(), 1u);
    const PrintPage& page = job.pages.front();
    EXPECT_EQ(job.texts(), (Texts{"Collector Current Versis Beta", "today"}));
    ASSERT_EQ(page.drawings.size(), 1u);
    const PrintDrawing& printed = page.drawings.front();
    EXPECT_EQ(printed.drawing.texts(), shown.texts());
    EXPECT_GT(printed.y, page.lines.back().y);
    // An A4 sheet is 11906 twips wide, a Letter sheet 12240: the drawing
    // lies between margins of at least half an inch on either.
    EXPECT_GE(printed.x, 720);
    EXPECT_LE(printed.x + printed.widthTwips, 11906 - 720);
    EXPECT_GE(printed.widthTwips, 11906 - 2 * 1440);
    EXPECT_NEAR(printed.heightTwips / printed.widthTwips, 8560.0 / 15000.0, 1e-9);
    EXPECT_LE(printed.y + printed.heightTwips, 15000);
    EXPECT_EQ(shown.background, kBlack);
    EXPECT_EQ(printed.drawing.background, kWhite);
    for (std::size_t i = 0; i < shown.items.size(); ++i) {
        const auto* line = std::get_if<LinePrimitive>(&shown.items[i]);
        if (line && line->colour == kWhite) {
            EXPECT_EQ(std::get<LinePrimitive>(printed.drawing.items[i]).colour, kBlack);
        }
    }
}

} // namespace
} // namespace ferrovane::testing
