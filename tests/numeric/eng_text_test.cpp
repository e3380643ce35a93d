#include "numeric/eng_text.h"
#include "numeric/numeric_fault.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <regex>
#include <string>

namespace ferrovane {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct EngCase {
    double x;
    const char* text;
};

TEST(FormatEng, WorkedTexts) {
    const EngCase cases[] = {
        {4700, " 4.700e+3  "},     {0.0153, " 15.30e-3  "}, {-455000, "-455.0e+3  "},
        {50, " 50.00     "},       {0, " 0.000     "},      {1e-15, " 1.000e-15 "},
        {9.999e12, " 9.999e+12 "}, {-1e-17, "-0.000     "}, {999.96, " 1.000e+3  "},
        {0.99996, " 1.000     "},  {12, " 12.00     "},     {120, " 120.0     "},
        {1.2, " 1.200     "},      {9.9995, " 10.00     "},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatEng(c.x), c.text) << c.x;
    }
}

TEST(FormatEng, EveryExponentGroup) {
    // One value in each group and shape, worked by hand.
    const EngCase cases[] = {
        {1.5e-12, " 1.500e-12 "}, {22e-12, " 22.00e-12 "},  {2.2e-9, " 2.200e-9  "},
        {470e-9, " 470.0e-9  "},  {47e-6, " 47.00e-6  "},   {330e-3, " 330.0e-3  "},
        {1e-3, " 1.000e-3  "},    {1, " 1.000     "},       {999, " 999.0     "},
        {-1e6, "-1.000e+6  "},    {68e6, " 68.00e+6  "},    {100e9, " 100.0e+9  "},
        {1e12, " 1.000e+12 "},    {3.14159, " 3.142     "}, {-27.25e3, "-27.25e+3  "},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatEng(c.x), c.text) << c.x;
    }
}

TEST(FormatEng, ZeroAndOutOfRange) {
    EXPECT_EQ(FormatEng(9.9995e-16), " 0.000     ");
    EXPECT_EQ(FormatEng(-9.9995e-16), "-0.000     ");
    EXPECT_EQ(FormatEng(-0.0), " 0.000     ");
    EXPECT_EQ(FormatEng(1e13), "+*.***E\u00B1* ");
    EXPECT_EQ(FormatEng(-1e13), "-*.***E\u00B1* ");
    EXPECT_EQ(std::string(kEngOutOfRange), "+*.***E\u00B1* ");
}

TEST(FormatEng, MantissaThatRoundsToAThousandMovesToTheNextGroup) {
    // 0.99995 lies in the ddd.d sub-range of e-3 but rounds to 1000.0 there;
    // "1000" has no room in the mantissa, so the text is 1.000 of the next group.
    EXPECT_EQ(FormatEng(0.99995), " 1.000     ");
    EXPECT_EQ(FormatEng(-0.99995), "-1.000     ");
    EXPECT_EQ(FormatEng(9.9995e-13), " 1.000e-12 ");
}

TEST(FormatEng, NotFiniteGivesOutOfRangeText) {
    EXPECT_EQ(FormatEng(kInf), "+*.***E\u00B1* ");
    EXPECT_EQ(FormatEng(-kInf), "-*.***E\u00B1* ");
    EXPECT_EQ(FormatEng(kNaN), "+*.***E\u00B1* ");
    for (double x : {kInf, -kInf, kNaN, -kNaN}) {
        const std::string s = FormatEng(x);
        EXPECT_EQ(s.find("nan"), std::string::npos);
        EXPECT_EQ(s.find("inf"), std::string::npos);
    }
}

TEST(FormatEng, ComplexTextGivesBothParts) {
    const EngParts p = FormatEng(std::string_view(" 3 + j-4"));
    EXPECT_EQ(p.real, " 3.000     ");
    EXPECT_EQ(p.imag, "-4.000     ");

    const EngParts q = FormatEng(std::string_view(" .5 + j-1E-07"));
    EXPECT_EQ(q.real, " 500.0e-3  ");
    EXPECT_EQ(q.imag, "-100.0e-9  ");

    const EngParts upper = FormatEng(std::string_view("-2.5 + J 1000"));
    EXPECT_EQ(upper.real, "-2.500     ");
    EXPECT_EQ(upper.imag, " 1.000e+3  ");

    EXPECT_THROW(FormatEng(std::string_view(" 3 + 4")), NumericFault);
}

// Engineering shape: sign, a mantissa d.ddd, dd.dd or ddd.d, and the exponent field.
bool hasEngShape(const std::string& s) {
    static const std::regex shape(
        R"([ -](\d\.\d{3}|\d{2}\.\d{2}|\d{3}\.\d)(e-15 |e-12 |e-9  |e-6  |e-3  |     |e\+3  |e\+6  |e\+9  |e\+12 ))");
    return std::regex_match(s, shape);
}

