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

// Where the install step puts the program, as the build was configured: the
// prefix's bin folder (/usr/bin), and the program's own data folder (its
// pictures and help pages) as seen from there ("../share/ferrovane").
struct InstallLayout {
    std::filesystem::path binDir;
    std::filesystem::path dataFromBin;
};

// Whether the program in programDir is an installed copy: programDir is the
// configured bin folder, or the program stands in an installed tree, with its
// data folder where the install step puts it (a package unpacked under
// another root). A build folder, or an unpacked folder of the program's own
// with the pictures beside it, is not.
bool isInstalledProgram(const std::filesystem::path& programDir, const InstallLayout& layout);

// An installed program keeps its data files in the per-user folder, whether
// or not it could write beside itself; any other copy uses the program folder
// when it can be written, and the per-user folder otherwise. When the
// per-user folder is made here, the data files that stand in the program
// folder are copied into it and the examples fill in only the files it
// lacks, so nothing the user had there disappears. Temporary files that
// interrupted writes left in the chosen folder are removed.
DataHome PrepareDataHome(const std::filesystem::path& programDir,
                         const std::filesystem::path& userDir, bool installed);

// The per-user part of the above: the folder is made when it does not exist
// and then takes over the program folder's data files; the notice gives the
// reason (installed, or a program folder that cannot be written).
DataHome PrepareUserFolder(const std::filesystem::path& programDir,
                           const std::filesystem::path& userDir, bool installed);

} // namespace ferrovane
