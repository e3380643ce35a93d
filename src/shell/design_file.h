#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "shell/data_dir.h"

namespace ferrovane {

// A design that one window writes and others read, described once: the
// file's name, whether line 1 is an example flag, and the fields in file
// order. Writer and readers use the same description.
struct DesignFile {
    std::string fileName;
    bool flagLine = true; // line 1 "False" (as written), skipped on reading
    std::vector<std::string> fields;

    // Writes the values (by field name; a missing one is written empty).
    WriteResult write(const DataDir& dir, const std::map<std::string, std::string>& values) const;
    // The fields by name, as far as the file goes; nothing when it cannot
    // be opened.
    std::optional<std::map<std::string, std::string>> read(const DataDir& dir) const;
};

} // namespace ferrovane