double roundTo4Significant(double x) {
    const double q = std::pow(10.0, std::floor(std::log10(std::fabs(x))) - 3);
    return std::round(x / q) * q;
}

TEST(FormatEng, EveryTextReadsBackToTheValueItShows) {
    std::mt19937_64 rng(20240611);
    std::uniform_real_distribution<double> decade(-15.0, 12.999);
    for (int n = 0; n < 20000; ++n) {
        const double x = (n % 2 == 0 ? 1 : -1) * std::pow(10.0, decade(rng));
        const std::string s = FormatEng(x);
        ASSERT_EQ(s.size(), 11u) << x;
        ASSERT_TRUE(hasEngShape(s)) << x << " [" << s << "]";
        const double shown = ReadNumber(s);
        const double expected = roundTo4Significant(x);
        ASSERT_NEAR(shown, expected, 1e-12 * std::fabs(expected)) << x << " [" << s << "]";
    }
}

TEST(FormatEng, ShapeHoldsAroundEverySubRangeBound) {
    // The doubles right at and around each B(k) = 9.9995 * 10^k, where the
    // rounding may carry into the next digit.
    for (int k = -16; k <= 12; ++k) {
        double x = 9.9995 * std::pow(10.0, k);
        for (int step = 0; step < 4; ++step) {
            x = std::nextafter(x, 0.0);
        }
        for (int step = 0; step < 9; ++step, x = std::nextafter(x, kInf)) {
            const std::string s = FormatEng(x);
            if (s == kEngOutOfRange || s == " 0.000     ") {
                continue;
            }
            ASSERT_TRUE(hasEngShape(s)) << k << " [" << s << "]";
            // These sit on a rounding tie in decimal, so either neighbour is
            // right; the text must be within half a unit of the fourth digit.
            const double unit = std::pow(10.0, std::floor(std::log10(x)) - 3);
            ASSERT_LE(std::fabs(ReadNumber(s) - x), 0.5 * unit * (1 + 1e-9)) << "[" << s << "]";
        }
    }
}

TEST(FormatOhms, WorkedTexts) {
    const EngCase cases[] = {
        {4700, "4.70 k"},   {470, "470   "},   {100000, "100 k "}, {2200000, "2.20 M"},
        {1.234, "1.23  "},  {12.34, "12.3  "}, {123.4, "123   "},  {47000, "47.0 k"},
        {470000, "470 k "}, {1e6, "1.00 M"},   {12e6, "12.0 M"},   {0, "0.00  "},
        {9.994, "9.99  "},  {9.996, "10.0  "}, {999.4, "999   "},  {999.6, "1.00 k"},
        {120e6, "120 M "},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatOhms(c.x), c.text) << c.x;
    }
    EXPECT_EQ(FormatOhms(-5), "5.00  "); // the sign is lost, as documented
    EXPECT_THROW(FormatOhms(kInf), NumericFault);
}

TEST(NearestStandardValue, WorkedValues) {
    struct Case {
        double r;
        double snapped;
        const char* text;
    };
    const Case cases[] = {
        {4800, 4700, "4.7 k"},   {4950, 5100, "5.1 k"}, {4900, 4700, "4.7 k"},
        {15e6, 10e6, "10 M"},    {0.3, 0, "0 "},        {0.5, 0, "0 "},
        {0.6, 1, "1 "},          {2.2, 2.2, "2.2 "},    {47, 47, "47 "},
        {910, 910, "910 "},      {1000, 1000, "1 k"},   {47000, 47000, "47 k"},
        {1e6, 1e6, "1 M"},       {1e7, 1e7, "10 M"},    {9.1e6, 9.1e6, "9.1 M"},
        {330e3, 330e3, "330 k"}, {1.04, 1, "1 "},       {1.06, 1.1, "1.1 "},
        {9.3e6, 9.1e6, "9.1 M"}, {9.7e6, 10e6, "10 M"}, {620, 620, "620 "},
    };
    for (const auto& c : cases) {
        const StandardValue v = NearestStandardValue(c.r);
        EXPECT_DOUBLE_EQ(v.value, c.snapped) << c.r;
        EXPECT_EQ(v.text, c.text) << c.r;
    }
    const StandardValue zero = NearestStandardValue(0);
    EXPECT_EQ(zero.value, 0);
    EXPECT_EQ(zero.text, "");
    EXPECT_THROW(NearestStandardValue(kNaN), NumericFault);
    EXPECT_THROW(NearestStandardValue(kInf), NumericFault);
}

TEST(NearestStandardValue, EveryStandardValueStaysItself) {
    const int e24[] = {10, 11, 12, 13, 15, 16, 18, 20, 22, 24, 27, 30,
                       33, 36, 39, 43, 47, 51, 56, 62, 68, 75, 82, 91};
    for (int decade = 0; decade < 7; ++decade) {
        for (int t : e24) {
            const double r = t * std::pow(10.0, decade) / 10;
            EXPECT_DOUBLE_EQ(NearestStandardValue(r).value, r);
        }
    }
}

