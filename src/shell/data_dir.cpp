#include "shell/data_dir.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

namespace ferrovane {

namespace {

// Windows-1252 characters 0x80..0x9F; 0 where the code page has none (those
// bytes map to the C1 control of the same number, as Windows does).
constexpr char32_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The UTF-8 bytes of every Windows-1252 byte (one to three), made once.
struct Utf8Codes {
    char bytes[256][3] = {};
    unsigned char length[256] = {};
    Utf8Codes() {
        for (unsigned b = 0; b < 256; ++b) {
            char32_t c = b;
            if (b >= 0x80 && b <= 0x9F && kHighControls[b - 0x80] != 0)
                c = kHighControls[b - 0x80];
            char* out = bytes[b];
            if (c < 0x80) {
                out[0] = static_cast<char>(c);
                length[b] = 1;
            } else if (c < 0x800) {
                out[0] = static_cast<char>(0xC0 | (c >> 6));
                out[1] = static_cast<char>(0x80 | (c & 0x3F));
                length[b] = 2;
            } else {
                out[0] = static_cast<char>(0xE0 | (c >> 12));
                out[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
                out[2] = static_cast<char>(0x80 | (c & 0x3F));
                length[b] = 3;
            }
        }
    }
};

const Utf8Codes& utf8Codes() {
    static const Utf8Codes codes;
    return codes;
}

std::string lowerAscii(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    });
    return s;
}

// Reading stops here: our files are a few kilobytes, and a garbage file of
// any size must not make start-up or opening a window slow.
constexpr std::size_t kMaxFileBytes = std::size_t{1} << 20;

// How many times c occurs in the bytes.
std::size_t endsIn(std::string_view bytes, char c) {
    std::size_t n = 0;
    for (std::size_t at = bytes.find(c); at != std::string_view::npos; at = bytes.find(c, at + 1))
        ++n;
    return n;
}

// Cuts bytes into fields or lines: an item ends at a line end (LF, with an
// optional CR before it), at a comma when commas split, or at the end of
// the bytes; a field starts after its leading blanks and tabs. Only the
// first MiB counts; an item still open there, with more bytes after it, is
// left out rather than cut short.
std::vector<std::string> splitItems(std::string_view bytes, std::size_t maxItems,
                                    bool splitCommas) {
    const bool cut = bytes.size() > kMaxFileBytes;
    bytes = bytes.substr(0, kMaxFileBytes);
    constexpr auto none = std::string_view::npos;
    // The next line end and the next comma from start on (none: no more).
    std::size_t lineEnd = bytes.find('\n');
    std::size_t comma = splitCommas ? bytes.find(',') : none;
    std::vector<std::string> items;
    items.reserve(
        std::min(maxItems, endsIn(bytes, '\n') + (splitCommas ? endsIn(bytes, ',') : 0) + 1));
    for (std::size_t start = 0; start < bytes.size() && items.size() < maxItems;) {
        std::size_t end = std::min(lineEnd, comma);
        if (end == none && cut)
            break; // the rest of this item lies past the limit
        end = std::min(end, bytes.size());
        std::string_view item = bytes.substr(start, end - start);
        if (splitCommas)
            item.remove_prefix(std::min(item.find_first_not_of(" \t"), item.size()));
        if (!item.empty() && item.back() == '\r')
            item.remove_suffix(1);
        items.push_back(FromWindows1252(item));
        start = end + 1;
        if (lineEnd != none && lineEnd < start)
            lineEnd = bytes.find('\n', start);
        if (comma != none && comma < start)
            comma = bytes.find(',', start);
    }
    return items;
}

// The first MiB of a file and one byte more, which tells that it goes on.
std::optional<std::string> readHead(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string bytes;
    char buffer[1 << 14];
    while (bytes.size() <= kMaxFileBytes) {
        in.read(buffer, sizeof buffer);
        const auto got = static_cast<std::size_t>(in.gcount());
        if (got == 0)
            break;
        bytes.append(buffer, std::min(got, kMaxFileBytes + 1 - bytes.size()));
    }
    return bytes;
}

// The process that made a temporary file of ours, from its name:
// ".NAME.tmpPID-N" (writeLines) or ".ferrovane-probe-PID" (probeWritable).
std::optional<pid_t> temporaryOwner(const std::string& name) {
    auto digits = [](std::string_view s) {
        return !s.empty() && s.size() <= 9 &&
               std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    constexpr std::string_view probe = ".ferrovane-probe-";
    std::string_view pid;
    if (name.starts_with(probe)) {
        pid = std::string_view(name).substr(probe.size());
    } else {
        const std::size_t tmp = name.rfind(".tmp");
        const std::size_t dash = name.rfind('-');
        if (name.size() < 2 || name[0] != '.' || tmp == std::string::npos || tmp < 2 ||
            dash == std::string::npos || dash < tmp ||
            !digits(std::string_view(name).substr(dash + 1)))
            return std::nullopt;
        pid = std::string_view(name).substr(tmp + 4, dash - tmp - 4);
    }
    if (!digits(pid))
        return std::nullopt;
    return static_cast<pid_t>(std::stol(std::string(pid)));
}

bool processRuns(pid_t pid) {
    return pid == ::getpid() || ::kill(pid, 0) == 0 || errno == EPERM;
}

std::string errnoText(int err) {
    return std::strerror(err);
}

} // namespace

std::string FromWindows1252(std::string_view bytes) {
    const Utf8Codes& codes = utf8Codes();
    std::size_t size = 0;
    for (const unsigned char b : bytes)
        size += codes.length[b];
    if (size == bytes.size())
        return std::string(bytes); // ASCII alone, the same in both
    // Written in place: one to three bytes for each byte read.
    std::string out(size, '\0');
    char* to = out.data();
    for (const unsigned char b : bytes) {
        if (b < 0x80) {
            *to++ = static_cast<char>(b);
            continue;
        }
        std::memcpy(to, codes.bytes[b], codes.length[b]);
        to += codes.length[b];
    }
    return out;
}

namespace {

// The Windows-1252 byte of a character above U+007F; '?' where the code page
// has none.
char windows1252Of(char32_t c) {
    if (c >= 0xA0 && c <= 0xFF)
        return static_cast<char>(c);
    for (int k = 0; k < 32; ++k) {
        const char32_t code = kHighControls[k] != 0 ? kHighControls[k] : char32_t(0x80 + k);
        if (code == c)
            return static_cast<char>(0x80 + k);
    }
    return '?';
}

// Appends the Windows-1252 bytes of a UTF-8 text, written in place: never
// more bytes than were read.
void appendWindows1252(std::string& out, std::string_view utf8) {
    const std::size_t before = out.size();
    out.resize(before + utf8.size());
    char* to = out.data() + before;
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        char32_t c;
        std::size_t len;
        if (b < 0x80) {
            *to++ = static_cast<char>(b);
            ++i;
            continue;
        }
        if ((b & 0xE0) == 0xC0) {
            c = b & 0x1F;
            len = 2;
        } else if ((b & 0xF0) == 0xE0) {
            c = b & 0x0F;
            len = 3;
        } else if ((b & 0xF8) == 0xF0) {
            c = b & 0x07;
            len = 4;
        } else {
            *to++ = '?';
            ++i;
            continue;
        }
        if (i + len > utf8.size()) {
            *to++ = '?';
            break;
        }
        bool valid = true;
        for (std::size_t k = 1; k < len; ++k) {
            const auto cont = static_cast<unsigned char>(utf8[i + k]);
            if ((cont & 0xC0) != 0x80)
                valid = false;
            c = (c << 6) | (cont & 0x3F);
        }
        i += valid ? len : 1;
        *to++ = valid ? (c < 0x80 ? static_cast<char>(c) : windows1252Of(c)) : '?';
    }
    out.resize(static_cast<std::size_t>(to - out.data()));
}

} // namespace

