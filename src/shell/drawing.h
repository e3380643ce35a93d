#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace ferrovane {

// Colours as the calculators name them: &HBBGGRR, blue in the high byte.
using Colour = std::uint32_t;
inline constexpr Colour kBlack = 0x000000;
inline constexpr Colour kWhite = 0xFFFFFF;
inline constexpr Colour kRed = 0x0000FF;
inline constexpr Colour kGreen = 0x00FF00;
inline constexpr Colour kBlue = 0xFF0000;
inline constexpr Colour kGrey = 0xC0C0C0;

struct Font {
    double points = 8.25;
    bool bold = false;
    bool fixedPitch = false;
    bool operator==(const Font&) const = default;
};

// Where a text stands relative to its point: the point is its top-left
// corner unless the anchor says otherwise.
enum class HAnchor { Left, Centre, Right };
enum class VAnchor { Top, Middle, Bottom };

// An item belongs to no block, or to the block of this index in
// Drawing::blocks.
inline constexpr int kNoBlock = -1;

struct LinePrimitive {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0; // twips
    Colour colour = kBlack;
    double widthTwips = 15; // one pixel at 96 dpi
    int block = kNoBlock;
    bool operator==(const LinePrimitive&) const = default;
};

struct TextPrimitive {
    double x = 0, y = 0; // twips
    std::string text;
    Colour colour = kBlack;
    Font font;
    HAnchor h = HAnchor::Left;
    VAnchor v = VAnchor::Top;
    bool vertical = false; // read bottom to top, as a y-axis title
    int block = kNoBlock;
    bool operator==(const TextPrimitive&) const = default;
};

// A filled rectangle without an outline, such as the ground behind a legend.
struct RectPrimitive {
    double x = 0, y = 0, width = 0, height = 0; // twips, from its top-left corner
    Colour colour = kBlack;
    int block = kNoBlock;
    bool operator==(const RectPrimitive&) const = default;
};

// Items that keep together at the size of the drawing's texts: a legend,
// whose marks and ground must stay with its texts where a view keeps the
// texts from shrinking with the drawing. Its items are in the drawing's
// twips like any other; a view scales their distances from the block's
// anchor as it scales the texts.
struct Block {
    double x = 0, y = 0; // the anchor, in twips
    bool operator==(const Block&) const = default;
};

using Primitive = std::variant<LinePrimitive, TextPrimitive, RectPrimitive>;

// A display list in twips, built by the core and painted by the view,
// scaled to the widget. Texts are also what assistive technology reads.
struct Drawing {
    double widthTwips = 0;
    double heightTwips = 0;
    Colour background = kWhite;
    std::vector<Primitive> items;
    std::vector<Block> blocks;

    void line(double x1, double y1, double x2, double y2, Colour colour = kBlack,
              double widthTwips = 15) {
        items.emplace_back(LinePrimitive{x1, y1, x2, y2, colour, widthTwips});
    }
    void text(double x, double y, std::string s, Font font = {}, HAnchor h = HAnchor::Left,
              VAnchor v = VAnchor::Top, Colour colour = kBlack) {
        items.emplace_back(TextPrimitive{x, y, std::move(s), colour, font, h, v, false});
    }
    void rect(double x, double y, double width, double height, Colour colour) {
        items.emplace_back(RectPrimitive{x, y, width, height, colour});
    }
    // The items from index `first` on form a block anchored at (x, y).
    void makeBlock(std::size_t first, double x, double y);
    // The texts in the order they were drawn.
    std::vector<std::string> texts() const;
    void clear() {
        items.clear();
        blocks.clear();
    }
    bool operator==(const Drawing&) const = default;
};

// Text sizes in twips, for placement rules that depend on them. The view
// answers with the real font; tests and the core default use fixed metrics.
class TextMetrics {
public:
    virtual ~TextMetrics() = default;
    virtual double width(const std::string& text, const Font& font) const = 0;
    virtual double height(const Font& font) const = 0;
};

// Every character 0.6 em wide, a line 1.2 em high (an em is the point size
// in twips: 20 twips a point).
class FixedTextMetrics : public TextMetrics {
public:
    double width(const std::string& text, const Font& font) const override;
    double height(const Font& font) const override;
};

} // namespace ferrovane
