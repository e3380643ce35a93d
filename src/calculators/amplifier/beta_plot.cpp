#include "calculators/amplifier/beta_plot.h"

#include <cmath>
#include <string>
#include <vector>

#include "calculators/amplifier/cvb_model.h"
#include "numeric/eng_text.h"
#include "numeric/numeric_fault.h"

namespace ferrovane {
namespace {

constexpr const char* kGraph = "Graph";
constexpr const char* kCloseGraph = "Command2";
// The drawing fills the window's design size; the view scales it.
constexpr double kW = 15000;
constexpr double kH = 8560;
// The frame: its left edge a fixed share of the width, 15 twips in from the
// right, and 975 twips above the bottom for the beta labels and title.
constexpr double kLeftShare = 0.07792;
constexpr double kRightInset = 15;
constexpr double kBottomBand = 975;
constexpr double kMinorTick = 45;
constexpr double kMajorTick = 90;
constexpr double kCrossArm = 45;
constexpr double kLabelGap = 45;
constexpr double kCentreShift = 20;
constexpr double kTitleLeft = 10;

constexpr Colour kCyan = 0xFFFF00;
constexpr Colour kGridGrey = 0x888888;
// Beyond this many labels along the beta axis the ticks would merge.
constexpr int kMostBetaLabels = 1000;

const Font kFont{};

struct Axis {
    double start = 0;
    double end = 0;
    int labels = 0;
    int subdivisions = 5;
    double step() const { return (end - start) / (labels - 1); }
};

// Half to twice the design gain, on round figures. Each row takes the gains
// above the one before it, so that gains between the rows' round bounds
// (5.005) find a row too.
Axis betaAxis(double b) {
    auto axis = [](double start, double end, double step, int subdivisions) {
        return Axis{start, end, static_cast<int>(std::lround((end - start) / step)) + 1,
                    subdivisions};
    };
    if (b <= 2)
        return axis(1, 4, 0.5, 5);
    if (b <= 5)
        return axis(std::floor(b / 2), std::floor(2 * b + 0.5), 1, 5);
    if (b <= 15)
        return axis(2 * std::floor(b / 4), std::floor(2 * b + 0.5), 2, 5);
    if (b <= 30)
        return axis(5 * std::floor(b / 10), 10 * std::floor(b / 5 + 0.5), 5, 5);
    if (b <= 60)
        return axis(10 * std::floor(b / 20), 10 * std::floor(b / 5 + 0.5), 10, 5);
    if (b <= 120)
        return axis(20 * std::floor(b / 40), 20 * std::floor(b / 10 + 0.5), 20, 5);
    if (b <= 250)
        return axis(50 * std::floor(b / 100), 50 * std::floor(b / 25 + 0.5), 50, 5);
    if (b <= 500)
        return axis(100 * std::floor(b / 200), 100 * std::floor(b / 50 + 0.5), 100, 5);
    if (b <= 1000)
        return axis(200 * std::floor(b / 400), 200 * std::floor(b / 100 + 0.5), 200, 5);
    return axis(500 * std::floor(b / 1000), 500 * std::floor(b / 250 + 0.5), 500, 4);
}

// The first digit of a 1-2-5 top: 1, 2 or 5.
int leadingDigit(double top) {
    return static_cast<int>(std::lround(top / std::pow(10, std::floor(std::log10(top) + 1e-9))));
}

// 0 to a 1-2-5 top in milliamperes a little above the largest current. Tops
// of 1 x 10^k have six labels and four subdivisions, 2 x 10^k five labels and
// 5 x 10^k six, both with five subdivisions.
Axis currentAxis(double imax) {
    struct Row {
        double from; // the least current that takes this top
        bool inclusive;
        double top;
    };
    static const Row rows[] = {{490, false, 1000}, {199, true, 500}, {99, true, 200},
                               {49, true, 100},    {19.9, true, 50}, {9.9, true, 20},
                               {4.9, true, 10},    {1.99, true, 5},  {0.99, true, 2},
                               {0.49, true, 1},    {0, true, 0.5}};
    double top = 0.5;
    for (const Row& row : rows) {
        if (row.inclusive ? imax >= row.from : imax > row.from) {
            top = row.top;
            break;
        }
    }
    // Above 1 A the pattern goes on: the next top once the current passes
    // 99%, 99.5% or 98% of a top of 1, 2 or 5, as below.
    if (top == 1000) {
        for (;;) {
            const int digit = leadingDigit(top);
            if (!(imax > top * (digit == 1 ? 0.99 : digit == 2 ? 0.995 : 0.98)))
                break;
            top *= digit == 2 ? 2.5 : 2;
        }
    }
    checkFinite(top, "the collector current is out of range");
    const int digit = leadingDigit(top);
    return Axis{0, top, digit == 2 ? 5 : 6, digit == 1 ? 4 : 5};
}

// Lines of text in the window's own colour, in the place of the graph,
// one text height apart at whatever size the texts are shown.
void instructions(Drawing& d, const TextMetrics& m, const std::vector<std::string>& lines) {
    const double h = m.height(kFont);
    const double x = 5 + m.width("     ", kFont);
    const std::size_t first = d.items.size();
    for (std::size_t i = 0; i < lines.size(); ++i)
        d.text(x, (7 + static_cast<double>(i)) * h, lines[i], kFont, HAnchor::Left, VAnchor::Top,
               kWhite);
    d.makeBlock(first, 0, 0);
}

// The design of "CVBOutPut.dat" as the plot needs it; every number is 0
// when the file or its field is missing.
struct Design {
    double vcc = 0, beta = 0, re = 0, rb = 0, vbb = 0;

