// The data-file reader alone over arbitrary bytes, fast enough to explore
// long inputs: the fields and the whole lines it cuts the bytes into must
// match a splitting worked out here in another way, and come back unchanged
// when written as writeLines writes them and read again; a file of the
// bytes reads the same, and a design file read from it holds the fields
// after its flag line. Opening the calculators over the bytes is
// fuzz_calculator_load's part.
#include "fuzz_support.h"
#include "shell/data_dir.h"
#include "shell/design_file.h"

#include <algorithm>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

using namespace ferrovane;
using namespace ferrovane::fuzz;

namespace {

using Items = std::vector<std::string>;

// As many items as the reader gives by default.
constexpr std::size_t kMaxItems = 256;

// The fields and the lines of the bytes worked out line by line, the lines
// as the standard library's getline gives them.
struct Expected {
    Items fields;
    Items lines;
};

Expected byGetline(const std::string& bytes) {
    Expected expected;
    // An item loses one carriage return at its end.
    const auto add = [](Items& items, std::string_view item) {
        if (items.size() < kMaxItems) {
            if (!item.empty() && item.back() == '\r') {
                item.remove_suffix(1);
            }
            items.push_back(FromWindows1252(item));
        }
    };
    std::istringstream in(bytes);
    for (std::string line; std::getline(in, line);) {
        const bool ended = !in.eof();
        add(expected.lines, line);
        // The fields are the pieces between commas, less their leading
        // blanks and tabs; after the last comma of an unended last line only
        // when something follows it.
        for (std::string_view rest = line;;) {
            const std::size_t comma = rest.find(',');
            std::string_view piece = rest.substr(0, comma);
            if (comma == std::string_view::npos && piece.empty() && !ended) {
                break;
            }
            piece.remove_prefix(std::min(piece.find_first_not_of(" \t"), piece.size()));
            add(expected.fields, piece);
            if (comma == std::string_view::npos) {
                break;
            }
            rest.remove_prefix(comma + 1);
        }
    }
    return expected;
}

// A design file read from a file of the bytes holds the fields after the
// flag line, by name, as far as the file goes.
void checkDesign(const DataDir& dir, const Items& fields) {
    const DesignFile design{"in.dat", true, {"A", "B", "C", "D"}};
    const auto values = design.read(dir);
    require(values.has_value());
    const std::size_t after = fields.empty() ? 0 : fields.size() - 1;
    require(values->size() == std::min(design.fields.size(), after));
    for (std::size_t i = 0; i < values->size(); ++i) {
        require(values->at(design.fields[i]) == fields[i + 1]);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (bytes.size() >= (std::size_t{1} << 20)) {
        return 0; // the reader stops at the first MiB; getline does not
    }
    const Items fields = splitFields(bytes);
    const Items lines = splitLines(bytes);
    const Expected expected = byGetline(std::string(bytes));
    require(fields == expected.fields && lines == expected.lines);
    // Written as writeLines writes them and read again, they come back.
    require(splitFields(fileBytes(fields)) == fields && splitLines(fileBytes(lines)) == lines);

    // Through a real file: the DataDir reads what the splitting gives, and
    // a design file reads the fields after its flag line. Opening and
    // reading a file costs as much as all the rest, and the bytes are all
    // the file reading depends on below its size limit, so one input size
    // in eight goes this way.
    if (size % 8 == 0) {
        const DataDir& dir = folder();
        put("in.dat", bytes);
        require(dir.readFields("in.dat") == fields && dir.readLines("in.dat") == lines);
        checkDesign(dir, fields);
        // Further readers of data files (the named designs, when they come)
        // check what they read from the same file here.
    }
    return 0;
}
