// ngspice's output read back: whatever a simulator prints, parseMeasurements
// returns only finite values under plain lower-case names, and a comment made
// from any text stays one line of printable characters.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "shell/spice.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (const auto& [name, value] : ferrovane::parseMeasurements(text)) {
        if (name.empty() || !std::isfinite(value))
            std::abort();
        for (char c : name)
            if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_'))
                std::abort();
    }
    const std::string comment = ferrovane::spiceComment(text);
    if (comment.size() > 200)
        std::abort();
    for (char c : comment)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            std::abort();
    return 0;
}
