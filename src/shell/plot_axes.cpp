#include "shell/plot_axes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "numeric/eng_text.h"

namespace ferrovane {

namespace {

// Engineering text covers these magnitudes; outside them it shows zero or
// its out-of-range text.
constexpr double kEngSmallest = 9.9995e-16;
constexpr double kEngLargest = 9.9995e12;

double logOf(double v) {
    return std::log10(v);
}

// 1, 2 or 5 times a power of ten, at least raw.
double roundStep(double raw) {
    const double decade = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0})
        if (m * decade >= raw * (1 - 1e-9))
            return m * decade;
    return 10 * decade;
}

double stepFor(double lo, double hi, int target) {
    const double span = hi - lo;
    if (!(span > 0) || !std::isfinite(span))
        return 0;
    return roundStep(span / std::max(1, target - 1));
}

} // namespace

double PlotScale::toX(double x) const {
    const double t =
        logX ? (logOf(x) - logOf(xMin)) / (logOf(xMax) - logOf(xMin)) : (x - xMin) / (xMax - xMin);
    return left + t * (right - left);
}

double PlotScale::toY(double y) const {
    return bottom - (y - yMin) / (yMax - yMin) * (bottom - top);
}

double PlotScale::xAt(double twips) const {
    const double t = (twips - left) / (right - left);
    return logX ? std::pow(10.0, logOf(xMin) + t * (logOf(xMax) - logOf(xMin)))
                : xMin + t * (xMax - xMin);
}

double PlotScale::yAt(double twips) const {
    return yMin + (bottom - twips) / (bottom - top) * (yMax - yMin);
}

bool PlotScale::inside(double xTwips, double yTwips) const {
    return xTwips >= left && xTwips <= right && yTwips >= top && yTwips <= bottom;
}

std::vector<double> linearTicks(double lo, double hi, int target) {
    const double step = stepFor(lo, hi, target);
    if (step == 0)
        return {lo};
    std::vector<double> ticks;
    // Whole multiples of the step, so that zero is exactly zero.
    for (double k = std::ceil(lo / step - 1e-9); k * step <= hi + step * 1e-9; ++k)
        ticks.push_back(k * step);
    return ticks;
}

void roundOut(double& lo, double& hi, int target) {
    const double step = stepFor(lo, hi, target);
    if (step == 0)
        return;
    lo = std::floor(lo / step + 1e-9) * step;
    hi = std::ceil(hi / step - 1e-9) * step;
}

std::vector<double> logTicks(double lo, double hi) {
    std::vector<double> decades;
    for (double e = std::ceil(logOf(lo) - 1e-9); e <= std::floor(logOf(hi) + 1e-9); ++e)
        decades.push_back(std::pow(10.0, e));
    if (decades.size() > 8) {
        // Every second, third ... decade, so that the labels keep apart.
        const std::size_t every = (decades.size() + 7) / 8;
        std::vector<double> some;
        for (std::size_t i = 0; i < decades.size(); i += every)
            some.push_back(decades[i]);
        return some;
    }
    if (decades.size() >= 2)
        return decades;
    std::vector<double> round;
    for (double e = std::floor(logOf(lo)); e <= std::ceil(logOf(hi)); ++e)
        for (double m : {1.0, 2.0, 5.0}) {
            const double v = m * std::pow(10.0, e);
            if (v >= lo * (1 - 1e-9) && v <= hi * (1 + 1e-9))
                round.push_back(v);
        }
    return round.size() >= 2 ? round : linearTicks(lo, hi, 4);
}

std::string axisNumber(double v) {
    const double a = std::abs(v);
    if (a == 0 || (a > kEngSmallest && a < kEngLargest))
        return TrimBlanks(FormatEng(v));
    char text[32];
    std::snprintf(text, sizeof text, "%.3e", v);
    return text;
}

} // namespace ferrovane
