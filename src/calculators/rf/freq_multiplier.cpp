#include "calculators/rf/freq_multiplier.h"

#include <cmath>
#include <string>

#include "numeric/eng_text.h"
#include "numeric/numeric_fault.h"

namespace ferrovane {
namespace freqmult {

namespace {
constexpr int kPrimeCount = 183;
}

const std::vector<int>& primeTable() {
    static const std::vector<int> primes = [] {
        std::vector<int> p;
        for (int n = 2; static_cast<int>(p.size()) < kPrimeCount; ++n) {
            bool prime = true;
            for (int q : p)
                if (n % q == 0) {
                    prime = false;
                    break;
                }
            if (prime)
                p.push_back(n);
        }
        return p;
    }();
    return primes;
}

// Exact trial division: a factor divides or it does not, with no rounding
// to lose the next one.
Factors factor(std::int64_t n) {
    Factors f;
    for (int p : primeTable()) {
        if (n <= 1)
            break;
        int count = 0;
        while (n % p == 0) {
            n /= p;
            ++count;
        }
        if (count > 0)
            f.primes.emplace_back(p, count);
    }
    f.rest = n;
    return f;
}

} // namespace freqmult

namespace {

constexpr const char* kFo = "TxtFo";
constexpr const char* kF1 = "TxtF1";
constexpr const char* kF2 = "TxtF2";
constexpr const char* kList = "List1";
constexpr const char* kDashes = "-------------------------------------";

constexpr const char* kRangeReversed =
    "In Range of Crystal Frequencies\r\n'From must be less than 'To'.";
constexpr const char* kNotMultiplier =
    "To have meaning as a frequency multiplyer the\r\noutput frequency must be 2 or more times "
    "\r\nhigher than the highest crystal frequency.";
constexpr const char* kNoLowestCrystal =
    "The lowest crystal frequency ('From') must be greater than zero.";
// More factors than anyone reads through; the list would take long to fill.
constexpr double kMaxFactors = 10000;
constexpr const char* kTooManyFactors =
    "This range of crystal frequencies gives more than 10,000 multiplying factors.\r\nNarrow "
    "the range or raise the lowest crystal frequency.";
// Factors stay exact whole numbers well below 2^53.
constexpr double kLargestFactor = 1e15;

void CmdCalc_Click(Form& form, CalcEnv& env) {
    const double fo = form.number(kFo);
    const double f1 = form.number(kF1);
    const double f2 = form.number(kF2);
    if (!(f2 > f1)) {
        env.dialogs.say(kRangeReversed);
        return;
    }
    if (2 * f2 > fo) {
        env.dialogs.say(kNotMultiplier);
        return;
    }
    if (!(f1 > 0)) {
        env.dialogs.say(kNoLowestCrystal);
        return;
    }
    const double nMin = std::ceil(checkFinite(fo / f2));
    const double nMax = std::floor(checkFinite(fo / f1));
    if (nMax - nMin + 1 > kMaxFactors) {
        env.dialogs.say(kTooManyFactors);
        return;
    }
    if (nMax > kLargestFactor)
        throw NumericFault("the multiplying factors are too large to factor");

    std::vector<std::string> lines;
    for (auto n = static_cast<std::int64_t>(nMin); n <= static_cast<std::int64_t>(nMax); ++n) {
        lines.push_back(kDashes);
        lines.push_back("  Multiplying factor = " + PlainNumber(static_cast<double>(n)));
        lines.push_back("   Crystal Frequency = " +
                        PlainNumber(std::floor(fo / static_cast<double>(n) + 0.5)));
        const freqmult::Factors f = freqmult::factor(n);
        for (const auto& [prime, count] : f.primes)
            lines.push_back("      The Factor " + std::to_string(prime) + " occurs " +
                            std::to_string(count) + " time(s)");
        // What is left has only prime factors beyond the table: one or more
        // large primes, an awkward chain either way.
        if (f.rest > 1)
            lines.push_back("      The rest, " + std::to_string(f.rest) +
                            ", has no prime factor up to " +
                            std::to_string(freqmult::primeTable().back()));
    }
    lines.push_back(kDashes);
    form.list(kList) = std::move(lines);
}

FormSpec formSpec() {
    FormSpec f;
    f.name = "Form10";
    f.caption = "Frequency Multiplyer Calculator";
    f.widthTwips = 5835;
    f.heightTwips = 6135;
    f.left = {
        box(kFo, "Output Frequency, Hz", ""),
        frame("FrameRange", "Range of Crystal Frequency in Hertz.", Direction::Vertical,
              {box(kF1, "From", ""), box(kF2, "To", "")}),
    };
    f.bottom = {ListSpec{kList, "", "", 14}};
    f.clearCaption = "Clear";
    return f;
}

Calculator makeFreqMultiplier() {
    Calculator calc;
    calc.form = formSpec();
    calc.dataFile = "FreqMult.dat";
    calc.fields = {{FieldKind::Eng, kFo}, {FieldKind::Eng, kF1}, {FieldKind::Eng, kF2}};
    calc.clearBoxes = {kFo, kF1, kF2};
    calc.calculate = CmdCalc_Click;
    return calc;
}

} // namespace

const Calculator& freqMultiplier() {
    static const Calculator calc = makeFreqMultiplier();
    return calc;
}

} // namespace ferrovane
