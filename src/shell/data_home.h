#pragma once

#include <filesystem>
#include <string>

#include "shell/data_dir.h"

namespace ferrovane {

// The folder of the data files as start-up prepared it, and what the user
// should be told about it (empty when nothing).
struct DataHome {
    DataDir dir;
    std::string notice;
};

// The program folder when it can be written, otherwise the per-user folder.
// When the per-user folder is made here, the data files that stand in the
// program folder are copied into it and the examples fill in only the files
// it lacks, so nothing the user had there disappears. Temporary files that
// interrupted writes left in the chosen folder are removed.
DataHome PrepareDataHome(const std::filesystem::path& programDir,
                         const std::filesystem::path& userDir);

// The per-user part of the above: the folder is made when it does not exist
// and then takes over the program folder's data files.
DataHome PrepareUserFolder(const std::filesystem::path& programDir,
                           const std::filesystem::path& userDir);

} // namespace ferrovane
