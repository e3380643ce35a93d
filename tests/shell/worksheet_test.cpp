#include <gtest/gtest.h>

#include <algorithm>

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

} // namespace
} // namespace ferrovane::testing
