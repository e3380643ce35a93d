#include "shell/data_home.h"

#include "shell/example_files.h"

namespace ferrovane {

namespace {

// Copies the data files of the program folder into a new per-user folder;
// returns how many there were.
int takeOver(const DataDir& from, const DataDir& to) {
    int copied = 0;
    for (const ExampleFile& file : exampleFiles()) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(from.resolve(file.name), ec) &&
            to.copyFrom(from, file.name))
            ++copied;
    }
    if (copied == 0)
        return 0;
    // The examples complete the set, so that start-up finds the files and
    // does not write the examples over those just copied.
    for (const ExampleFile& file : exampleFiles()) {
        std::error_code ec;
        if (std::filesystem::exists(to.resolve(file.name), ec))
            continue;
        std::vector<std::string> lines;
        if (file.flagLine)
            lines.emplace_back("True");
        lines.insert(lines.end(), file.fields.begin(), file.fields.end());
        to.writeLines(file.name, lines);
    }
    return copied;
}

} // namespace

bool isInstalledProgram(const std::filesystem::path& programDir, const InstallLayout& layout) {
    std::error_code ec;
    // Symbolic links resolved: /bin is /usr/bin on a merged system.
    const auto resolved = [&ec](const std::filesystem::path& p) {
        std::filesystem::path r = std::filesystem::weakly_canonical(p, ec);
        if (ec)
            r = p.lexically_normal();
        return r.has_filename() ? r : r.parent_path(); // "/usr/bin/" is "/usr/bin"
    };
    if (!layout.binDir.empty() && resolved(programDir) == resolved(layout.binDir))
        return true;
    return !layout.dataFromBin.empty() &&
           std::filesystem::is_directory(programDir / layout.dataFromBin, ec);
}

DataHome PrepareUserFolder(const std::filesystem::path& programDir,
                           const std::filesystem::path& userDir, bool installed) {
    DataHome home{DataDir(userDir), {}};
    std::error_code ec;
    // A folder that cannot be made is reported by the first write into it,
    // with the reason.
    if (!std::filesystem::exists(userDir, ec) && std::filesystem::create_directories(userDir, ec)) {
        if (const int copied = takeOver(DataDir(programDir), home.dir))
            home.notice = (installed ? "Ferrovane is installed in " + programDir.string() +
                                           ", so its data files are kept in "
                                     : "The program folder " + programDir.string() +
                                           " cannot be written, so the data files are kept in ") +
                          userDir.string() + " from now on.\r\n" + std::to_string(copied) +
                          (copied == 1 ? " data file was" : " data files were") +
                          " copied there from the program folder.";
    }
    home.dir.removeStaleTemporaries();
    return home;
}

DataHome PrepareDataHome(const std::filesystem::path& programDir,
                         const std::filesystem::path& userDir, bool installed) {
    const DataDir program(programDir);
    if (installed || !program.probeWritable())
        return PrepareUserFolder(programDir, userDir, installed);
    program.removeStaleTemporaries();
    return {program, {}};
}

} // namespace ferrovane
