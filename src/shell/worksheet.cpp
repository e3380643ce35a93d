#include "shell/worksheet.h"

#include <algorithm>

namespace ferrovane {

namespace {

constexpr double kLeft = 1000; // twips: about 0.7 inch
constexpr double kTop = 1000;
constexpr double kLine = 280;          // 14 points: 11-point text with some air
constexpr double kPictureWidth = 4320; // three inches
constexpr double kPictureHeight = 2880;
constexpr std::size_t kLabelColumn = 34;

std::string padded(std::string s, std::size_t width) {
    if (s.size() < width)
        s.append(width - s.size(), ' ');
    return s;
}

} // namespace

PrintJob worksheetJob(const Calculator& calc, const Form& form, const std::string& date) {
    const Font fixed{.points = 10, .bold = false, .fixedPitch = true};
    PrintWriter out(calc.form.caption, fixed, kLeft, kTop, kLine);
    out.print(calc.form.caption);
    out.print(date);
    out.print("");

    std::vector<std::string> pictures;
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
                    out.print(padded(name, kLabelColumn) + " " + form.text(c.name) +
                              (unit.empty() ? "" : " " + unit));
                } else if constexpr (std::is_same_v<T, ComboSpec>) {
                    if (form.visible(c.name))
                        out.print(padded(c.label.empty() ? c.name : c.label, kLabelColumn) + " " +
                                  form.text(c.name) + (c.unit.empty() ? "" : " " + c.unit));
                } else if constexpr (std::is_same_v<T, GroupSpec>) {
                    const int n = form.option(c.name);
                    if (n > 0 && form.visible(c.options[n - 1].first))
                        out.print(
                            padded(c.caption.empty() ? "Option" : form.text(c.name), kLabelColumn) +
                            " " + form.text(c.options[n - 1].first));
                } else if constexpr (std::is_same_v<T, CheckSpec>) {
                    if (form.visible(c.name))
                        out.print(std::string(form.checked(c.name) ? "[x] " : "[ ] ") +
                                  form.text(c.name));
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
                }
            },
            item);
    });
    PrintJob job = out.finish();
    // Pictures go below the text of the last page, or on a page of their own.
    double y = kTop;
    if (!job.pages.back().lines.empty())
        y = job.pages.back().lines.back().y + 2 * kLine;
    for (const auto& file : pictures) {
        if (y + kPictureHeight > 15000) {
            job.pages.emplace_back();
            y = kTop;
        }
        job.pages.back().pictures.push_back(
            PrintPicture{kLeft, y, kPictureWidth, kPictureHeight, file});
        y += kPictureHeight + kLine;
    }
    return job;
}

} // namespace ferrovane
