#include "shell/named_design.h"

#include <algorithm>
#include <ctime>
#include <fstream>
#include <iterator>

#include "numeric/numeric_fault.h"
#include "shell/calc_output.h"
#include "shell/window_cycle.h"

namespace ferrovane {

namespace {

// More header lines than a design has: a file of a million short lines is
// refused at once.
constexpr int kMaxHeaderLines = 64;
// A calculator name is shown in a message only this long.
constexpr std::size_t kShownNameBytes = 40;

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// Decodes the UTF-8 character at s[i] and moves i past it; nothing for a
// broken sequence (cut short, overlong, a surrogate, beyond U+10FFFF).
std::optional<char32_t> decodeUtf8(std::string_view s, std::size_t& i) {
    const auto b = static_cast<unsigned char>(s[i]);
    if (b < 0x80) {
        ++i;
        return b;
    }
    const int len = (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : (b & 0xF8) == 0xF0 ? 4 : 0;
    if (len == 0 || i + len > s.size())
        return std::nullopt;
    char32_t c = b & (0x7F >> len);
    for (int k = 1; k < len; ++k) {
        const auto cont = static_cast<unsigned char>(s[i + k]);
        if ((cont & 0xC0) != 0x80)
            return std::nullopt;
        c = (c << 6) | (cont & 0x3F);
    }
    constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kLeast[len] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return std::nullopt;
    i += len;
    return c;
}

// Control characters, C1 included, and the Unicode line and paragraph
// separators: none belongs on a header line.
bool isControl(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

enum class LineEnd { Ended, CutShort, TooLong };
struct HeaderLine {
    std::string_view text;
    LineEnd end = LineEnd::Ended;
};

// The header line at pos, without its line end; pos moves past it. Looks
// no further than the longest line allowed.
HeaderLine nextLine(std::string_view bytes, std::size_t& pos) {
    const std::size_t rest = bytes.size() - pos;
    const std::size_t window = std::min(rest, kMaxHeaderLine + 2);
    const std::size_t lf = bytes.substr(pos, window).find('\n');
    if (lf == std::string_view::npos)
        return {{}, window == rest ? LineEnd::CutShort : LineEnd::TooLong};
    std::string_view text = bytes.substr(pos, lf);
    pos += lf + 1;
    if (!text.empty() && text.back() == '\r')
        text.remove_suffix(1);
    if (text.size() > kMaxHeaderLine)
        return {{}, LineEnd::TooLong};
    return {text};
}

// What is wrong with the text of a header line, or nothing.
std::optional<std::string> badText(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto c = decodeUtf8(text, i);
        if (!c)
            return "text that is not UTF-8";
        if (isControl(*c))
            return "a control character";
    }
    return std::nullopt;
}

bool isKey(std::string_view key) {
    return !key.empty() && key.size() <= 32 && std::all_of(key.begin(), key.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '-';
    });
}

// The text after the magic words: " N" with N the format number.
std::optional<long> formatNumber(std::string_view line) {
    if (!line.starts_with(kDesignMagic))
        return std::nullopt;
    line.remove_prefix(kDesignMagic.size());
    if (line.size() < 2 || line.size() > 10 || line[0] != ' ')
        return std::nullopt;
    long n = 0;
    for (char c : line.substr(1)) {
        if (c < '0' || c > '9')
            return std::nullopt;
        n = n * 10 + (c - '0');
    }
    return n > 0 ? std::optional<long>(n) : std::nullopt;
}

const CatalogueEntry* entryWithId(const std::string& id) {
    for (const CatalogueEntry& e : catalogue())
        if (e.id == id && e.calculator)
            return &e;
    return nullptr;
}

// The first control character of the data lines, as its line number in the
// file counted from firstLine. A tab is text; a CR is part of a line end
// when a LF or the end of the file follows it.
std::optional<int> controlLine(std::string_view body, int firstLine) {
    int line = firstLine;
    for (std::size_t i = 0; i < body.size(); ++i) {
        const auto c = static_cast<unsigned char>(body[i]);
        const bool lineEnd = c == '\r' && (i + 1 == body.size() || body[i + 1] == '\n');
        if (c == '\n')
            ++line;
        else if ((c < 0x20 && c != '\t' && !lineEnd) || c == 0x7F)
            return line;
    }
    return std::nullopt;
}

// The number of data lines the calculator always writes (an option group
// written only when one is chosen is not counted), the flag line included.
std::size_t linesWritten(const Calculator& calc) {
    return 1 + static_cast<std::size_t>(
                   std::count_if(calc.fields.begin(), calc.fields.end(), [](const FileField& f) {
                       return f.kind != FieldKind::OptionIfAny;
                   }));
}

struct Header {
    NamedDesign design;
    std::size_t end = 0; // where the data lines begin
    int lines = 0;       // header lines, the first and the empty one included
};

// The header's "name: value" lines up to the empty one; the error when
// they cannot be read.
std::optional<std::string> readHeader(std::string_view bytes, Header& h) {
    std::vector<std::string> seen;
    for (;;) {
        const HeaderLine line = nextLine(bytes, h.end);
        ++h.lines;
        if (line.end == LineEnd::CutShort)
            return "is cut short: its header does not end";
        if (line.end == LineEnd::TooLong)
            return "has a header line longer than " + std::to_string(kMaxHeaderLine) +
                   " bytes (line " + std::to_string(h.lines) + ")";
        if (line.text.empty())
            return std::nullopt;
        if (h.lines > kMaxHeaderLines)
            return "has more than " + std::to_string(kMaxHeaderLines) + " header lines";
        const std::string at = " in line " + std::to_string(h.lines);
        if (auto bad = badText(line.text))
            return "has " + *bad + at;
        const std::size_t colon = line.text.find(':');
        if (colon == std::string_view::npos || !isKey(line.text.substr(0, colon)))
            return "has a header line that is not \"name: value\"" + at;
        const std::string key = lower(line.text.substr(0, colon));
        const std::string value(trimmed(line.text.substr(colon + 1)));
        if (value.size() > kMaxHeaderValue)
            return "has a header text longer than " + std::to_string(kMaxHeaderValue) + " bytes" +
                   at;
        std::string* slot = key == "calculator" ? &h.design.calculator
                            : key == "saved"    ? &h.design.saved
                            : key == "title"    ? &h.design.title
                            : key == "notes"    ? &h.design.notes
                            : key == "explore"  ? &h.design.explore
                                                : nullptr;
        // A later version may add lines of its own; this one passes them by.
        if (!slot)
            continue;
        if (std::find(seen.begin(), seen.end(), key) != seen.end())
            return "has more than one \"" + key + ":\" line";
        seen.push_back(key);
        *slot = value;
    }
}

// The calculator and the data lines of a header read whole.
std::optional<std::string> readBody(std::string_view bytes, Header& h) {
    if (h.design.calculator.empty())
        return "names no calculator (its \"calculator:\" line is missing)";
    const CatalogueEntry* entry = entryWithId(h.design.calculator);
    if (!entry)
        return "is a design for a calculator this version does not have: " +
               quoted(headerText(h.design.calculator, kShownNameBytes));
    const std::string_view body = bytes.substr(h.end);
    if (body.empty())
        return "is cut short: its data lines are missing";
    if (auto line = controlLine(body, h.lines + 1))
        return "has a control character in line " + std::to_string(*line);
    if (body.back() != '\n')
        return "is cut short: its last line is incomplete";
    // One field more than the calculator writes is enough to tell too many.
    const Calculator& calc = entry->calculator();
    const std::size_t least = linesWritten(calc), most = calc.fields.size() + 1;
    h.design.fields = splitFields(body, most + 1);
    const std::size_t got = h.design.fields.size();
    const std::string calculator = " the " + quoted(mainWindowCaption(*entry)) + " calculator";
    if (got < least)
        return "is cut short: it has " + std::to_string(got) + " data lines where" + calculator +
               " writes " + std::to_string(least);
    if (got > most)
        return "has more data lines than" + calculator + " writes (" + std::to_string(most) + ")";
    return std::nullopt;
}

} // namespace

DesignRead parseDesign(std::string_view bytes, const std::string& file) {
    auto fail = [&](const std::string& what) {
        return DesignRead{std::nullopt, quoted(file) + " " + what + "."};
    };
    if (!bytes.starts_with(kDesignMagic))
        return fail("is not a Ferrovane design");
    Header h;
    const HeaderLine first = nextLine(bytes, h.end);
    h.lines = 1;
    if (first.end == LineEnd::CutShort)
        return fail("is cut short: it ends in its first line");
    const auto format = first.end == LineEnd::Ended ? formatNumber(first.text) : std::nullopt;
    if (!format)
        return fail("is not a Ferrovane design");
    if (*format > kDesignFormat)
        return fail("was saved by a newer Ferrovane (design format " + std::to_string(*format) +
                    "); this version reads format " + std::to_string(kDesignFormat));
    if (bytes.size() > kMaxDesignBytes)
        return fail("is too large to be a Ferrovane design");
    if (auto why = readHeader(bytes, h))
        return fail(*why);
    if (auto why = readBody(bytes, h))
        return fail(*why);
    return DesignRead{std::move(h.design), {}};
}

DesignRead readDesign(const std::filesystem::path& file) {
    std::error_code ec;
    const auto status = std::filesystem::status(file, ec);
    std::ifstream in(file, std::ios::binary);
    if (!in || std::filesystem::is_directory(status)) {
        const char* why = !std::filesystem::exists(status)        ? "there is no such file"
                          : std::filesystem::is_directory(status) ? "it is a folder"
                                                                  : "it cannot be read";
        return {std::nullopt, quoted(file.string()) + " cannot be opened: " + why + "."};
    }
    // One byte beyond the limit tells a file that is too large.
    std::string bytes(kMaxDesignBytes + 1, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return parseDesign(bytes, file.string());
}

std::string headerText(std::string_view text, std::size_t limit) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t at = i;
        const auto c = decodeUtf8(text, i);
        if (!c) {
            ++i;
            continue; // a broken byte is dropped
        }
        if (*c == '\t' || *c == '\n' || *c == '\r' || *c == 0x2028 || *c == 0x2029) {
            out += ' ';
        } else if (!isControl(*c)) {
            if (out.size() + (i - at) > limit)
                break;
            out.append(text.substr(at, i - at));
        }
    }
    return std::string(trimmed(out.substr(0, std::min(out.size(), limit))));
}

