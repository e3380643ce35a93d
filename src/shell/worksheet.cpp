#include "shell/worksheet.h"

#include <algorithm>

namespace ferrovane {

namespace {

constexpr double kLeft = 1000; // twips: about 0.7 inch
constexpr double kTop = 1000;
constexpr double kLine = 280;          // 14 points: 11-point text with some air
constexpr double kPageBottom = 15000;  // as PrintWriter's pages end
constexpr double kPageWidth = 9900;    // an A4 or Letter sheet less both margins
constexpr double kPictureWidth = 4320; // three inches
constexpr double kPictureHeight = 2880;
constexpr std::size_t kLabelColumn = 34;
constexpr const char* kContinued = "  "; // before the further lines of a long label

std::string padded(std::string s, std::size_t width) {
    if (s.size() < width)
        s.append(width - s.size(), ' ');
    return s;
}

// A label the window shows on two or more lines, as one line: each line
// break and the blanks around it become one blank.
std::string oneLine(const std::string& label) {
    std::string out;
    bool broken = false;
    for (char c : label) {
        if (c == '\n' || c == '\r') {
            while (!out.empty() && out.back() == ' ')
                out.pop_back();
            broken = true;
        } else if (!(broken && c == ' ')) {
            if (broken && !out.empty())
                out += ' ';
            broken = false;
            out += c;
        }
    }
    return out;
}

// The label's words in lines of at most `width` characters (a longer word
// has a line to itself).
std::vector<std::string> wrapped(const std::string& text, std::size_t width) {
    std::vector<std::string> lines{""};
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = std::min(text.find(' ', at), text.size());
        const std::string word = text.substr(at, end - at);
        if (!lines.back().empty() && lines.back().size() + 1 + word.size() > width)
            lines.emplace_back();
        if (!word.empty())
            lines.back() += (lines.back().empty() ? "" : " ") + word;
        at = end + 1;
    }
    return lines;
}

// A label and its value: the value in its column beside the label's first
// line, the rest of a label too long for its column on lines of their own.
void printRow(PrintWriter& out, const std::string& label, const std::string& value) {
    const std::vector<std::string> lines = wrapped(oneLine(label), kLabelColumn);
    out.print(padded(lines.front(), kLabelColumn) + " " + value);
    for (std::size_t i = 1; i < lines.size(); ++i)
        out.print(kContinued + lines[i]);
}

// A drawing on a dark ground goes on white paper: its ground and white
// swap, and light colours are darkened until they read on white.
Drawing onPaper(Drawing d) {
    auto channel = [](Colour c, int shift) { return static_cast<double>((c >> shift) & 0xFF); };
    auto lightness = [&](Colour c) {
        return 0.299 * channel(c, 0) + 0.587 * channel(c, 8) + 0.114 * channel(c, 16);
    };
    constexpr double kDark = 110; // of 255: the lightest that reads on white
    if (lightness(d.background) > kDark)
        return d;
    const Colour ground = d.background;
    auto print = [&](Colour c) -> Colour {
        if (c == ground)
            return kWhite;
        if (c == kWhite)
            return kBlack;
        const double l = lightness(c);
        if (l <= kDark)
            return c;
        Colour out = 0;
        for (int shift : {0, 8, 16})
            out |= static_cast<Colour>(channel(c, shift) * kDark / l) << shift;
        return out;
    };
    d.background = kWhite;
    for (Primitive& item : d.items)
        std::visit([&](auto& p) { p.colour = print(p.colour); }, item);
    return d;
}

// Pictures and then drawings below the text of the last page, each on a
// page of its own where the rest of the page is too short.
void placeFigures(PrintJob& job, const std::vector<std::string>& pictures,
                  const std::vector<const Drawing*>& drawings) {
    double y = kTop;
    if (!job.pages.back().lines.empty())
        y = job.pages.back().lines.back().y + 2 * kLine;
    auto room = [&](double height) {
        if (y + height > kPageBottom && y > kTop) {
            job.pages.emplace_back();
            y = kTop;
        }
    };
    for (const auto& file : pictures) {
        room(kPictureHeight);
        job.pages.back().pictures.push_back(
            PrintPicture{kLeft, y, kPictureWidth, kPictureHeight, file});
        y += kPictureHeight + kLine;
    }
    for (const Drawing* d : drawings) {
        // The width of the page, the height as the drawing's shape gives it.
        const double height = kPageWidth * d->heightTwips / d->widthTwips;
        room(height);
        job.pages.back().drawings.push_back(
            PrintDrawing{kLeft, y, kPageWidth, height, onPaper(*d)});
        y += height + kLine;
    }
}

} // namespace

PrintJob worksheetJob(const Calculator& calc, const Form& form, const std::string& date) {
    const Font fixed{.points = 10, .bold = false, .fixedPitch = true};
    PrintWriter out(calc.form.caption, fixed, kLeft, kTop, kLine);
    out.print(calc.form.caption);
    out.print(date);
    out.print("");

    std::vector<std::string> pictures;
    std::vector<const Drawing*> drawings;
    forEachControl(calc.form, [&](const ControlSpec& item) {
        std::visit(
            [&](const auto& c) {
                using T = std::decay_t<decltype(c)>;
                if constexpr (std::is_same_v<T, BoxSpec>) {
                    if (!form.visible(c.name))
                        return;
                    const std::string label =
                        c.labelName.empty() ? c.label : form.text(c.labelName);
                    const std::string unit = c.unitName.empty() ? c.unit : form.text(c.unitName);
                    const std::string name = !label.empty()              ? label
                                             : !c.accessibleName.empty() ? c.accessibleName
                                                                         : c.name;
                    printRow(out, name, form.text(c.name) + (unit.empty() ? "" : " " + unit));
                } else if constexpr (std::is_same_v<T, ComboSpec>) {
                    if (form.visible(c.name))
                        printRow(out, c.label.empty() ? c.name : c.label,
                                 form.text(c.name) + (c.unit.empty() ? "" : " " + c.unit));
                } else if constexpr (std::is_same_v<T, GroupSpec>) {
                    const int n = form.option(c.name);
                    if (n > 0 && form.visible(c.options[n - 1].first))
                        printRow(out, c.caption.empty() ? "Option" : form.text(c.name),
                                 oneLine(form.text(c.options[n - 1].first)));
                } else if constexpr (std::is_same_v<T, CheckSpec>) {
                    if (form.visible(c.name))
                        out.print(std::string(form.checked(c.name) ? "[x] " : "[ ] ") +
                                  oneLine(form.text(c.name)));
                } else if constexpr (std::is_same_v<T, ListSpec>) {
                    const auto& lines = form.list(c.name);
                    if (lines.empty())
                        return;
                    out.print("");
                    if (!c.headerName.empty())
                        out.print(form.text(c.headerName));
                    for (const auto& line : lines)
                        out.print(line);
                } else if constexpr (std::is_same_v<T, PictureSpec>) {
                    if (form.visible(c.name) && !form.text(c.name).empty())
                        pictures.push_back(form.text(c.name));
                } else if constexpr (std::is_same_v<T, DrawingSpec>) {
                    const Drawing& d = form.drawing(c.name);
                    if (form.visible(c.name) && !d.items.empty() && d.widthTwips > 0 &&
                        d.heightTwips > 0)
                        drawings.push_back(&d);
                }
            },
            item);
    });
    PrintJob job = out.finish();
    placeFigures(job, pictures, drawings);
    return job;
}

} // namespace ferrovane
