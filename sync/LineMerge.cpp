#include "sync/LineMerge.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace bp::sync {
namespace {

using Lines = std::vector<std::string_view>;

// Every line keeps its line break, so joining the lines gives the text back byte for byte.
Lines splitLines(std::string_view text) {
    Lines lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        const std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
        lines.push_back(text.substr(start, next - start));
        start = next;
    }
    return lines;
}

// Beyond this many cells the table of a line-by-line comparison costs too much memory and
// time; edits rarely need it, as the common start and end are taken off first.
constexpr std::size_t kMaxCells = 4'000'000;

// For each line of base, the line of other it is matched with by a longest common
// subsequence, or -1. Empty when the texts are too large to compare.
std::optional<std::vector<long>> matchLines(const Lines& base, const Lines& other) {
    std::vector<long> match(base.size(), -1);
    std::size_t head = 0;
    while (head < base.size() && head < other.size() && base[head] == other[head]) {
        match[head] = static_cast<long>(head);
        ++head;
    }
    std::size_t tail = 0;
    while (tail < base.size() - head && tail < other.size() - head &&
           base[base.size() - 1 - tail] == other[other.size() - 1 - tail]) {
        match[base.size() - 1 - tail] = static_cast<long>(other.size() - 1 - tail);
        ++tail;
    }
    const std::size_t n = base.size() - head - tail;
    const std::size_t m = other.size() - head - tail;
    if (n == 0 || m == 0) {
        return match;
    }
    if ((n + 1) * (m + 1) > kMaxCells) {
        return std::nullopt;
    }
    // lengths[i][j]: the longest common subsequence of base[head+i..] and other[head+j..].
    std::vector<std::uint32_t> lengths((n + 1) * (m + 1), 0);
    auto at = [&](std::size_t i, std::size_t j) -> std::uint32_t& {
        return lengths[i * (m + 1) + j];
    };
    for (std::size_t i = n; i-- > 0;) {
        for (std::size_t j = m; j-- > 0;) {
            at(i, j) = base[head + i] == other[head + j] ? at(i + 1, j + 1) + 1
                                                         : std::max(at(i + 1, j), at(i, j + 1));
        }
    }
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < n && j < m) {
        if (base[head + i] == other[head + j]) {
            match[head + i] = static_cast<long>(head + j);
            ++i;
            ++j;
        } else if (at(i + 1, j) >= at(i, j + 1)) {
            ++i;
        } else {
            ++j;
        }
    }
    return match;
}

bool sameLines(const Lines& a, std::size_t aFrom, std::size_t aTo, const Lines& b,
               std::size_t bFrom, std::size_t bTo) {
    return aTo - aFrom == bTo - bFrom &&
           std::equal(a.begin() + static_cast<long>(aFrom), a.begin() + static_cast<long>(aTo),
                      b.begin() + static_cast<long>(bFrom));
}

}  // namespace

std::optional<std::string> mergeLines(std::string_view base, std::string_view ours,
                                      std::string_view theirs) {
    if (ours == theirs || theirs == base) {
        return std::string(ours);
    }
    if (ours == base) {
        return std::string(theirs);
    }
    const Lines b = splitLines(base);
    const Lines o = splitLines(ours);
    const Lines t = splitLines(theirs);
    const std::optional<std::vector<long>> toOurs = matchLines(b, o);
    const std::optional<std::vector<long>> toTheirs = matchLines(b, t);
    if (!toOurs || !toTheirs) {
        return std::nullopt;
    }
    std::string merged;
    std::size_t bi = 0;
    std::size_t oi = 0;
    std::size_t ti = 0;
    // Between two lines all three keep, each side either left the base alone, or both made
    // the same change; anything else is a conflict.
    auto takeChunk = [&](std::size_t bEnd, std::size_t oEnd, std::size_t tEnd) {
        const Lines* source = nullptr;
        std::size_t from = 0;
        std::size_t to = 0;
        if (sameLines(b, bi, bEnd, o, oi, oEnd)) {
            source = &t, from = ti, to = tEnd;
        } else if (sameLines(b, bi, bEnd, t, ti, tEnd) || sameLines(o, oi, oEnd, t, ti, tEnd)) {
            source = &o, from = oi, to = oEnd;
        } else {
            return false;
        }
        for (std::size_t k = from; k < to; ++k) {
            merged += (*source)[k];
        }
        return true;
    };
    for (std::size_t k = 0; k < b.size(); ++k) {
        const long oMatch = (*toOurs)[k];
        const long tMatch = (*toTheirs)[k];
        if (oMatch < 0 || tMatch < 0) {
            continue;
        }
        if (!takeChunk(k, static_cast<std::size_t>(oMatch), static_cast<std::size_t>(tMatch))) {
            return std::nullopt;
        }
        merged += b[k];
        bi = k + 1;
        oi = static_cast<std::size_t>(oMatch) + 1;
        ti = static_cast<std::size_t>(tMatch) + 1;
    }
    if (!takeChunk(b.size(), o.size(), t.size())) {
        return std::nullopt;
    }
    return merged;
}

}  // namespace bp::sync
