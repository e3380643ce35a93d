#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calculators/catalogue.h"
#include "shell/calculator.h"
#include "shell/data_dir.h"

namespace ferrovane {

// A named design: one calculator's boxes saved under a name of the user's
// choosing, beside the one last run its data file keeps. The file is text a
// person can read and compare:
//
//   Ferrovane design 1
//   calculator: l-network
//   saved: 2026-12-06 14:03:12
//   title: 40 m antenna match          (optional)
//   notes: ...                         (optional)
//   explore: ...                       (optional, the Explore dialog's settings)
//   <empty line>
//   the data file's lines, exactly as Close writes them
//
// The header is UTF-8; the data lines are Windows-1252 like the data files.
// Every line ends in CR LF; LF alone is read as well.

inline constexpr const char* kDesignExtension = ".fvd";
inline constexpr int kDesignFormat = 1;
// The first line's words, before the format number; also the file's magic.
inline constexpr std::string_view kDesignMagic = "Ferrovane design";
// A design is read only as far as a data file is.
inline constexpr std::size_t kMaxDesignBytes = std::size_t{1} << 20;
// The longest header line, line end not counted, and the longest text on
// one; longer titles and notes are cut when written.
inline constexpr std::size_t kMaxHeaderLine = 8192;
inline constexpr std::size_t kMaxHeaderValue = 8000;

struct NamedDesign {
    std::string calculator; // the catalogue id, as "ferrovane calc --list" shows it
    std::string saved;      // when, as written ("2026-12-06 14:03:12")
    std::string title;
    std::string notes;
    std::string explore; // sweep or tolerance settings of the Explore dialog
    // The data file's fields in order, the example flag first, as
    // DataDir::readFields gives them.
    std::vector<std::string> fields;
    bool operator==(const NamedDesign&) const = default;
};

// A design read from a file, or the one message that says what is wrong
// with it, naming the file.
struct DesignRead {
    std::optional<NamedDesign> design;
    std::string error;
    explicit operator bool() const { return design.has_value(); }
};

// The file's bytes as a design. `file` names it in the message. Nothing in
// the bytes is trusted: lengths, counts and the calculator's name are
// checked against the catalogue and the limits above, and the data lines
// must be as many as the calculator writes.
DesignRead parseDesign(std::string_view bytes, const std::string& file);
// Reads the file (its first MiB) and parses it.
DesignRead readDesign(const std::filesystem::path& file);

// The file's bytes. A title, notes or explore text loses its control
// characters and line breaks and is cut to the header's line limit, so the
// text always reads back.
std::string designText(const NamedDesign& design);
// Writes the design atomically (a temporary file beside it, then a rename).
WriteResult writeDesign(const std::filesystem::path& file, const NamedDesign& design);

// A header text as it is written: control characters and line breaks
// removed, blanks at either end trimmed, cut at limit bytes on a character.
std::string headerText(std::string_view text, std::size_t limit = kMaxHeaderValue);

// The data lines as Close would write them for this form, without changing
// the form: the calculator's own step before saving runs on a copy.
std::vector<std::string> designLines(const Calculator& calc, const Form& form, CalcEnv& env);

// The window's design, saved now.
NamedDesign makeDesign(const CatalogueEntry& entry, const Form& form, CalcEnv& env,
                       const std::string& savedAt);
// The local date and time as a design's "saved:" line holds it.
std::string designTimeNow();

// Loads the design into the form through the calculator's own reader, on a
// copy: a design of another calculator, or a reader that fails, changes
// nothing and shows one message. Returns whether it was loaded.
bool loadDesign(const CatalogueEntry& entry, Form& form, CalcEnv& env, const NamedDesign& design,
                const std::string& file);

// Reads the file and loads it into the form. When it cannot be read or
// loaded, one message says why and the form is as it was.
std::optional<NamedDesign> openDesign(const CatalogueEntry& entry, Form& form, CalcEnv& env,
                                      const std::filesystem::path& file);

// ---- The recent list: at most ten designs, the most recent first ----------

inline constexpr std::size_t kMaxRecentDesigns = 10;

// The list with file at its head (once), cut to kMaxRecentDesigns.
std::vector<std::string> rememberDesign(std::vector<std::string> recent, const std::string& file);
// The list without file.
std::vector<std::string> forgetDesign(std::vector<std::string> recent, const std::string& file);

// Picking an entry of the recent list: the file when it still exists;
// otherwise the list loses it and the message says so.
struct RecentPick {
    std::vector<std::string> recent;
    std::optional<std::string> file;
    std::string message;
};
RecentPick pickRecent(std::vector<std::string> recent, std::size_t index,
                      const std::function<bool(const std::string&)>& exists);

} // namespace ferrovane