TEST(TrimBlanks, RemovesOnlyOuterBlanks) {
    EXPECT_EQ(TrimBlanks("  12.5   "), "12.5");
    EXPECT_EQ(TrimBlanks("   "), "");
    EXPECT_EQ(TrimBlanks(""), "");
    EXPECT_EQ(TrimBlanks(" a b "), "a b");
    EXPECT_EQ(TrimBlanks("\t1 \t"), "\t1 \t");
}

struct PlainCase {
    double x;
    const char* bare;
    const char* blanked;
};

TEST(PlainNumber, WorkedTexts) {
    const PlainCase cases[] = {
        {0.5, ".5", " .5"},
        {-0.25, "-.25", "-.25"},
        {1e-7, "1E-07", " 1E-07"},
        {-1e-7, "-1E-07", "-1E-07"},
        {1e20, "1E+20", " 1E+20"},
        {1.5e-7, "1.5E-07", " 1.5E-07"},
        {0, "0", " 0"},
        {-0.0, "0", " 0"},
        {3, "3", " 3"},
        {-4, "-4", "-4"},
        {25, "25", " 25"},
        {6.25, "6.25", " 6.25"},
        {25.0 / 3, "8.33333333333333", " 8.33333333333333"},
        {2.0 / 3, ".666666666666667", " .666666666666667"},
        {0.1 + 0.2, ".3", " .3"},
        {1e-5, ".00001", " .00001"},
        {1e14, "100000000000000", " 100000000000000"},
        {123456789012345, "123456789012345", " 123456789012345"},
        {1e15, "1E+15", " 1E+15"},
        {1e100, "1E+100", " 1E+100"},
        {1.25e-100, "1.25E-100", " 1.25E-100"},
        {-1234.5, "-1234.5", "-1234.5"},
        {4700, "4700", " 4700"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PlainNumber(c.x), c.bare) << c.x;
        EXPECT_EQ(PlainNumber(c.x, LeadingBlank::Yes), c.blanked) << c.x;
    }
    EXPECT_THROW(PlainNumber(kInf), NumericFault);
    EXPECT_THROW(PlainNumber(-kInf, LeadingBlank::Yes), NumericFault);
    EXPECT_THROW(PlainNumber(kNaN), NumericFault);
}

TEST(PlainNumber, ReadsBackWithinFifteenDigits) {
    static const std::regex shape(R"(-?((\d+(\.\d+)?|\.\d+)|\d(\.\d+)?E[+-]\d{2,3}))");
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> exponent(-300, 300);
    std::uniform_real_distribution<double> mantissa(1, 10);
    for (int n = 0; n < 50000; ++n) {
        double x = mantissa(rng) * std::pow(10.0, std::floor(exponent(rng)));
        if (n % 3 == 0) {
            x = -x;
        }
        if (n % 5 == 0) {
            x = std::floor(mantissa(rng) * 1e6) / 1e3; // short decimals like 4712.345
        }
        const std::string s = PlainNumber(x);
        ASSERT_TRUE(std::regex_match(s, shape)) << s;
        std::size_t significant = 0;
        bool started = false;
        for (char c : s) {
            if (c == 'E') {
                break;
            }
            started = started || (c >= '1' && c <= '9');
            significant += started && c >= '0' && c <= '9';
        }
        ASSERT_LE(significant, 15u) << s;
        const double back = ReadNumber(s);
        ASSERT_LE(std::fabs(back - x), 5.2e-15 * std::fabs(x)) << x << " [" << s << "]";
    }
}

TEST(PlainNumber, LargestDoublesStayReadable) {
    // Rounded to 15 digits, the largest double would be 1.79769313486232E+308,
    // beyond the range of a double; the text keeps the digits cut short.
    const double largest = std::numeric_limits<double>::max();
    EXPECT_EQ(PlainNumber(largest), "1.79769313486231E+308");
    EXPECT_EQ(PlainNumber(-largest), "-1.79769313486231E+308");
    for (double x = largest; x > 1.7976931348623e308; x = std::nextafter(x, 0.0) * (1 - 1e-16)) {
        const double back = ReadNumber(PlainNumber(x));
        ASSERT_TRUE(std::isfinite(back)) << x;
        ASSERT_LE(std::fabs(back - x), 1e-14 * x);
    }
    EXPECT_EQ(PlainNumber(1.7976931348623e308), "1.7976931348623E+308");
}

TEST(PlainNumber, ShortDecimalsAreWrittenExactly) {
    std::mt19937 rng(3);
    std::uniform_int_distribution<int> whole(-999999, 999999);
    for (int n = 0; n < 5000; ++n) {
        const int k = whole(rng);
        const double x = k / 1000.0;
        EXPECT_EQ(ReadNumber(PlainNumber(x)), x);
        EXPECT_EQ(PlainNumber(k), std::to_string(k));
    }
}

} // namespace
} // namespace ferrovane
