#pragma once

namespace ferrovane {

// Geometry in twips (1/1440 inch).
struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const TwipsRect&) const = default;
};

// The band kept free at the bottom of the screen area (for the task bar).
inline constexpr int kBottomBandTwips = 150;

// Every window is centred in the maximised screen area less the bottom band,
// at its design size or smaller when the area is smaller.
TwipsRect placeWindow(int designWidth, int designHeight, const TwipsRect& area);

} // namespace ferrovane
