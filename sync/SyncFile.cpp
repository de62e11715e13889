#include "sync/SyncFile.h"
#include "store/NoteIds.h"

#include <fcntl.h>
#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <filesystem>

namespace bp::sync {
namespace {

constexpr std::string_view kMagic = "BPSYNC";
constexpr std::string_view kVersion = "1";
constexpr std::string_view kEnd = "END";

void appendEscaped(std::string& out, std::string_view text) {
    for (const char c : text) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                out += c;
        }
    }
}

bool unescape(std::string_view text, std::string& out) {
    out.clear();
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size()) {
            return false;
        }
        switch (text[i]) {
            case '\\':
                out += '\\';
                break;
            case 't':
                out += '\t';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            default:
                return false;
        }
    }
    return true;
}

// Names (uids, keys, devices, versions) are short and printable, without separators.
bool validName(std::string_view name, bool mayBeEmpty = false) {
    if (name.size() > kMaxNameBytes || (name.empty() && !mayBeEmpty)) {
        return false;
    }
    for (const char c : name) {
        if (c <= ' ' || c > '~' || c == ',' || c == '\\') {
            return false;
        }
    }
    return true;
}

template <typename Number>
bool parseNumber(std::string_view text, Number& out) {
    if (text.empty() || text.size() > 20) {
        return false;
    }
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
    return error == std::errc() && end == text.data() + text.size();
}

void appendStamp(std::string& out, const Stamp& stamp) {
    out += std::to_string(stamp.wall);
    out += '\t';
    out += std::to_string(stamp.counter);
    out += '\t';
    out += stamp.device;
}

bool parseStamp(const std::vector<std::string_view>& cells, std::size_t at, Stamp& out) {
    return parseNumber(cells[at], out.wall) && out.wall >= 0 && out.wall <= kLatestWall &&
           parseNumber(cells[at + 1], out.counter) && validName(cells[at + 2]) &&
           (out.device = std::string(cells[at + 2]), true);
}

std::vector<std::string_view> splitCells(std::string_view line) {
    std::vector<std::string_view> cells;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        cells.push_back(
            line.substr(start, tab == std::string_view::npos ? line.npos : tab - start));
        if (tab == std::string_view::npos || cells.size() > 16) {
            return cells;
        }
        start = tab + 1;
    }
}

void appendRecord(std::string& out, const SyncRecord& record) {
    switch (record.kind) {
        case SyncRecord::Kind::Field:
            out += "F\t" + record.uid + '\t' + record.key + '\t';
            appendStamp(out, record.stamp);
            out += '\t';
            appendEscaped(out, record.value);
            break;
        case SyncRecord::Kind::Body: {
            out += "B\t" + record.uid + '\t' + record.key + '\t';
            appendStamp(out, record.stamp);
            out += '\t';
            for (std::size_t i = 0; i < record.parents.size(); ++i) {
                out += (i ? "," : "") + record.parents[i];
            }
            out += '\t';
            appendEscaped(out, record.value);
            break;
        }
        case SyncRecord::Kind::Erase:
            out += "E\t" + record.uid + '\t';
            appendStamp(out, record.stamp);
            out += '\t';
            for (std::size_t i = 0; i < record.covers.size(); ++i) {
                const Stamp& seen = record.covers[i];
                out += (i ? "," : "") + std::to_string(seen.wall) + '.' +
                       std::to_string(seen.counter) + '.' + seen.device;
            }
            break;
    }
    out += '\n';
}

bool parseParents(std::string_view text, std::vector<std::string>& out,
                  std::size_t limit = kMaxParents) {
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t comma = text.find(',', start);
        const std::string_view one =
            text.substr(start, comma == std::string_view::npos ? text.npos : comma - start);
        if (!validName(one) || out.size() == limit) {
            return false;
        }
        out.emplace_back(one);
        if (comma == std::string_view::npos) {
            break;
        }
        start = comma + 1;
    }
    return true;
}

// "wall.counter.device" for each device, comma-separated.
bool parseCovers(std::string_view text, std::vector<Stamp>& out) {
    std::vector<std::string> items;
    if (!parseParents(text, items, kMaxDevices)) {
        return false;
    }
    for (const std::string& item : items) {
        const std::size_t first = item.find('.');
        const std::size_t second = first == std::string::npos ? first : item.find('.', first + 1);
        if (second == std::string::npos) {
            return false;
        }
        const std::vector<std::string_view> cells{
            std::string_view(item).substr(0, first),
            std::string_view(item).substr(first + 1, second - first - 1),
            std::string_view(item).substr(second + 1)};
        Stamp seen;
        if (!parseStamp(cells, 0, seen)) {
            return false;
        }
        out.push_back(std::move(seen));
    }
    return true;
}