std::string designText(const NamedDesign& design) {
    std::string out = std::string(kDesignMagic) + " " + std::to_string(kDesignFormat) + "\r\n";
    auto line = [&out](const std::string& key, const std::string& value, bool always) {
        const std::string text = headerText(value);
        if (always || !text.empty())
            out += key + ": " + text + "\r\n";
    };
    line("calculator", design.calculator, true);
    line("saved", design.saved, false);
    line("title", design.title, false);
    line("notes", design.notes, false);
    line("explore", design.explore, false);
    out += "\r\n";
    for (const std::string& field : design.fields) {
        // Control characters other than a tab would make the file unreadable.
        for (char c : ToWindows1252(field)) {
            const auto b = static_cast<unsigned char>(c);
            if ((b >= 0x20 && b != 0x7F) || b == '\t')
                out += c;
        }
        out += "\r\n";
    }
    return out;
}

WriteResult writeDesign(const std::filesystem::path& file, const NamedDesign& design) {
    const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
    return DataDir(folder).writeBytesAs(file.filename().string(), designText(design));
}

std::vector<std::string> designLines(const Calculator& calc, const Form& form, CalcEnv& env) {
    if (!calc.beforeSave)
        return fileLines(calc, form);
    Form copy = form;
    try {
        calc.beforeSave(copy, env);
    } catch (const NumericFault&) {
        copy = form; // the boxes as they are
    }
    return fileLines(calc, copy);
}

