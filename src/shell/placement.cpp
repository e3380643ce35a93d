#include "shell/placement.h"

#include <algorithm>

namespace ferrovane {

TwipsRect placeWindow(int designWidth, int designHeight, const TwipsRect& area) {
    const int usableHeight = std::max(0, area.height - kBottomBandTwips);
    const int w = std::min(designWidth, area.width);
    const int h = std::min(designHeight, usableHeight);
    return {area.left + (area.width - w) / 2, area.top + (usableHeight - h) / 2, w, h};
}

} // namespace ferrovane
