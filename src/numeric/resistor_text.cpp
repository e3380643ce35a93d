#include <array>
#include <cmath>
#include <string>

#include "numeric/eng_text.h"
#include "numeric/numeric_fault.h"

namespace ferrovane {

// Resistances as a parts list writes them: a few digits with k or M, and the
// nearest value of the 5 % (E24) series.

std::string FormatOhms(double r) {
    if (!std::isfinite(r)) {
        throw NumericFault("a resistance is not a finite number");
    }
    double shown = 0;
    const char* suffix = " ";
    int decimals = 0;
    if (r < 9.995) {
        shown = std::floor(100 * r + 0.5) / 100;
        decimals = 2;
    } else if (r < 99.95) {
        shown = std::floor(10 * r + 0.5) / 10;
        decimals = 1;
    } else if (r < 999.5) {
        shown = std::floor(r + 0.5);
    } else if (r < 9995) {
        shown = std::floor(r / 10 + 0.5) / 100;
        suffix = " k";
        decimals = 2;
    } else if (r < 99950) {
        shown = std::floor(r / 100 + 0.5) / 10;
        suffix = " k";
        decimals = 1;
    } else if (r < 999500) {
        shown = std::floor(r / 1000 + 0.5);
        suffix = " k";
    } else if (r <= 9.995e6) {
        shown = std::floor(r / 10000 + 0.5) / 100;
        suffix = " M";
        decimals = 2;
    } else {
        shown = std::floor(r / 100000 + 0.5) / 10;
        suffix = " M";
        decimals = 1;
    }
    std::string s = PlainNumber(shown, LeadingBlank::Yes);
    if (decimals == 2) {
        if (s.size() == 2) {
            s += ".00";
        } else if (s.size() == 4) {
            s += "0";
        }
    } else if (decimals == 1 && s.size() == 3) {
        s += ".0";
    }
    // Dropping the first character (the blank of a non-negative number) is
    // why a negative resistance loses its sign here.
    s.erase(0, 1);
    s += suffix;
    if (s.size() < 6) {
        s.append(6 - s.size(), ' ');
    }
    return s;
}

StandardValue NearestStandardValue(double r) {
    if (!std::isfinite(r)) {
        throw NumericFault("a resistance is not a finite number");
    }
    if (r == 0) {
        return {0, ""};
    }
    // E24 of IEC 60063, in tenths so that every decade is an exact product.
    static constexpr std::array<int, 24> kE24Tenths = {10, 11, 12, 13, 15, 16, 18, 20,
                                                       22, 24, 27, 30, 33, 36, 39, 43,
                                                       47, 51, 56, 62, 68, 75, 82, 91};
    std::array<double, 170> table{};
    table[0] = 0;
    double decade = 1;
    for (int k = 0; k < 7; ++k) {
        for (std::size_t j = 0; j < kE24Tenths.size(); ++j) {
            table[1 + 24 * static_cast<std::size_t>(k) + j] = kE24Tenths[j] * decade / 10;
        }
        decade *= 10;
    }
    table[169] = 10000000;

    std::size_t i = 1;
    while (i < 169 && !(table[i] > r)) {
        ++i;
    }
    const double e1 = std::fabs(r - table[i]) / r;
    const double e0 = std::fabs(r - table[i - 1]) / r;
    const double snapped = e1 < e0 ? table[i] : table[i - 1];

    double written = 0;
    const char* suffix = " ";
    if (snapped < 9.5) {
        written = std::floor(10 * snapped + 0.5) / 10;
    } else if (snapped < 950) {
        written = std::floor(snapped + 0.5);
    } else if (snapped < 9500) {
        written = std::floor(10 * snapped + 0.5) / 10000;
        suffix = " k";
    } else if (snapped <= 950000) {
        written = std::floor(snapped + 0.5) / 1000;
        suffix = " k";
    } else {
        written = std::floor(snapped / 100000 + 0.5) / 10;
        suffix = " M";
    }
    return {snapped, PlainNumber(written, LeadingBlank::No) + suffix};
}

} // namespace ferrovane
