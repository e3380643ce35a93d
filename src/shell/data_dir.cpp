#include "shell/data_dir.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <istream>

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

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
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

// Reads fields or lines from a stream: a field ends at a line end (LF, with
// an optional CR before it), at a comma when commas split, or at the end.
// Every field is read whole. A field that the first MiB ends in the middle
// of, with more of the file after it, is left out rather than cut short.
std::vector<std::string> readItems(std::istream& in, std::size_t maxItems, bool splitCommas) {
    std::vector<std::string> items;
    std::string field;
    bool inField = false; // something of the current field has been seen
    bool skipBlanks = splitCommas;
    auto finish = [&] {
        if (!field.empty() && field.back() == '\r')
            field.pop_back();
        items.push_back(FromWindows1252(field));
        field.clear();
        inField = false;
        skipBlanks = splitCommas;
    };
    char buffer[1 << 14];
    std::size_t total = 0;
    while (items.size() < maxItems && total < kMaxFileBytes) {
        in.read(buffer,
                static_cast<std::streamsize>(std::min(sizeof buffer, kMaxFileBytes - total)));
        const auto got = static_cast<std::size_t>(in.gcount());
        if (got == 0)
            break;
        total += got;
        for (std::size_t i = 0; i < got && items.size() < maxItems; ++i) {
            const char c = buffer[i];
            if (c == '\n' || (splitCommas && c == ',')) {
                finish();
                continue;
            }
            inField = true;
            if (skipBlanks && (c == ' ' || c == '\t'))
                continue;
            skipBlanks = false;
            field += c;
        }
    }
    const bool cutByLimit = total == kMaxFileBytes && in.peek() != std::istream::traits_type::eof();
    if (inField && items.size() < maxItems && !cutByLimit)
        finish();
    return items;
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
    std::string out;
    out.reserve(bytes.size());
    for (unsigned char b : bytes) {
        char32_t c = b;
        if (b >= 0x80 && b <= 0x9F && kHighControls[b - 0x80] != 0)
            c = kHighControls[b - 0x80];
        appendUtf8(out, c);
    }
    return out;
}

std::string ToWindows1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        unsigned char b = static_cast<unsigned char>(utf8[i]);
        char32_t c;
        std::size_t len;
        if (b < 0x80) {
            c = b;
            len = 1;
        } else if ((b & 0xE0) == 0xC0) {
            c = b & 0x1F;
            len = 2;
        } else if ((b & 0xF0) == 0xE0) {
            c = b & 0x0F;
            len = 3;
        } else if ((b & 0xF8) == 0xF0) {
            c = b & 0x07;
            len = 4;
        } else {
            out += '?';
            ++i;
            continue;
        }
        if (i + len > utf8.size()) {
            out += '?';
            break;
        }
        bool valid = true;
        for (std::size_t k = 1; k < len; ++k) {
            unsigned char cont = static_cast<unsigned char>(utf8[i + k]);
            if ((cont & 0xC0) != 0x80)
                valid = false;
            c = (c << 6) | (cont & 0x3F);
        }
        i += valid ? len : 1;
        if (!valid) {
            out += '?';
            continue;
        }
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out += static_cast<char>(c);
            continue;
        }
        char mapped = '?';
        for (int k = 0; k < 32; ++k) {
            char32_t code = kHighControls[k] != 0 ? kHighControls[k] : char32_t(0x80 + k);
            if (code == c)
                mapped = static_cast<char>(0x80 + k);
        }
        out += mapped;
    }
    return out;
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
    std::ifstream in(resolve(fileName), std::ios::binary);
    if (!in)
        return std::nullopt;
    return readItems(in, maxFields, true);
}

std::optional<std::vector<std::string>> DataDir::readLines(std::string_view fileName,
                                                           std::size_t maxLines) const {
    ++reads_;
    std::ifstream in(resolve(fileName), std::ios::binary);
    if (!in)
        return std::nullopt;
    return readItems(in, maxLines, false);
}

WriteResult DataDir::writeLines(std::string_view fileName,
                                const std::vector<std::string>& lines) const {
    std::string bytes;
    for (const auto& line : lines)
        bytes += ToWindows1252(line) + "\r\n";
    return writeBytes(resolve(fileName), bytes);
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
    if (::fsync(fd) != 0) {
        int err = errno;
        ::close(fd);
        return fail("cannot write", err);
    }
    if (::close(fd) != 0)
        return fail("cannot write", errno);
    if (::rename(temp.c_str(), target.c_str()) != 0)
        return fail("cannot replace", errno);
    int dirFd = ::open(dir_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return {};
}

WriteResult DataDir::copyFrom(const DataDir& source, std::string_view fileName) const {
    const std::filesystem::path from = source.resolve(fileName);
    std::ifstream in(from, std::ios::binary);
    if (!in)
        return WriteResult{false, "cannot read " + from.string()};
    std::string bytes(kMaxFileBytes, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return writeBytes(resolve(from.filename().string()), bytes);
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
