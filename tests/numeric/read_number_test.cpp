#include "numeric/eng_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <locale>
#include <memory>
#include <string>

namespace ferrovane {
namespace {

struct ReadCase {
    const char* text;
    double value;
};

TEST(ReadNumber, LeadingNumberAsFarAsItGoes) {
    const ReadCase cases[] = {
        {".5", 0.5},
        {"-.5e1", -5},
        {"4.7k", 4.7},
        {" 4.700e+3  ", 4700},
        {" 15.30e-3  ", 0.0153},
        {"-455.0e+3  ", -455000},
        {"1e", 1},
        {"1e+", 1},
        {"1E2", 100},
        {"e5", 0},
        {"+-3", 0},
        {"--1", 0},
        {"+7", 7},
        {"", 0},
        {"abc", 0},
        {"4.", 4},
        {".", 0},
        {"-", 0},
        {"007", 7},
        {"0x10", 0},
        {"12,5", 12},
        {"1.2.3", 1.2},
        {"2.5e-3V", 0.0025},
        {"3 + j 4", 3},
        {"1Meg", 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadNumber(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST(ReadNumber, BlanksTabsAndLineBreaksAnywhereAreSkipped) {
    EXPECT_EQ(ReadNumber("4 7"), 47);
    EXPECT_EQ(ReadNumber("\t1\n2 3"), 123);
    EXPECT_EQ(ReadNumber("  -  4 . 5  e - 1"), -0.45);
    EXPECT_EQ(ReadNumber("1\r\n5"), 15);
    EXPECT_EQ(ReadNumber("\n\n-2"), -2);
    // Other control characters end the number.
    EXPECT_EQ(ReadNumber("1\v2"), 1);
}

TEST(ReadNumber, ZeroIsNeverNegative) {
    EXPECT_FALSE(std::signbit(ReadNumber("-0")));
    EXPECT_FALSE(std::signbit(ReadNumber("-0.000     ")));
    EXPECT_FALSE(std::signbit(ReadNumber("-1e-999")));
}

TEST(ReadNumber, HugeAndTinyMagnitudes) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(ReadNumber("1e999"), inf);
    EXPECT_EQ(ReadNumber("-1e999"), -inf);
    EXPECT_EQ(ReadNumber("1e-999"), 0);
    EXPECT_EQ(ReadNumber("1e99999999999999999999999"), inf);
    EXPECT_EQ(ReadNumber("1e-99999999999999999999999"), 0);
    EXPECT_EQ(ReadNumber("1.7976931348623157e308"), std::numeric_limits<double>::max());
    EXPECT_EQ(ReadNumber("4.9406564584124654e-324"), std::numeric_limits<double>::denorm_min());
    // Leading zeros and long digit strings shift the magnitude, not the exponent.
    EXPECT_EQ(ReadNumber("0." + std::string(400, '0') + "1e+401"), 1);
    EXPECT_EQ(ReadNumber("1" + std::string(500, '0') + "e-500"), 1);
    EXPECT_EQ(ReadNumber(std::string(1000, '0') + "42"), 42);
    EXPECT_NEAR(ReadNumber("123456789012345678901234567890"), 1.2345678901234568e29, 1e14);
}

TEST(ReadNumber, AnyBytesAreAccepted) {
    EXPECT_EQ(ReadNumber(std::string("1\0 2", 4)), 1);
    EXPECT_EQ(ReadNumber(std::string("\0"
                                     "5",
                                     2)),
              0);
    EXPECT_EQ(ReadNumber("\xff"
                         "1"),
              0);
    EXPECT_EQ(ReadNumber("2\xb1"
                         "3"),
              2);
}

TEST(ReadNumber, NeverReadsPastTheEndOfItsText) {
    const std::string buffer = "12345e2";
    EXPECT_EQ(ReadNumber(std::string_view(buffer.data(), 2)), 12);
    EXPECT_EQ(ReadNumber(std::string_view(buffer.data(), 5)), 12345);
    EXPECT_EQ(ReadNumber(std::string_view(buffer.data(), 6)), 12345);
    EXPECT_EQ(ReadNumber(std::string_view(buffer.data() + 3, 4)), 45e2);
    EXPECT_EQ(ReadNumber(std::string_view(buffer.data(), 0)), 0);

    // A buffer with no terminator after the text.
    const std::string digits = "1.5e3";
    for (std::size_t n = 0; n <= digits.size(); ++n) {
        auto exact = std::make_unique<char[]>(n == 0 ? 1 : n);
        digits.copy(exact.get(), n);
        const double expected[] = {0, 1, 1, 1.5, 1.5, 1500};
        EXPECT_EQ(ReadNumber(std::string_view(exact.get(), n)), expected[n]) << n;
    }
}

// A locale in which the decimal separator is a comma, as in Germany.
struct CommaPunct : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

TEST(ReadNumber, PointIsTheSeparatorInEveryLocale) {
    const std::string oldC = std::setlocale(LC_ALL, nullptr);
    const std::locale oldGlobal = std::locale::global(std::locale(std::locale(), new CommaPunct));
    const bool german = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr ||
                        std::setlocale(LC_ALL, "de_DE") != nullptr;
    (void)german; // the numpunct facet above already changes std::locale

    EXPECT_EQ(ReadNumber("1.5"), 1.5);
    EXPECT_EQ(ReadNumber("1,5"), 1);
    EXPECT_EQ(ReadNumber(" 4.700e+3  "), 4700);
    EXPECT_EQ(PlainNumber(1.5), "1.5");
    EXPECT_EQ(PlainNumber(1234567.25), "1234567.25");
    EXPECT_EQ(FormatEng(4700), " 4.700e+3  ");
    EXPECT_EQ(FormatOhms(4700), "4.70 k");

    std::locale::global(oldGlobal);
    std::setlocale(LC_ALL, oldC.c_str());
}

} // namespace
} // namespace ferrovane
