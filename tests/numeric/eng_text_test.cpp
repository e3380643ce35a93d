#include "numeric/eng_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <locale>
#include <optional>
#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace ferrovane {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct TextCase {
    double x;
    std::string text;
    double snapped = 0; // NearestStandardValue only
};

// The double nearest 0.99995 (or 9.9995e-13) lies just below it, in the ddd.d sub-range
// of the lower group but rounds to 1000.0 there, so it shows as 1.000 of the next group.
// Values that are not finite give the out-of-range text, never "nan" or "inf".
TEST(FormatEng, WorkedTextsAndEdges) {
    const TextCase cases[] = {
        {4700, " 4.700e+3  "},      {0.0153, " 15.30e-3  "},   {-455000, "-455.0e+3  "},
        {50, " 50.00     "},        {0, " 0.000     "},        {1e-15, " 1.000e-15 "},
        {-1e-17, "-0.000     "},    {9.999e12, " 9.999e+12 "}, {1e13, "+*.***E\u00B1* "},
        {12, " 12.00     "},        {120, " 120.0     "},      {1.2, " 1.200     "},
        {9.9995, " 10.00     "},    {999.96, " 1.000e+3  "},   {0.99996, " 1.000     "},
        {0.99995, " 1.000     "},   {-0.99995, "-1.000     "}, {9.9995e-13, " 1.000e-12 "},
        {-1e13, "-*.***E\u00B1* "}, {kInf, "+*.***E\u00B1* "}, {-kInf, "-*.***E\u00B1* "},
        {kNaN, "+*.***E\u00B1* "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatEng(c.x), c.text) << c.x;
    EXPECT_EQ(FormatEng(-kNaN).substr(1), "*.***E\u00B1* ");
    EXPECT_EQ(FormatEng(std::string_view(" 3 + j-4")).real, " 3.000     ");
    EXPECT_EQ(FormatEng(std::string_view(" 3 + j-4")).imag, "-4.000     ");
    EXPECT_EQ(FormatEng(std::string_view(" .5 + J-1E-07")).imag, "-100.0e-9  ");
}

TEST(FormatEng, EveryTextReadsBackToTheValueItShows) {
    // Sign, mantissa d.ddd, dd.dd or ddd.d, exponent field: always 11 characters.
    static const std::regex shape(
        R"([ -](\d\.\d{3}|\d{2}\.\d{2}|\d{3}\.\d))"
        R"((e-15 |e-12 |e-9  |e-6  |e-3  |     |e\+3  |e\+6  |e\+9  |e\+12 ))");
    std::mt19937_64 rng(20240611);
    std::uniform_real_distribution<double> decade(-15.0, 12.999);
    std::vector<double> xs;
    for (int n = 0; n < 20000; ++n)
        xs.push_back((n % 2 == 0 ? 1 : -1) * std::pow(10.0, decade(rng)));
    for (int k = -15; k <= 11; ++k) { // the doubles around every sub-range bound 9.9995 * 10^k
        double x = 9.9995 * std::pow(10.0, k) * (1 - 5e-16);
        for (int step = 0; step < 9; ++step, x = std::nextafter(x, kInf))
            xs.insert(xs.end(), {x, -x});
    }
    for (double x : xs) {
        const std::string s = FormatEng(x);
        ASSERT_TRUE(std::regex_match(s, shape)) << x << " [" << s << "]";
        // Four significant digits: within half a unit of the fourth digit.
        const double unit = std::pow(10.0, std::floor(std::log10(std::fabs(x))) - 3);
        ASSERT_LE(std::fabs(ReadNumber(s) - x), 0.5 * unit * (1 + 1e-9)) << x << " [" << s << "]";
    }
}

// A box's number as a data file field: the engineering text wherever it
// shows the value; beyond its range the plain number text, which a C library
// reading gives back as the same double, and which is saved unchanged again.
TEST(EngFieldText, EngineeringTextInRangePlainNumberBeyond) {
    const struct {
        double x;
        std::string text;
        double readBack;
    } cases[] = {
        {4700, " 4.700e+3  ", 4700},
        {-1e-17, "-0.000     ", 0},
        {9.999e12, " 9.999e+12 ", 9.999e12},
        {9.9995e12, " 10.00e+12 ", 1e13}, // rounds up within the range
        {1e13, " 10000000000000", 1e13},
        {-1e13, "-10000000000000", -1e13},
        {123456789012345e3, " 1.23456789012345E+17", 123456789012345e3},
        {1e300, " 1E+300", 1e300},
        {-1e20, "-1E+20", -1e20},
        {kInf, " 1E+999", kInf},
        {-kInf, "-1E+999", -kInf},
    };
    for (const auto& c : cases) {
        const std::string text = engFieldText(c.x);
        EXPECT_EQ(text, c.text) << c.x;
        EXPECT_EQ(std::strtod(text.c_str(), nullptr), c.readBack) << text;
        EXPECT_EQ(engFieldText(ReadNumber(text)), engFieldText(c.readBack)) << text;
    }
    EXPECT_EQ(engFieldText(kNaN), "+*.***E\u00B1* ");
    // Beyond the range any double comes back within 15 digits and then stays.
    std::mt19937_64 rng(11);
    std::uniform_real_distribution<double> exponent(std::log10(9.99951e12), 308);
    for (int n = 0; n < 20000; ++n) {
        const double x = (n % 2 == 0 ? 1 : -1) * std::pow(10.0, exponent(rng));
        const std::string text = engFieldText(x);
        const double back = std::strtod(text.c_str(), nullptr);
        ASSERT_LE(std::fabs(back - x), 5e-15 * std::fabs(x)) << x << " [" << text << "]";
        ASSERT_EQ(engFieldText(back), text) << x;
    }
}

TEST(FormatOhms, WorkedTexts) {
    const TextCase cases[] = {
        {1.234, "1.23  "}, {12.34, "12.3  "}, {123.4, "123   "},   {4700, "4.70 k"},
        {47000, "47.0 k"}, {470, "470   "},   {100000, "100 k "},  {470000, "470 k "},
        {1e6, "1.00 M"},   {12e6, "12.0 M"},  {2200000, "2.20 M"}, {999.6, "1.00 k"},
        {9.996, "10.0  "}, {-5, "5.00  "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatOhms(c.x), c.text) << c.x;
}

TEST(NearestStandardValue, WorkedValues) {
    const TextCase cases[] = {
        {4800, "4.7 k", 4700}, {4950, "5.1 k", 5100}, {4900, "4.7 k", 4700},
        {15e6, "10 M", 10e6},  {0.3, "0 ", 0},        {0, "", 0},
        {2.2, "2.2 ", 2.2},    {47, "47 ", 47},       {910, "910 ", 910},
        {1000, "1 k", 1000},   {47e3, "47 k", 47e3},  {1e6, "1 M", 1e6},
        {1e7, "10 M", 1e7},    {1.06, "1.1 ", 1.1},   {9.3e6, "9.1 M", 9.1e6},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(NearestStandardValue(c.x).value, c.snapped) << c.x;
        EXPECT_EQ(NearestStandardValue(c.x).text, c.text) << c.x;
    }
}

TEST(TrimBlanks, RemovesOnlyOuterBlanks) {
    EXPECT_EQ(TrimBlanks("  12.5   "), "12.5");
    EXPECT_EQ(TrimBlanks("   "), "");
    EXPECT_EQ(TrimBlanks(" \ta b\t "), "\ta b\t");
}

TEST(PlainNumber, WorkedTexts) {
    const TextCase cases[] = {
        {0.5, " .5"},         {-0.25, "-.25"},   {1e20, " 1E+20"},
        {1.5e-7, " 1.5E-07"}, {-1e-7, "-1E-07"}, {0, " 0"},
        {-4, "-4"},           {6.25, " 6.25"},   {1e14, " 100000000000000"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PlainNumber(c.x, LeadingBlank::Yes), c.text) << c.x;
}

TEST(PlainNumber, EveryTextReadsBackWithinFifteenDigits) {
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> exponent(-300, 300);
    std::uniform_real_distribution<double> mantissa(-10, 10);
    const double largest = std::numeric_limits<double>::max();
    std::vector<double> xs = {largest, -largest, std::nextafter(largest, 0.0)};
    std::uniform_int_distribution<int> whole(-999999, 999999);
    for (int n = 0; n < 50000; ++n) {
        xs.push_back(mantissa(rng) * std::pow(10.0, std::floor(exponent(rng))));
        const double x = whole(rng) / 1000.0; // fewer than 15 digits: the very same double
        ASSERT_EQ(ReadNumber(PlainNumber(x)), x) << x;
    }
    for (double x : xs) {
        // Rounding to 15 significant digits moves a value by at most 5e-15 of it.
        ASSERT_LE(std::fabs(ReadNumber(PlainNumber(x)) - x), 5.2e-15 * std::fabs(x))
            << x << " [" << PlainNumber(x) << "]";
    }
}

// Any bytes are read, and never past the end of the view.
TEST(ReadNumber, LeadingNumberAsFarAsItGoes) {
    const TextCase cases[] = {
        {4.7, "4.7k"}, {0.5, ".5"},       {-5, "-.5e1"},
        {1, "1e+"},    {12, "12,5"},      {1.2, "1.2.3"},
        {47, "4 7"},   {123, "\t1\n2 3"}, {-0.45, "- 4.5e- 1"},
        {1, "1Meg"},   {0, ""},           {0, "abc"},
        {0, "e5"},     {0, "-"},          {0, "+-3"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadNumber(c.text), c.x) << '"' << c.text << '"';
    EXPECT_EQ(ReadNumber(std::string("1\0 2", 4)), 1);
    EXPECT_EQ(ReadNumber(std::string("\0005", 2)), 0);
    EXPECT_EQ(ReadNumber("\xff\x31"), 0);
    EXPECT_EQ(ReadNumber("2\xb1\x33"), 2);
    const std::string buffer = "12345e2";
    EXPECT_EQ(ReadNumber(std::string_view(buffer.data(), 2)), 12);
    EXPECT_EQ(ReadNumber(std::string_view(buffer.data() + 3, 4)), 45e2);
}

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

// A resistor box's reading: k multiplies by a thousand, M and Meg by a
// million, and only at the end of the text; what lies between the number and
// the suffix is left out and named.
TEST(ReadSuffixedOhms, TakesKMAndMegAfterTheNumber) {
    const struct {
        const char* text;
        double ohms;
        const char* ignored;
    } cases[] = {
        {"4.7k", 4700, ""},
        {"470 k", 470000, ""},
        {"1.2Meg", 1200000, ""},
        {"1.2M", 1200000, ""},
        {" 1 Meg ", 1000000, ""},
        {"1234", 1234, ""},
        {"4.7 kx", 4.7, "kx"},
        {"4.7xk", 4700, "x"},
        {"2 mEG", 2, "mEG"},
        {"1 meg", 1, "meg"},
        {"k", 0, "k"},
        {"abc", 0, "abc"},
        {"", 0, ""},
        {"  ", 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const SuffixedOhms read = readSuffixedOhms(c.text);
        EXPECT_DOUBLE_EQ(read.ohms, c.ohms);
        EXPECT_EQ(read.ignored, c.ignored);
    }
    EXPECT_TRUE(hasLeadingNumber(" -.5x"));
    EXPECT_FALSE(hasLeadingNumber("x5"));
    EXPECT_FALSE(hasLeadingNumber("."));
}

// A locale in which the decimal separator is a comma, as in Germany.
struct CommaPunct : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
};

// Puts the C library's number formats under a decimal comma: an installed
// German locale, or else one compiled here with that one rule.
bool setCommaCLocale(const testing::TempDir& tmp) {
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
        return true;
    tmp.write("comma.src", "LC_NUMERIC\ndecimal_point \",\"\nthousands_sep \".\"\n"
                           "grouping 3;3\nEND LC_NUMERIC\n");
    const std::string dir = tmp.path().string();
    const std::string make =
        "localedef -c -i '" + dir + "/comma.src' -f UTF-8 '" + dir + "/comma' >/dev/null 2>&1";
    [[maybe_unused]] const int status = std::system(make.c_str());
    setenv("LOCPATH", dir.c_str(), 1);
    const bool set = std::setlocale(LC_NUMERIC, "comma") != nullptr;
    unsetenv("LOCPATH");
    return set;
}

// The texts are read and written with a point whatever the locale says. The
// test first makes sure the comma is really in effect for the C library's
// strtod and printf and for new C++ streams, so that a reader or writer that
// used any of them would fail here.
TEST(ReadNumber, PointIsTheSeparatorUnderACommaLocale) {
    const testing::TempDir tmp;
    const std::string oldC = std::setlocale(LC_ALL, nullptr);
    const std::locale oldGlobal = std::locale::global(std::locale(std::locale(), new CommaPunct));
    if (!setCommaCLocale(tmp)) {
        std::locale::global(oldGlobal);
        GTEST_SKIP() << "no locale with a decimal comma could be set";
    }
    char printed[16];
    std::snprintf(printed, sizeof printed, "%.2f", 1.5);
    std::ostringstream streamed;
    streamed << 1.5;
    EXPECT_EQ(std::strtod("1,5", nullptr), 1.5);
    EXPECT_EQ(std::string(printed), "1,50");
    EXPECT_EQ(streamed.str(), "1,5");

    EXPECT_EQ(ReadNumber("1.5"), 1.5);
    EXPECT_EQ(ReadNumber("1,5"), 1);
    EXPECT_EQ(ReadNumber(" 4.700e+3  "), 4700);
    EXPECT_EQ(PlainNumber(1234567.25), "1234567.25");
    EXPECT_EQ(PlainNumber(1.5e-7, LeadingBlank::Yes), " 1.5E-07");
    EXPECT_EQ(FormatEng(4700), " 4.700e+3  ");
    EXPECT_EQ(FormatOhms(4700), "4.70 k");
    std::locale::global(oldGlobal);
    std::setlocale(LC_ALL, oldC.c_str());
}

} // namespace
} // namespace ferrovane
