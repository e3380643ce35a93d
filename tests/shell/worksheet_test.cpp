#include <gtest/gtest.h>

#include <algorithm>

#include "calculators/matching/l_network.h"
#include "calculators/passive/volt_divider.h"
#include "shell/worksheet.h"
#include "support/test_window.h"

namespace ferrovane::testing {
namespace {

bool contains(const Texts& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST(Worksheet, DividerExampleHasCaptionDateInputsOptionsAndEveryResultLine) {
    TestWindow w(voltDivider(), "CmdCalc");
    ASSERT_FALSE(w.list("LstOutput").empty());
    const PrintJob job = worksheetJob(*w.calc, w.form, "2026-12-06");
    const Texts lines = job.texts();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], "Voltage Divider");
    EXPECT_EQ(lines[1], "2026-12-06");
    // Label padded to a column, then the box as shown and its unit.
    std::string input = "Input Voltage, Vin";
    input.resize(34, ' ');
    EXPECT_TRUE(contains(lines, input + " " + w.form.text("TxtVin") + " Volts"));
    EXPECT_TRUE(contains(lines, "[x] Use Standard Values."));
    EXPECT_TRUE(contains(lines, w.form.text("Text16")));
    // Every result line, in order, at the end.
    const Texts& results = w.list("LstOutput");
    ASSERT_GE(lines.size(), results.size());
    EXPECT_TRUE(std::equal(results.begin(), results.end(), lines.end() - results.size()));
    // Lines go down the page in fixed-pitch text.
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

} // namespace
} // namespace ferrovane::testing