bool parseRecord(std::string_view line, SyncRecord& record) {
    const std::vector<std::string_view> cells = splitCells(line);
    if (cells[0] == "F" && cells.size() == 7) {
        record.kind = SyncRecord::Kind::Field;
        record.uid = cells[1];
        record.key = cells[2];
        return validName(cells[1]) && validName(cells[2]) && parseStamp(cells, 3, record.stamp) &&
               cells[6].size() <= 2 * kMaxValueBytes && unescape(cells[6], record.value) &&
               record.value.size() <= kMaxValueBytes;
    }
    if (cells[0] == "B" && cells.size() == 8) {
        record.kind = SyncRecord::Kind::Body;
        record.uid = cells[1];
        record.key = cells[2];
        return validName(cells[1]) && validName(cells[2]) && parseStamp(cells, 3, record.stamp) &&
               parseParents(cells[6], record.parents) && cells[7].size() <= 2 * kMaxValueBytes &&
               unescape(cells[7], record.value) && record.value.size() <= kMaxValueBytes;
    }
    if (cells[0] == "E" && cells.size() == 6) {
        record.kind = SyncRecord::Kind::Erase;
        record.uid = cells[1];
        return validName(cells[1]) && parseStamp(cells, 2, record.stamp) &&
               parseCovers(cells[5], record.covers);
    }
    return false;
}

bool failed(const std::function<bool(std::string_view)>& step, std::string_view name) {
    return step && !step(name);
}

}  // namespace

std::string encodeSyncFile(std::string_view device, const std::vector<SyncRecord>& records) {
    std::string out;
    out += kMagic;
    out += ' ';
    out += kVersion;
    out += ' ';
    out += device;
    out += '\n';
    for (const SyncRecord& record : records) {
        appendRecord(out, record);
    }
    out +=
        std::string(kEnd) + ' ' + std::to_string(records.size()) + ' ' + stableHashHex(out) + '\n';
    return out;
}

SyncFileContents decodeSyncFile(std::string_view bytes) {
    SyncFileContents contents;
    auto refuse = [&](std::string why) {
        contents.records.clear();
        contents.device.clear();
        contents.problem = std::move(why);
        return contents;
    };
    if (bytes.size() > kMaxFileBytes) {
        return refuse("too large");
    }
    if (bytes.empty() || bytes.back() != '\n') {
        return refuse("cut short");
    }
    const std::size_t lastLine = bytes.rfind('\n', bytes.size() - 2);
    if (lastLine == std::string_view::npos) {
        return refuse("cut short");
    }
    const std::string_view body = bytes.substr(0, lastLine + 1);
    const std::string_view trailer = bytes.substr(lastLine + 1, bytes.size() - lastLine - 2);
    const std::size_t headerEnd = body.find('\n');
    const std::string_view header = body.substr(0, headerEnd);
    const std::string prefix = std::string(kMagic) + ' ' + std::string(kVersion) + ' ';
    if (header.substr(0, prefix.size()) != prefix || !validName(header.substr(prefix.size()))) {
        return refuse("not a sync file of this version");
    }
    const std::string expectedEnd = std::string(kEnd) + ' ';
    const std::size_t space = trailer.rfind(' ');
    std::size_t count = 0;
    if (trailer.substr(0, expectedEnd.size()) != expectedEnd || space < expectedEnd.size() ||
        !parseNumber(trailer.substr(expectedEnd.size(), space - expectedEnd.size()), count) ||
        trailer.substr(space + 1) != stableHashHex(body)) {
        return refuse("cut short or damaged");
    }
    contents.device = std::string(header.substr(prefix.size()));
    std::size_t start = headerEnd + 1;
    while (start < body.size()) {
        const std::size_t end = body.find('\n', start);
        SyncRecord record;
        if (!parseRecord(body.substr(start, end - start), record)) {
            return refuse("a malformed record on line " +
                          std::to_string(contents.records.size() + 2));
        }
        contents.records.push_back(std::move(record));
        start = end + 1;
    }
    if (contents.records.size() != count) {
        return refuse("cut short or damaged");
    }
    return contents;
}

bool writeFileWhole(const std::string& path, std::string_view bytes, const WriteStep& step) {
    const std::filesystem::path target(path);
    const std::string temporary =
        (target.parent_path() / ("." + target.filename().string() + ".tmp")).string();
    if (failed(step, "open")) {
        return false;
    }
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        return false;
    }
    bool ok = true;
    std::size_t written = 0;
    while (ok && written < bytes.size()) {
        // A kill half-way leaves the first half of the file under the temporary name.
        if (written == 0 && bytes.size() > 1 && failed(step, "write")) {
            const ssize_t half = ::write(fd, bytes.data(), bytes.size() / 2);
            (void)half;
            ::close(fd);
            return false;
        }
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        ok = n > 0;
        written += ok ? static_cast<std::size_t>(n) : 0;
    }
    if (!ok || failed(step, "sync") || ::fsync(fd) != 0) {
        ::close(fd);
        return false;
    }
    if (::close(fd) != 0 || failed(step, "rename") ||
        ::rename(temporary.c_str(), path.c_str()) != 0) {
        return false;
    }
    const int folder = ::open(target.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}

}  // namespace bp::sync
