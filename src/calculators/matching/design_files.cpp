#include "calculators/matching/design_files.h"

#include <stdexcept>

namespace ferrovane::designs {
namespace {

// How a design's list shows each value: caption, then the engineering
// text, then the unit.
struct LineCaption {
    const char* box;
    const char* caption;
    const char* unit;
};
constexpr LineCaption kLineCaptions[] = {
    {kF, "Frequency =", "Hertz"},   {kR1, "       R1 =", "Ohms"},   {kL, "        L =", "Henrys"},
    {kC1, "       C1 =", "Farads"}, {kC2, "       C2 =", "Farads"}, {kQ, "        Q =", ""},
    {kRL, "       RL =", "Ohms"},
};

const LineCaption& captionOf(const std::string& box) {
    for (const LineCaption& c : kLineCaptions)
        if (box == c.box)
            return c;
    throw std::out_of_range("no design line for " + box);
}

} // namespace

const DesignFile& capDivider() {
    static const DesignFile file{"CapDivDesign.DAT", true, {kF, kR1, kL, kRc, kC1, kC2, kRL, kQ}};
    return file;
}

const DesignFile& piNetwork() {
    static const DesignFile file{"PiNetDesign.DAT", true, {kF, kR1, kC1, kL, kRc, kC2, kRL, kQ}};
    return file;
}

void save(const DesignFile& design, const std::map<std::string, std::string>& values,
          CalcEnv& env) {
    const WriteResult written = design.write(env.files, values);
    if (!written)
        env.dialogs.show(Message{"The design could not be saved in \"" + design.fileName +
                                     "\":\r\n" + written.error,
                                 kAppTitle, MessageIcon::Exclamation});
}

void listAndSave(Form& form, CalcEnv& env, const std::string& list, const DesignFile& design,
                 const std::vector<std::pair<std::string, double>>& values,
                 const std::string& losslessCoil) {
    std::map<std::string, std::string> texts{{kRc, losslessCoil}};
    std::vector<std::string> lines;
    for (const auto& [box, value] : values) {
        const LineCaption& c = captionOf(box);
        texts[box] = engText(value);
        lines.push_back(c.caption + texts[box] + c.unit);
    }
    form.list(list) = std::move(lines);
    save(design, texts, env);
}

} // namespace ferrovane::designs
