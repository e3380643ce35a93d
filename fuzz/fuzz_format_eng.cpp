// FormatEng over arbitrary doubles: the text has the 11-character engineering
// shape or is the out-of-range text, and it reads back to the value it shows.
// The other number texts of the same value must not fail either.
#include "numeric/eng_text.h"
#include "numeric/numeric_fault.h"

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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < sizeof(double)) {
        return 0;
    }
    double x = 0;
    std::memcpy(&x, data, sizeof x);
    const std::string s = FormatEng(x);
    if (s.find("nan") != std::string::npos || s.find("inf") != std::string::npos) {
        std::abort();
    }
    const double ax = std::fabs(x);
    if (!std::isfinite(x) || ax > 9.9995e12) {
        if (s != std::string(x < 0 ? "-" : "+") + "*.***E\u00B1* ") {
            std::abort();
        }
    } else {
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
            if (std::fabs(std::fabs(shown) - ax) > 0.5 * unit * (1 + 1e-9) ||
                (shown < 0) != (x < 0)) {
                std::abort();
            }
        }
    }
    if (std::isfinite(x)) {
        const std::string plain = PlainNumber(x, LeadingBlank::Yes);
        const double back = ReadNumber(plain);
        if (std::fabs(back - x) > 5.2e-15 * ax + 5e-324) {
            std::abort();
        }
        if (x >= 0) {
            const std::string ohms = FormatOhms(x);
            const StandardValue v = NearestStandardValue(x);
            if (ohms.size() < 6 || (x > 0 && v.text.empty()) || v.value < 0 || v.value > 1e7) {
                std::abort();
            }
        }
    }
    return 0;
}