std::string ToWindows1252(std::string_view utf8) {
    std::string out;
    appendWindows1252(out, utf8);
    return out;
}

std::vector<std::string> splitFields(std::string_view bytes, std::size_t maxFields) {
    return splitItems(bytes, maxFields, true);
}

std::vector<std::string> splitLines(std::string_view bytes, std::size_t maxLines) {
    return splitItems(bytes, maxLines, false);
}

std::string fileBytes(const std::vector<std::string>& lines) {
    std::size_t size = 0;
    for (const auto& line : lines)
        size += line.size() + 2;
    std::string bytes;
    bytes.reserve(size);
    for (const auto& line : lines) {
        appendWindows1252(bytes, line);
        bytes += "\r\n";
    }
    return bytes;
}

DataDir::DataDir(std::filesystem::path dir) : dir_(std::move(dir)) {}

std::filesystem::path DataDir::resolve(std::string_view fileName) const {
    const std::string wanted(fileName);
    std::error_code ec;
    if (std::filesystem::exists(dir_ / wanted, ec))
        return dir_ / wanted;
    const std::string key = lowerAscii(wanted);
    std::vector<std::string> matches;
    for (std::filesystem::directory_iterator it(dir_, ec), end; !ec && it != end;
         it.increment(ec)) {
        std::string name = it->path().filename().string();
        if (lowerAscii(name) == key)
            matches.push_back(name);
    }
    if (matches.empty())
        return dir_ / wanted;
    std::sort(matches.begin(), matches.end());
    return dir_ / matches.front();
}

