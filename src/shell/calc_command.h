#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

namespace ferrovane {

// "ferrovane calc ...": any calculator run from the command line, without a
// display. args are the words after "calc"; userData is the folder that
// holds the user's data files (read for --last, never written). Returns the
// exit status: 0 when the press completed, 1 when it ended on a message,
// 2 for bad usage.
// helpDir holds the help pages that "calc ID --help" prints from.
int calcCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                const std::filesystem::path& userData, const std::filesystem::path& helpDir = {});

// Where the user's data files are for a program in programDir, by the rule
// of start-up (PrepareDataHome): beside a program that is not installed when
// that folder can be written, otherwise the per-user folder ($XDG_DATA_HOME
// or ~/.local/share, then Ferrovane/Ferrovane). Nothing is made or written
// to find out.
std::filesystem::path userDataFolder(const std::filesystem::path& programDir, bool installed);

} // namespace ferrovane
