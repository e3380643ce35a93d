#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ferrovane {

// The outcome of writing a file: ok, or the reason it failed.
struct WriteResult {
    bool ok = true;
    std::string error;
    explicit operator bool() const { return ok; }
};

// The directory that holds the data files. File names are matched without
// regard to letter case, so "CapDivDesign.dat" and "CapDivDesign.DAT" are
// one file. Text on disk is single-byte Windows-1252; in memory it is UTF-8.
class DataDir {
public:
    explicit DataDir(std::filesystem::path dir);

    const std::filesystem::path& path() const { return dir_; }

    // A scratch folder's files need not reach the disk: writes still go
    // through a temporary file and a rename, but without waiting for the
    // disk (what-if runs write design files at every point).
    void setDurable(bool on) { durable_ = on; }

    // The existing file whose name matches without regard to case, or the
    // name as given inside the directory when there is none.
    std::filesystem::path resolve(std::string_view fileName) const;

    // Reads up to maxFields fields: one per line, a comma also ends a field,
    // leading blanks skipped, CR LF or LF. Nothing when the file cannot be
    // opened; a short file gives the fields it has. Only the first MiB is
    // read, however large the file. A field is never cut: each comes whole,
    // however long, and one that runs on past the first MiB is left out as
    // if the file ended before it.
    std::optional<std::vector<std::string>> readFields(std::string_view fileName,
                                                       std::size_t maxFields = 256) const;

    // Reads up to maxLines whole lines (no comma splitting, blanks kept),
    // within the first MiB as readFields does.
    std::optional<std::vector<std::string>> readLines(std::string_view fileName,
                                                      std::size_t maxLines = 256) const;

    // Writes the lines, each ended by CR LF, atomically: a temporary file in
    // the same directory, flushed, then renamed over the old file. A failed
    // write leaves the old file whole and says why. A missing directory is
    // made first.
    WriteResult writeLines(std::string_view fileName, const std::vector<std::string>& lines) const;

    // Copies a file of another directory here under the name it has there,
    // atomically as writeLines does (bytes as they are, as far as reading
    // goes: the first MiB, and one byte more when the file goes on, so that
    // the copy reads as the original does).
    WriteResult copyFrom(const DataDir& source, std::string_view fileName) const;

    // Writes the bytes as they are to the file of exactly this name (no
    // matching of letter case), atomically as writeLines does.
    WriteResult writeBytesAs(std::string_view fileName, const std::string& bytes) const;

    // Whether a file can be created in the directory.
    WriteResult probeWritable() const;

    // Removes the temporary files that an interrupted write left behind:
    // only names of our own pattern (".NAME.tmpPID-N", ".ferrovane-probe-PID")
    // whose process no longer runs. Returns how many were removed.
    std::size_t removeStaleTemporaries() const;

    // How many files were opened for reading through this object.
    std::size_t reads() const { return reads_; }

private:
    // Writes the bytes to a temporary file, then renames it over target;
    // makes the directory when it does not exist.
    WriteResult writeBytes(const std::filesystem::path& target, const std::string& bytes) const;

    std::filesystem::path dir_;
    mutable std::size_t reads_ = 0;
    bool durable_ = true;
};

// The fields or lines of a file's bytes, as readFields and readLines give
// them once they have read the file (only the first MiB of the bytes counts).
std::vector<std::string> splitFields(std::string_view bytes, std::size_t maxFields = 256);
std::vector<std::string> splitLines(std::string_view bytes, std::size_t maxLines = 256);

// The bytes writeLines writes: each line in Windows-1252, ended by CR LF.
std::string fileBytes(const std::vector<std::string>& lines);

// Windows-1252 <-> UTF-8 at the file boundary.
std::string FromWindows1252(std::string_view bytes);
std::string ToWindows1252(std::string_view utf8);

} // namespace ferrovane
