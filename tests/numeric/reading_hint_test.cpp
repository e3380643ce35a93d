#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "numeric/eng_text.h"

namespace ferrovane {
namespace {

// A box is read by its leading number; the hint names what the reading left
// out, and the value it names is the value Calculate uses.
TEST(ReadingHint, NamesWhatTheLeadingNumberRuleIgnores) {
    const struct {
        const char* text;
        const char* hint; // nullptr: no hint
        double value;
    } cases[] = {
        {"4.7k", "Read as 4.7: the rest (\"k\") is ignored.", 4.7},
        {"1,5", "Read as 1: the rest (\",5\") is ignored.", 1},
        {"12 V", "Read as 12: the rest (\"V\") is ignored.", 12},
        {"2e", "Read as 2: the rest (\"e\") is ignored.", 2},
        {"1e3x", "Read as 1000: the rest (\"x\") is ignored.", 1000},
        {"abc", "Read as 0: the rest (\"abc\") is ignored.", 0},
        {"4.7", nullptr, 4.7},
        {"", nullptr, 0},
        {"  3", nullptr, 3},
        {" -2.5e-3 \r\n", nullptr, -2.5e-3},
        {"1 000", nullptr, 1000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ReadingHint(c.text), c.hint ? std::optional<std::string>(c.hint) : std::nullopt);
        EXPECT_DOUBLE_EQ(ReadNumber(c.text), c.value);
    }
}

} // namespace
} // namespace ferrovane
