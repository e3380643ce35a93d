// The number texts over arbitrary doubles, each read back and compared with
// the value within the precision it prints: FormatEng (the 11-character
// engineering shape or the out-of-range text; half a unit of the fourth
// digit), its complex mode over a complex value text, PlainNumber (15
// digits), FormatOhms (its last printed digit, times its " k" or " M") and
// the standard value text (exactly the standard value); the data-file text
// of a box's number (engFieldText), read back and saved again.
#include "numeric/complex_text.h"
#include "numeric/eng_text.h"
#include "numeric/numeric_fault.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace ferrovane;

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool hasEngShape(const std::string& s) {
    if (s.size() != 11 || (s[0] != ' ' && s[0] != '-')) {
        return false;
    }
    const std::string m = s.substr(1, 5);
    const std::size_t point = m.find('.');
    if (point == std::string::npos || point == 0 || point > 3) {
        return false;
    }
    for (std::size_t i = 0; i < 5; ++i) {
        if (i != point && !isDigit(m[i])) {
            return false;
        }
    }
    if (m[0] == '0' && s.substr(1, 10) != "0.000     ") {
        return false; // a mantissa starts with 1 to 9 unless the value is zero
    }
    static const char* const fields[] = {"e-15 ", "e-12 ", "e-9  ", "e-6  ", "e-3  ",
                                         "     ", "e+3  ", "e+6  ", "e+9  ", "e+12 "};
    const std::string e = s.substr(6);
    for (const char* f : fields) {
        if (e == f) {
            return true;
        }
    }
    return false;
}

// The engineering text s of x.
void checkEng(double x, const std::string& s) {
    if (s.find("nan") != std::string::npos || s.find("inf") != std::string::npos) {
        std::abort();
    }
    const double ax = std::fabs(x);
    if (!std::isfinite(x) || ax > 9.9995e12) {
        if (s != std::string(x < 0 ? "-" : "+") + "*.***E\u00B1* ") {
            std::abort();
        }
        return;
    }
    if (!hasEngShape(s)) {
        std::abort();
    }
    const double shown = ReadNumber(s);
    if (ax <= 9.9995e-16) {
        if (shown != 0) {
            std::abort();
        }
    } else {
        // Within half a unit of the fourth significant digit.
        const double unit = std::pow(10.0, std::floor(std::log10(ax)) - 3);
        if (std::fabs(std::fabs(shown) - ax) > 0.5 * unit * (1 + 1e-9) || (shown < 0) != (x < 0)) {
            std::abort();
        }
    }
}

// The data-file text of x: the engineering text wherever that shows the
// value, else a text that reads back as x within 15 digits (infinity as
// infinity). Saved and read again, a value stays what it became.
void checkFieldText(double x) {
    const std::string text = engFieldText(x);
    const std::string eng = FormatEng(x);
    const bool outOfRange = eng.substr(1) == std::string("*.***E\u00B1* ");
    if (!outOfRange || std::isnan(x)) {
        if (text != eng) {
            std::abort();
        }
    } else {
        const double back = ReadNumber(text);
        const bool close =
            std::isinf(x) ? back == x : std::fabs(back - x) <= 5.2e-15 * std::fabs(x);
        if (!close) {
            std::abort();
        }
    }
    const double once = ReadNumber(text);
    if (ReadNumber(engFieldText(once)) != once) {
        std::abort();
    }
}

// The multiplier of a resistance text's suffix.
double suffixValue(const std::string& s) {
    return s.find('M') != std::string::npos ? 1e6 : s.find('k') != std::string::npos ? 1e3 : 1;
}

void checkResistanceTexts(double r) {
    const std::string ohms = FormatOhms(r);
    const StandardValue v = NearestStandardValue(r);
    if (ohms.size() < 6 || (r > 0 && v.text.empty()) || v.value < 0 || v.value > 1e7) {
        std::abort();
    }
    if (r < 1e12) {
        // Three significant digits, two decimals at most, and tenths of a
        // megohm above 9.995 M. The text may show a padding zero more.
        double unit = std::max(0.01, std::pow(10.0, std::floor(std::log10(r * 1.001)) - 2));
        if (r > 9.995e6) {
            unit = std::max(unit, 1e5);
        }
        if (std::fabs(ReadNumber(ohms) * suffixValue(ohms) - r) > 0.5 * unit * (1 + 1e-9)) {
            std::abort();
        }
    }
    if (std::fabs(ReadNumber(v.text) * suffixValue(v.text) - v.value) > 1e-9 * v.value) {
        std::abort();
    }
    if (r >= 1 && r <= 1e7 && std::fabs(v.value - r) > 0.1 * r) {
        std::abort(); // the E24 steps are at most about 20 per cent apart
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < sizeof(double)) {
        return 0;
    }
    double x = 0;
    std::memcpy(&x, data, sizeof x);
    checkEng(x, FormatEng(x));
    checkFieldText(x);
    if (!std::isfinite(x)) {
        return 0;
    }
    const double ax = std::fabs(x);
    const std::string plain = PlainNumber(x, LeadingBlank::Yes);
    const double back = ReadNumber(plain);
    if (std::fabs(back - x) > 5.2e-15 * ax + 5e-324) {
        std::abort();
    }
    if (x >= 0) {
        checkResistanceTexts(x);
    }
    // A second double makes a complex value text; each part's engineering
    // text reads back to the part the text holds.
    if (size >= 2 * sizeof(double)) {
        double y = 0;
        std::memcpy(&y, data + sizeof(double), sizeof y);
        if (std::isfinite(y)) {
            const std::string text = ComplexText(x, y);
            const Complex c = ReadComplex(text);
            const EngParts parts = FormatEng(text);
            checkEng(c.re, parts.real);
            checkEng(c.im, parts.imag);
        }
    }
    return 0;
}
