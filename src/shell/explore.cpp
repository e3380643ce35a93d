#include "shell/explore.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <set>

#include "shell/window_cycle.h"

namespace ferrovane {

std::string valueText(double v) {
    char text[40];
    std::snprintf(text, sizeof text, "%.15g", v);
    return text;
}

std::vector<double> sweepPoints(double from, double to, int points, bool log) {
    std::vector<double> x;
    for (int i = 0; i < points; ++i) {
        const double t = points == 1 ? 0.0 : static_cast<double>(i) / (points - 1);
        x.push_back(log ? from * std::pow(to / from, t) : from + (to - from) * t);
    }
    if (points > 1)
        x.back() = to; // the far end exactly, whatever the rounding on the way
    return x;
}

namespace {

using Settings = std::vector<std::pair<std::string, double>>;

struct Point {
    Form before; // the form as set, before the press
    Form after;
    std::vector<Message> messages;
};

// One run on a copy of the base form: the boxes set as typing would set
// them, then the press.
Point runPoint(const ExploreBase& base, const Settings& settings) {
    RecordingDialogs dialogs(base.answer);
    // The folder of what-if runs is a scratch copy: nothing in it need
    // survive a crash, so its writes skip the wait for the disk.
    DataDir scratch = *base.dir;
    scratch.setDurable(false);
    CalcEnv env{dialogs, scratch};
    Point p{base.form, {}, {}};
    for (const auto& [box, value] : settings)
        editBox(*base.calc, p.before, env, box, valueText(value));
    p.after = p.before;
    pressButton(*base.calc, p.after, env, base.press);
    p.messages = std::move(dialogs.shown);
    return p;
}

bool isBox(const ExploreBase& base, const std::string& name) {
    const auto boxes = boxesOf(*base.calc);
    return std::any_of(boxes.begin(), boxes.end(),
                       [&](const BoxSpec& b) { return b.name == name; });
}

std::optional<std::string> checkBase(const ExploreBase& base) {
    if (!base.calc || !base.dir)
        return "Nothing to run.";
    if (!base.form.has(base.press))
        return "There is no button \"" + base.press + "\".";
    return std::nullopt;
}

std::vector<Quantity> outputsOf(const ExploreBase& base, const std::vector<Quantity>& asked,
                                const Point& p) {
    return asked.empty() ? resultQuantities(*base.calc, p.before, p.after) : asked;
}

} // namespace

std::optional<std::string> checkSweep(const ExploreBase& base, const SweepRequest& r) {
    if (auto why = checkBase(base))
        return why;
    if (!isBox(base, r.box))
        return "There is no box \"" + r.box + "\" to sweep.";
    if (!std::isfinite(r.from) || !std::isfinite(r.to))
        return "The sweep's ends must be numbers.";
    if (r.points < 2 || r.points > kMaxSweepPoints)
        return "A sweep takes 2 to " + std::to_string(kMaxSweepPoints) + " points.";
    if (r.log && (r.from <= 0 || r.to <= 0))
        return "A logarithmic sweep needs both ends above zero.";
    return std::nullopt;
}

std::optional<SweepResult> runSweep(const ExploreBase& base, const SweepRequest& r,
                                    Progress& progress) {
    SweepResult out;
    for (const BoxSpec& b : boxesOf(*base.calc))
        if (b.name == r.box)
            out.input = b.label.empty() ? b.name : b.label;
    out.x = sweepPoints(r.from, r.to, r.points, r.log);
    out.outputs = r.outputs;
    bool outputsKnown = !r.outputs.empty();
    for (std::size_t i = 0; i < out.x.size(); ++i) {
        if (progress.cancelled())
            return std::nullopt;
        Point p = runPoint(base, {{r.box, out.x[i]}});
        if (!outputsKnown && p.messages.empty()) {
            out.outputs = outputsOf(base, r.outputs, p);
            outputsKnown = true;
        }
        if (!p.messages.empty()) {
            const int at = static_cast<int>(i);
            const std::string& text = p.messages.front().text;
            if (!out.gaps.empty() && out.gaps.back().last == at - 1 &&
                out.gaps.back().message == text)
                out.gaps.back().last = at;
            else
                out.gaps.push_back({at, at, text});
        }
        // Points before the first completed one ended on messages: their rows
        // are empty whatever the outputs turn out to be.
        out.y.push_back(p.messages.empty() ? readQuantities(p.after, out.outputs)
                                           : std::vector<std::optional<double>>());
        progress.report(static_cast<double>(i + 1) / static_cast<double>(out.x.size()));
    }
    for (auto& row : out.y)
        row.resize(out.outputs.size());
    return out;
}

std::optional<std::string> checkTolerance(const ExploreBase& base, const ToleranceRequest& r) {
    if (auto why = checkBase(base))
        return why;
    if (r.inputs.empty())
        return "Name at least one input and its tolerance.";
    for (const auto& [box, percent] : r.inputs) {
        if (!isBox(base, box))
            return "There is no box \"" + box + "\" to vary.";
        if (!(percent > 0 && percent <= kMaxTolerancePercent))
            return "A tolerance is more than 0 % and at most " + valueText(kMaxTolerancePercent) +
                   " %.";
    }
    if (r.worstCase && static_cast<int>(r.inputs.size()) > kMaxCornerInputs)
        return "The worst case takes at most " + std::to_string(kMaxCornerInputs) + " inputs.";
    if (!r.worstCase && (r.runs < 1 || r.runs > kMaxRuns))
        return "Monte Carlo takes 1 to " + std::to_string(kMaxRuns) + " runs.";
    return std::nullopt;
}

namespace {

void summarise(Spread& s) {
    const auto& v = s.values;
    if (v.empty())
        return;
    s.min = *std::min_element(v.begin(), v.end());
    s.max = *std::max_element(v.begin(), v.end());
    double sum = 0;
    for (double x : v)
        sum += x;
    s.mean = sum / static_cast<double>(v.size());
    double sq = 0;
    for (double x : v)
        sq += (x - s.mean) * (x - s.mean);
    s.stddev = v.size() > 1 ? std::sqrt(sq / static_cast<double>(v.size() - 1)) : 0;
}

// The settings of run i: random within the tolerances, or corner i.
Settings settingsOf(const ToleranceRequest& r, const std::vector<double>& nominal, int i,
                    std::mt19937_64& rng) {
    Settings s;
    for (std::size_t k = 0; k < r.inputs.size(); ++k) {
        double u;
        if (r.worstCase)
            u = ((i >> k) & 1) ? 1.0 : -1.0;
        else
            u = 2.0 * static_cast<double>(rng() >> 11) * 0x1.0p-53 - 1.0;
        s.emplace_back(r.inputs[k].first, nominal[k] * (1 + r.inputs[k].second / 100 * u));
    }
    return s;
}

} // namespace

std::optional<ToleranceResult> runTolerance(const ExploreBase& base, const ToleranceRequest& r,
                                            Progress& progress) {
    std::vector<double> nominal;
    for (const auto& input : r.inputs)
        nominal.push_back(base.form.number(input.first));
    const Point centre = runPoint(base, {});
    ToleranceResult out;
    for (const Quantity& q : outputsOf(base, r.outputs, centre)) {
        Spread s{.output = q};
        if (centre.messages.empty())
            s.nominal = readQuantity(centre.after, q);
        out.spreads.push_back(std::move(s));
    }
    out.runs = r.worstCase ? 1 << r.inputs.size() : r.runs;
    std::mt19937_64 rng(r.seed);
    std::set<std::string> seen;
    for (int i = 0; i < out.runs; ++i) {
        if (progress.cancelled())
            return std::nullopt;
        const Point p = runPoint(base, settingsOf(r, nominal, i, rng));
        for (const Message& m : p.messages)
            if (seen.insert(m.text).second)
                out.messages.push_back(m.text);
        std::vector<Quantity> outputs;
        for (const Spread& s : out.spreads)
            outputs.push_back(s.output);
        const auto values = p.messages.empty() ? readQuantities(p.after, outputs)
                                               : std::vector<std::optional<double>>(outputs.size());
        for (std::size_t k = 0; k < out.spreads.size(); ++k) {
            if (values[k])
                out.spreads[k].values.push_back(*values[k]);
            else
                ++out.spreads[k].failed;
        }
        progress.report(static_cast<double>(i + 1) / out.runs);
    }
    for (Spread& s : out.spreads)
        summarise(s);
    return out;
}

} // namespace ferrovane
