#include <gtest/gtest.h>

#include "shell/drawing.h"
#include "shell/print_job.h"

namespace ferrovane {
namespace {

// A placement that depends on a text's width must not widen for letters
// that UTF-8 writes in more than one byte.
TEST(FixedTextMetrics, MeasuresCharactersNotBytes) {
    const FixedTextMetrics metrics;
    const Font font;
    const double letter = metrics.width("A", font);
    EXPECT_GT(letter, 0);
    EXPECT_DOUBLE_EQ(metrics.width("\u03A9", font), letter);               // two bytes
    EXPECT_DOUBLE_EQ(metrics.width("\u00B1j 5 \u00B0", font), 6 * letter); // two two-byte letters
    EXPECT_DOUBLE_EQ(metrics.width("\u6570\u5B57", font), 2 * letter);     // three bytes each
}

// Ten lines of 240 twips fit between the top margin at 1440 and the
// bottom at 3840; the eleventh starts the next page at the top margin,
// whether the page before held text or only empty lines.
TEST(PrintWriter, ALinePastTheBottomStartsTheNextPageAtTheTopMargin) {
    PrintWriter writer("job", Font{}, 1000, 1440, 240, 3840);
    for (int i = 0; i < 25; ++i)
        writer.print("line " + std::to_string(i));
    for (int i = 0; i < 15; ++i)
        writer.print("");
    writer.print("after the gap");
    const PrintJob job = writer.finish();
    ASSERT_EQ(job.pages.size(), 5u);
    EXPECT_EQ(job.texts().size(), 26u);
    for (std::size_t p = 0; p < job.pages.size(); ++p) {
        for (const PrintLine& line : job.pages[p].lines) {
            EXPECT_EQ(line.x, 1000);
            EXPECT_LE(line.y + 240, 3840) << line.text;
        }
    }
    EXPECT_EQ(job.pages[1].lines.front().text, "line 10");
    EXPECT_EQ(job.pages[1].lines.front().y, 1440);
    EXPECT_EQ(job.pages[2].lines.front().y, 1440);
    // Page 3 holds lines 20 to 24 and five empty ones; page 4 ten empty
    // lines; the text after them opens page 5 at the top margin.
    EXPECT_TRUE(job.pages[3].lines.empty());
    EXPECT_EQ(job.pages[4].lines.front().text, "after the gap");
    EXPECT_EQ(job.pages[4].lines.front().y, 1440);
}

} // namespace
} // namespace ferrovane