NamedDesign makeDesign(const CatalogueEntry& entry, const Form& form, CalcEnv& env,
                       const std::string& savedAt) {
    NamedDesign design;
    design.calculator = entry.id;
    design.saved = savedAt;
    design.fields = designLines(entry.calculator(), form, env);
    return design;
}

std::string designTimeNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

bool loadDesign(const CatalogueEntry& entry, Form& form, CalcEnv& env, const NamedDesign& design,
                const std::string& file) {
    const CatalogueEntry* owner = entryWithId(design.calculator);
    if (owner != &entry) {
        env.dialogs.say(quoted(file) + " is a design for the " +
                            (owner ? quoted(mainWindowCaption(*owner)) : std::string("another")) +
                            " calculator, not this one.",
                        MessageIcon::Exclamation);
        return false;
    }
    const Calculator& calc = entry.calculator();
    const DataFields fields = design.fields;
    return runGuarded(calc, form, env, [&](Form& f, CalcEnv& e) {
        if (calc.loadFile)
            calc.loadFile(f, e, fields);
        else
            StandardLoadFile(calc, f, e, fields);
    });
}

std::optional<NamedDesign> openDesign(const CatalogueEntry& entry, Form& form, CalcEnv& env,
                                      const std::filesystem::path& file) {
    DesignRead read = readDesign(file);
    if (!read) {
        env.dialogs.say(read.error, MessageIcon::Exclamation);
        return std::nullopt;
    }
    if (!loadDesign(entry, form, env, *read.design, file.string()))
        return std::nullopt;
    return std::move(read.design);
}

std::vector<std::string> rememberDesign(std::vector<std::string> recent, const std::string& file) {
    recent = forgetDesign(std::move(recent), file);
    recent.insert(recent.begin(), file);
    if (recent.size() > kMaxRecentDesigns)
        recent.resize(kMaxRecentDesigns);
    return recent;
}

std::vector<std::string> forgetDesign(std::vector<std::string> recent, const std::string& file) {
    recent.erase(std::remove(recent.begin(), recent.end(), file), recent.end());
    return recent;
}

RecentPick pickRecent(std::vector<std::string> recent, std::size_t index,
                      const std::function<bool(const std::string&)>& exists) {
    RecentPick pick;
    if (index < recent.size()) {
        const std::string file = recent[index];
        if (exists(file)) {
            pick.file = file;
        } else {
            recent = forgetDesign(std::move(recent), file);
            pick.message = quoted(file) +
                           " is no longer there; it has been taken off the list of recent designs.";
        }
    }
    pick.recent = std::move(recent);
    return pick;
}

} // namespace ferrovane
