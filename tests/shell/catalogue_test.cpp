#include "calculators/catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>

namespace ferrovane {
namespace {

const CatalogueEntry& entry(const std::string& button) {
    const auto& all = catalogue();
    auto it = std::find_if(all.begin(), all.end(),
                           [&](const CatalogueEntry& e) { return e.button == button; });
    if (it == all.end())
        throw std::runtime_error("no button " + button);
    return *it;
}

TEST(Catalogue, FillsTheFourByFiveGridOnceInReadingOrder) {
    const auto& all = catalogue();
    ASSERT_EQ(all.size(), 20u);
    std::set<std::pair<int, int>> positions;
    for (const auto& e : all) {
        EXPECT_GE(e.row, 1) << e.button;
        EXPECT_LE(e.row, 5) << e.button;
        EXPECT_GE(e.column, 1) << e.button;
        EXPECT_LE(e.column, 4) << e.button;
        positions.insert({e.row, e.column});
    }
    EXPECT_EQ(positions.size(), 20u);
    EXPECT_TRUE(std::is_sorted(all.begin(), all.end(), [](const auto& a, const auto& b) {
        return std::pair(a.row, a.column) < std::pair(b.row, b.column);
    }));
}

TEST(Catalogue, ButtonNamesAreUniqueCommandButtons) {
    std::set<std::string> names;
    for (const auto& e : catalogue()) {
        EXPECT_EQ(e.button.rfind("Cmd", 0), 0u) << e.button;
        names.insert(e.button);
    }
    EXPECT_EQ(names.size(), 20u);
}

TEST(Catalogue, EveryButtonHasItsOwnCaptionAndDescription) {
    std::set<std::string> captions, descriptions;
    for (const auto& e : catalogue()) {
        EXPECT_FALSE(e.caption.empty()) << e.button;
        EXPECT_FALSE(e.description.empty()) << e.button;
        captions.insert(e.caption);
        descriptions.insert(e.description);
    }
    EXPECT_EQ(captions.size(), 20u);
    EXPECT_EQ(descriptions.size(), 20u);
}

// Captions keep their leading and double blanks; "&&" is stored as is and
// shown as one ampersand by the window.
TEST(Catalogue, CaptionsAreKeptAsStored) {
    const auto& volt = entry("CmdVoltDiv");
    EXPECT_EQ(std::pair(volt.row, volt.column), std::pair(1, 1));
    EXPECT_EQ(volt.caption, "Standard Value Voltage Divider");

    const auto& wav = entry("CmdWav");
    EXPECT_EQ(std::pair(wav.row, wav.column), std::pair(2, 1));
    EXPECT_EQ(wav.caption, " Wavelength &&  Frequency");

    const auto& lnet = entry("CmdLNet");
    EXPECT_EQ(std::pair(lnet.row, lnet.column), std::pair(5, 1));
    EXPECT_EQ(lnet.caption, "  L--Network  Matching");

    EXPECT_EQ(entry("CmdFreqMult").caption, "Freq. Multipliers && Prime Numbers");
    const auto& eq = entry("Cmd5x5RjX");
    EXPECT_EQ(std::pair(eq.row, eq.column), std::pair(5, 3));
    EXPECT_EQ(eq.caption, "6 x 6 R + j X");
}

TEST(Catalogue, DescriptionsKeepTheirBlanks) {
    EXPECT_EQ(entry("CmdVoltDiv").description,
              "This calculator finds the closest match unloaded voltage divider using standard "
              "value 5% resistors.  It gives several combinations and the percent error for "
              "each.");
    EXPECT_EQ(entry("CmdRLCQ").description, "Makes various calculations on a series RLC circuit. ");
    const std::string xform = entry("CmdXform").description;
    const std::string tail = "without burning it out. ";
    ASSERT_GT(xform.size(), tail.size());
    EXPECT_EQ(xform.substr(xform.size() - tail.size()), tail);
    EXPECT_EQ(entry("CmdFreqMult").description,
              "This routine helps you avoid prime numbers in the design of frequency "
              "multiplyer chanes.");
}

} // namespace
} // namespace ferrovane
