#include "shell/drawing.h"

namespace ferrovane {

std::vector<std::string> Drawing::texts() const {
    std::vector<std::string> out;
    for (const Primitive& p : items)
        if (const auto* t = std::get_if<TextPrimitive>(&p))
            out.push_back(t->text);
    return out;
}

void Drawing::makeBlock(std::size_t first, double x, double y) {
    const int index = static_cast<int>(blocks.size());
    blocks.push_back(Block{x, y});
    for (std::size_t i = first; i < items.size(); ++i)
        std::visit([index](auto& item) { item.block = index; }, items[i]);
}

namespace {
constexpr double kTwipsPerPoint = 20;
}

double FixedTextMetrics::width(const std::string& text, const Font& font) const {
    // Characters, not bytes: a UTF-8 continuation byte adds nothing.
    std::size_t chars = 0;
    for (unsigned char c : text)
        chars += (c & 0xC0) != 0x80;
    return static_cast<double>(chars) * 0.6 * font.points * kTwipsPerPoint;
}

double FixedTextMetrics::height(const Font& font) const {
    return 1.2 * font.points * kTwipsPerPoint;
}

} // namespace ferrovane