    // Collector current in milliamperes at gain `b`.
    double icAt(double b) const {
        return checkFinite(1000 * cvb::collectorCurrent(vbb, rb, re, b),
                           "the collector current of the design is not finite");
    }
};

Design readDesign(const CalcEnv& env) {
    const auto design = cvb::designFile().read(env.files);
    auto field = [&](const char* name) {
        if (!design)
            return 0.0;
        const auto it = design->find(name);
        return it == design->end() ? 0.0 : ReadNumber(it->second);
    };
    return {field(cvb::kVcc), field(cvb::kBeta), field(cvb::kRe), field(cvb::kRb),
            field(cvb::kVbb)};
}

// The frame in the drawing and the two axes.
struct Plot {
    double left = std::nearbyint(kLeftShare * kW);
    double right = kW - kRightInset;
    double bottom = kH - kBottomBand;
    double middle = (right + left) / 2 + kCentreShift;
    Axis bx, iy;

    // The tick spacing along each axis, and that of the labelled ticks.
    double dx() const { return (right - left) / ((bx.labels - 1) * bx.subdivisions); }
    double dy() const { return bottom / ((iy.labels - 1) * iy.subdivisions); }
    double xMajor() const { return dx() * bx.subdivisions; }
    double yMajor() const { return dy() * iy.subdivisions; }
};

void drawFrame(Drawing& d, const Plot& p) {
    d.line(p.left, 0, p.right, 0, kWhite);
    d.line(p.right, 0, p.right, p.bottom, kWhite);
    d.line(p.right, p.bottom, p.left, p.bottom, kWhite);
    d.line(p.left, p.bottom, p.left, 0, kWhite);
}

// The curve, one drawing unit along the beta axis at a time.
void drawCurve(Drawing& d, const Plot& p, const Design& design) {
    const double sx = (p.right - p.left) / (p.bx.end - p.bx.start);
    const double sy = p.bottom / p.iy.end;
    const int steps = static_cast<int>(p.right - p.left);
    d.items.reserve(d.items.size() + static_cast<std::size_t>(steps) + 1000);
    double px = p.left;
    double py = std::nearbyint(p.bottom - sy * design.icAt(p.bx.start));
    for (int i = 1; i <= steps; ++i) {
        const double beta = p.bx.start + i / sx;
        const double x = std::nearbyint((beta - p.bx.start) * sx + p.left);
        const double y = std::nearbyint(p.bottom - sy * design.icAt(beta));
        d.line(px, py, x, y, kCyan);
        px = x;
        py = y;
    }
}

// Ticks on all four sides, longer at the labelled divisions, and a cross
// at every labelled point inside.
void drawTicks(Drawing& d, const Plot& p) {
    const int xDivisions = (p.bx.labels - 1) * p.bx.subdivisions;
    for (int k = 0; k <= xDivisions; ++k) {
        const double x = p.left + k * p.dx();
        const double len = k % p.bx.subdivisions == 0 ? kMajorTick : kMinorTick;
        d.line(x, p.bottom, x, p.bottom - len, kWhite);
        d.line(x, 0, x, len, kWhite);
    }
    const int yDivisions = (p.iy.labels - 1) * p.iy.subdivisions;
    for (int k = 0; k <= yDivisions; ++k) {
        const double y = p.bottom - k * p.dy();
        const double len = k % p.iy.subdivisions == 0 ? kMajorTick : kMinorTick;
        d.line(p.left, y, p.left + len, y, kWhite);
        d.line(p.right, y, p.right - len, y, kWhite);
    }
    const double xMajor = p.xMajor();
    const double yMajor = p.yMajor();
    for (int i = 1; i < p.bx.labels - 1; ++i) {
        for (int j = 1; j < p.iy.labels - 1; ++j) {
            const double x = p.left + i * xMajor;
            const double y = p.bottom - j * yMajor;
            d.line(x - kCrossArm, y, x + kCrossArm, y, kGridGrey);
            d.line(x, y - kCrossArm, x, y + kCrossArm, kGridGrey);
        }
    }
}

// The current labels beside the left edge, the gains under the bottom one.
void drawLabels(Drawing& d, const Plot& p, const TextMetrics& m) {
    const double h = m.height(kFont);
    const double xMajor = p.xMajor();
    const double yMajor = p.yMajor();
    for (int j = 0; j < p.iy.labels; ++j) {
        const double y = p.bottom - j * yMajor;
        const std::string label = PlainNumber(j * p.iy.step());
        if (y - h / 2 < 0)
            d.text(p.left, 0, label, kFont, HAnchor::Right, VAnchor::Top, kWhite);
        else
            d.text(p.left, y, label, kFont, HAnchor::Right, VAnchor::Middle, kWhite);
    }
    for (int i = 0; i < p.bx.labels; ++i) {
        const std::string label = PlainNumber(p.bx.start + i * p.bx.step());
        const double half = m.width(label, kFont) / 2;
        double x = p.left + i * xMajor;
        if (x + half > p.right)
            x = p.right - half;
        d.text(x + kCentreShift, p.bottom + kLabelGap, label, kFont, HAnchor::Centre, VAnchor::Top,
               kWhite);
    }
}

void draw(Form& form, CalcEnv& env) {
    Drawing& d = form.drawing(kGraph);
    d.clear();
    d.background = kBlack;
    const TextMetrics& m = env.textMetrics();
    const double h = m.height(kFont);

    const Design design = readDesign(env);
    if (design.vcc == 0) {
        instructions(d, m,
                     {"You must run the \"Constant-voltage Transistor-biasing circuit\"",
                      "option from the main menu before you can run this option.",
                      "It will create a file containing the data for this program."});
        return;
    }
    Plot p;
    p.bx = betaAxis(design.beta);
    const double imax = design.icAt(p.bx.end);
    if (!(imax > 0) || p.bx.labels > kMostBetaLabels) {
        instructions(d, m,
                     {"The design in \"CVBOutPut.dat\" cannot be plotted: its transistor is",
                      "cut off or its current gain is out of range.  Run the",
                      "\"Constant-voltage Transistor-biasing circuit\" option again."});
        return;
    }
    p.iy = currentAxis(imax);

    drawFrame(d, p);
    drawCurve(d, p, design);
    const double b = design.beta;
    const double percent =
        std::floor((design.icAt(2 * b) - design.icAt(b / 2)) * 10000 / design.icAt(b) + 0.5) / 100;
    d.text(p.middle, p.bottom - 1.5 * h,
           "Percent change in Ic for Beta = " + PlainNumber(b / 2) + " to " + PlainNumber(2 * b) +
               " is " + PlainNumber(checkFinite(percent)) + "%",
           kFont, HAnchor::Centre, VAnchor::Top, kCyan);
    // Texts placed by text heights from the frame's bottom keep that distance
    // at the size they are shown.
    d.makeBlock(d.items.size() - 1, p.middle, p.bottom);
    drawTicks(d, p);
    drawLabels(d, p, m);
    d.text(kTitleLeft, p.bottom / 2 - h / 2, "Ic mA", kFont, HAnchor::Left, VAnchor::Top, kCyan);
    d.text(p.middle, p.bottom + kLabelGap + h, "Transistor Beta", kFont, HAnchor::Centre,
           VAnchor::Top, kCyan);
    d.makeBlock(d.items.size() - 1, p.middle, p.bottom);
}

// The graph is drawn once, as the window opens.
void setUp(Form& form, CalcEnv& env, bool) {
    draw(form, env);
}

FormSpec formSpec() {
    FormSpec f;
    f.name = "Form13";
    f.caption = "Collector Current Versis Beta";
    f.widthTwips = static_cast<int>(kW);
    f.heightTwips = static_cast<int>(kH);
    f.bottom = {DrawingSpec{kGraph, static_cast<int>(kW), static_cast<int>(kH),
                            "Collector current against transistor beta"}};
    f.closeName = kCloseGraph;
    f.buttons = {ButtonSpec{kCloseGraph, "Close Graph"}};
    return f;
}

Calculator makeBetaPlot() {
    Calculator calc;
    calc.form = formSpec();
    calc.setUp = setUp;
    return calc;
}

} // namespace

const Calculator& betaPlot() {
    static const Calculator calc = makeBetaPlot();
    return calc;
}

} // namespace ferrovane
