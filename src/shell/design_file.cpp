#include "shell/design_file.h"

namespace ferrovane {

WriteResult DesignFile::write(const DataDir& dir,
                              const std::map<std::string, std::string>& values) const {
    std::vector<std::string> lines;
    if (flagLine)
        lines.emplace_back("False");
    for (const auto& field : fields) {
        auto it = values.find(field);
        lines.push_back(it == values.end() ? std::string() : it->second);
    }
    return dir.writeLines(fileName, lines);
}

std::optional<std::map<std::string, std::string>> DesignFile::read(const DataDir& dir) const {
    const std::size_t skip = flagLine ? 1 : 0;
    const auto read = dir.readFields(fileName, fields.size() + skip);
    if (!read)
        return std::nullopt;
    std::map<std::string, std::string> values;
    for (std::size_t i = 0; i < fields.size() && i + skip < read->size(); ++i)
        values[fields[i]] = (*read)[i + skip];
    return values;
}

} // namespace ferrovane