std::optional<std::vector<std::string>> DataDir::readFields(std::string_view fileName,
                                                            std::size_t maxFields) const {
    ++reads_;
    const auto bytes = readHead(resolve(fileName));
    if (!bytes)
        return std::nullopt;
    return splitFields(*bytes, maxFields);
}

std::optional<std::vector<std::string>> DataDir::readLines(std::string_view fileName,
                                                           std::size_t maxLines) const {
    ++reads_;
    const auto bytes = readHead(resolve(fileName));
    if (!bytes)
        return std::nullopt;
    return splitLines(*bytes, maxLines);
}

WriteResult DataDir::writeLines(std::string_view fileName,
                                const std::vector<std::string>& lines) const {
    return writeBytes(resolve(fileName), fileBytes(lines));
}

WriteResult DataDir::writeBytesAs(std::string_view fileName, const std::string& bytes) const {
    return writeBytes(dir_ / std::string(fileName), bytes);
}

WriteResult DataDir::writeBytes(const std::filesystem::path& target,
                                const std::string& bytes) const {
    static std::atomic<unsigned> counter{0};
    const std::filesystem::path temp =
        dir_ / ("." + target.filename().string() + ".tmp" + std::to_string(::getpid()) + "-" +
                std::to_string(counter++));
    auto fail = [&](const char* step, int err) {
        ::unlink(temp.c_str());
        return WriteResult{false,
                           std::string(step) + " " + target.string() + ": " + errnoText(err)};
    };

    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0 && (errno == ENOENT || errno == ENOTDIR)) {
        // The folder is gone or was never made: make it, and when that fails
        // say why, rather than that the file has no folder.
        std::error_code ec;
        std::filesystem::create_directories(dir_, ec);
        if (ec)
            return WriteResult{false,
                               "cannot create the folder " + dir_.string() + ": " + ec.message()};
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    }
    if (fd < 0)
        return WriteResult{false,
                           "cannot create a file in " + dir_.string() + ": " + errnoText(errno)};
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            int err = errno;
            ::close(fd);
            return fail("cannot write", err);
        }
        done += static_cast<std::size_t>(n);
    }
    if (durable_ && ::fsync(fd) != 0) {
        int err = errno;
        ::close(fd);
        return fail("cannot write", err);
    }
    if (::close(fd) != 0)
        return fail("cannot write", errno);
    if (::rename(temp.c_str(), target.c_str()) != 0)
        return fail("cannot replace", errno);
    int dirFd = durable_ ? ::open(dir_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC) : -1;
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return {};
}

WriteResult DataDir::copyFrom(const DataDir& source, std::string_view fileName) const {
    const std::filesystem::path from = source.resolve(fileName);
    const auto bytes = readHead(from);
    if (!bytes)
        return WriteResult{false, "cannot read " + from.string()};
    return writeBytes(resolve(from.filename().string()), *bytes);
}

std::size_t DataDir::removeStaleTemporaries() const {
    std::size_t removed = 0;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(dir_, ec), end; !ec && it != end;
         it.increment(ec)) {
        const auto owner = temporaryOwner(it->path().filename().string());
        std::error_code statEc;
        if (!owner || processRuns(*owner) ||
            it->symlink_status(statEc).type() != std::filesystem::file_type::regular)
            continue;
        if (::unlink(it->path().c_str()) == 0)
            ++removed;
    }
    return removed;
}

WriteResult DataDir::probeWritable() const {
    const std::filesystem::path probe = dir_ / (".ferrovane-probe-" + std::to_string(::getpid()));
    int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        return WriteResult{false, dir_.string() + ": " + errnoText(errno)};
    ::close(fd);
    ::unlink(probe.c_str());
    return {};
}

} // namespace ferrovane
