#include "calculators/catalogue.h"

#include <gtest/gtest.h>

#include <set>

namespace ferrovane {
namespace {

const CatalogueEntry& entry(const std::string& button) {
    for (const auto& e : catalogue())
        if (e.button == button)
            return e;
    throw std::runtime_error("no button " + button);
}

TEST(Catalogue, FillsTheFourByFiveGridOnceWithDistinctButtons) {
    std::set<std::pair<int, int>> cells;
    std::set<std::string> names;
    std::set<std::string> descriptions;
    for (const auto& e : catalogue()) {
        EXPECT_TRUE(e.row >= 1 && e.row <= 5 && e.column >= 1 && e.column <= 4) << e.button;
        cells.insert({e.row, e.column});
        names.insert(e.button);
        descriptions.insert(e.description);
    }
    EXPECT_EQ(catalogue().size(), 20u);
    EXPECT_EQ(cells.size(), 20u);
    EXPECT_EQ(names.size(), 20u);
    EXPECT_EQ(descriptions.size(), 20u);
}

// Captions and descriptions keep their blanks; "&&" is stored as is.
TEST(Catalogue, TextsAreKeptAsStored) {
    EXPECT_EQ(entry("CmdWav").caption, " Wavelength &&  Frequency");
    EXPECT_EQ(std::pair(entry("CmdLNet").row, entry("CmdLNet").column), std::pair(5, 1));
    EXPECT_EQ(entry("CmdLNet").caption, "  L--Network  Matching");
    EXPECT_EQ(entry("CmdRLCQ").description, "Makes various calculations on a series RLC circuit. ");
    EXPECT_EQ(entry("CmdFreqMult").description,
              "This routine helps you avoid prime numbers in the design of frequency "
              "multiplyer chanes.");
}

} // namespace
} // namespace ferrovane
