#include "NoteSection.h"

#include <utility>

namespace bp {

using namespace markup;

namespace {

constexpr std::string_view kOpener = "<note nid=|<|<|<|<|<";  // 20 bytes
constexpr long long kRemoveTail = 24;                         // note end and the line break after

std::string idNeedle(std::int32_t nid) {
    std::string needle(kOpener);
    needle += std::to_string(nid);
    needle += kValueClose;
    return needle;
}

const std::string& attributeString(std::string_view name, int value) {
    static const std::string kStrings[5] = {
        AttributeText("isDeleted", "0"), AttributeText("isDeleted", "1"),
        AttributeText("priority", "0"),  AttributeText("priority", "1"),
        AttributeText("priority", "2"),
    };
    return name == "isDeleted" ? kStrings[value] : kStrings[2 + value];
}

bool contains(std::string_view text, std::string_view what) {
    return text.find(what) != std::string_view::npos;
}

}  // namespace

NoteSection::Summary NoteSection::summarise(std::string_view elem) {
    Summary s;
    s.notDeleted = contains(elem, attributeString("isDeleted", 0));
    s.deleted = contains(elem, attributeString("isDeleted", 1));
    for (int p = 0; p < 3; ++p) {
        s.priority[p] = contains(elem, attributeString("priority", p));
    }
    std::string value;
    if (ReadAttribute(elem, "nid", value) == AttributeFailure::None) {
        s.hasNid = true;
        s.nid = static_cast<std::int32_t>(ParseNumber(value));
    }
    s.opensWithNid = elem.starts_with(kNidElementStart);
    return s;
}

void NoteSection::setKey(Piece& piece) {
    piece.hasOpener = piece.elem.size() >= 2 + kOpener.size() &&
                      std::string_view(piece.elem).substr(2, kOpener.size()) == kOpener;
    piece.hasKey = false;
    piece.key.clear();
    if (!piece.hasOpener) {
        return;
    }
    const long long v = 2 + static_cast<long long>(kOpener.size());
    // The by-id needle can only match when the id is followed by the terminator inside the
    // element; a terminator further on would put the note end into the id text.
    const long long t = Find(piece.elem, kValueClose, v);
    if (t >= v) {
        piece.hasKey = true;
        piece.key = piece.elem.substr(static_cast<std::size_t>(v), static_cast<std::size_t>(t - v));
    }
}

bool NoteSection::elementIsClean(std::string_view elem) {
    if (!elem.starts_with(kNoteStart) || Find(elem, kNoteEnd, 0) != -1) {
        return false;
    }
    const long long first = Find(elem, kOpener, 0);
    if (first != -1 && first != 2) {
        return false;
    }
    return first == -1 || Find(elem, kOpener, first + 1) == -1;
}

bool NoteSection::parseRegion(std::string_view region, long long from, std::string& prefix,
                              std::vector<Piece>& pieces) {
    std::vector<long long> starts;
    long long cursor = from;
    long long lastEnd = -1;
    for (;;) {
        const long long s = Find(region, kNoteStart, cursor);
        if (s == -1) {
            break;
        }
        if (s <= cursor) {
            return false;  // the scan would stop here and never see what follows
        }
        const long long e = Find(region, kNoteEnd, s);
        if (e == -1) {
            return false;
        }
        if (lastEnd < 0) {
            prefix.assign(region.substr(0, static_cast<std::size_t>(s)));
        } else {
            pieces.back().sep.assign(region.substr(static_cast<std::size_t>(lastEnd),
                                                   static_cast<std::size_t>(s - lastEnd)));
        }
        Piece piece;
        piece.elem.assign(
            region.substr(static_cast<std::size_t>(s), static_cast<std::size_t>(e - s)));
        pieces.push_back(std::move(piece));
        starts.push_back(s);
        lastEnd = e;
        cursor = e;
    }
    if (lastEnd < 0) {
        prefix.assign(region);
    } else {
        pieces.back().sep.assign(region.substr(static_cast<std::size_t>(lastEnd)));
    }
    // Every opener must be the one at the start of a scanned element.
    std::size_t k = 0;
    for (long long o = Find(region, kOpener, 0); o != -1; o = Find(region, kOpener, o + 1)) {
        while (k < starts.size() && starts[k] + 2 < o) {
            ++k;
        }
        if (k == starts.size() || starts[k] + 2 != o) {
            return false;
        }
    }
    for (Piece& p : pieces) {
        setKey(p);
    }
    return true;
}

void NoteSection::assign(std::string text) {
    head_.clear();
    pieces_.clear();
    keys_.clear();
    keysDirty_ = true;
    indexed_ = false;
    if (enabled_) {
        std::vector<Piece> pieces;
        std::string head;
        if (parseRegion(text, 2, head, pieces)) {
            head_ = std::move(head);
            pieces_ = std::move(pieces);
            flat_.clear();
            flat_.shrink_to_fit();
            indexed_ = true;
            return;
        }
    }
    flat_ = std::move(text);
}

std::string NoteSection::text() const {
    if (!indexed_) {
        return flat_;
    }
    std::string out;
    out.reserve(size());
    out += head_;
    for (const Piece& p : pieces_) {
        out += p.elem;
        out += p.sep;
    }
    return out;
}

std::size_t NoteSection::size() const {
    if (!indexed_) {
        return flat_.size();
    }
    std::size_t n = head_.size();
    for (const Piece& p : pieces_) {
        n += p.elem.size() + p.sep.size();
    }
    return n;
}

void NoteSection::setIndexing(bool enabled) {
    std::string all = text();
    enabled_ = enabled;
    assign(std::move(all));
}

void NoteSection::rebuildKeys() const {
    keys_.clear();
    for (std::size_t i = 0; i < pieces_.size(); ++i) {
        if (pieces_[i].hasKey) {
            keys_.emplace(pieces_[i].key, i);  // the first in document order wins
        }
    }
    keysDirty_ = false;
}

const NoteSection::Summary& NoteSection::summaryOf(const Piece& piece) const {
    if (!piece.summarised) {
        piece.summary = summarise(piece.elem);
        piece.summarised = true;
    }
    return piece.summary;
}

LookupFailure NoteSection::locate(std::int32_t nid, Location& at, std::string_view& element) const {
    if (!indexed_) {
        at.s = Find(flat_, idNeedle(nid), 0);
        if (at.s <= 0) {
            return LookupFailure::NoNote;
        }
        at.e = Find(flat_, kNoteEnd, at.s);
        if (at.e <= at.s) {
            return LookupFailure::NoNoteEnd;
        }
        element = std::string_view(flat_).substr(static_cast<std::size_t>(at.s),
                                                 static_cast<std::size_t>(at.e - at.s));
        return LookupFailure::None;
    }
    if (keysDirty_) {
        rebuildKeys();
    }
    const auto found = keys_.find(std::to_string(nid));
    if (found == keys_.end()) {
        return LookupFailure::NoNote;
    }
    at.piece = found->second;
    element = std::string_view(pieces_[at.piece].elem).substr(2);
    return LookupFailure::None;
}

void NoteSection::toFlat(std::size_t i, std::size_t j, std::string_view region) {
    std::string out;
    if (i > 0) {
        out += head_;
        for (std::size_t k = 0; k + 1 < i; ++k) {
            out += pieces_[k].elem;
            out += pieces_[k].sep;
        }
        out += pieces_[i - 1].elem;
    }
    out += region;
    for (std::size_t k = j; k < pieces_.size(); ++k) {
        out += pieces_[k].elem;
        out += pieces_[k].sep;
    }
    head_.clear();
    pieces_.clear();
    keys_.clear();
    keysDirty_ = true;
    indexed_ = false;
    flat_ = std::move(out);
}

void NoteSection::replaceRegion(std::size_t i, std::size_t j, std::string region) {
    std::string prefix;
    std::vector<Piece> parsed;
    if (!parseRegion(region, i == 0 ? 2 : 0, prefix, parsed)) {
        toFlat(i, j, region);
        return;
    }
    const bool pureAppend = i == j && j == pieces_.size();
    bool sameKeys = j - i == parsed.size();
    for (std::size_t k = 0; sameKeys && k < parsed.size(); ++k) {
        const Piece& old = pieces_[i + k];
        sameKeys = old.hasKey == parsed[k].hasKey && old.key == parsed[k].key;
    }
    sepBefore(i) = std::move(prefix);
    pieces_.erase(pieces_.begin() + static_cast<std::ptrdiff_t>(i),
                  pieces_.begin() + static_cast<std::ptrdiff_t>(j));
    pieces_.insert(pieces_.begin() + static_cast<std::ptrdiff_t>(i),
                   std::make_move_iterator(parsed.begin()), std::make_move_iterator(parsed.end()));
    if (pureAppend && !keysDirty_) {
        for (std::size_t k = i; k < pieces_.size(); ++k) {
            if (pieces_[k].hasKey) {
                keys_.emplace(pieces_[k].key, k);
            }
        }
    } else if (!sameKeys) {
        keysDirty_ = true;
    }
}

void NoteSection::replaceElement(const Location& at, std::string_view element) {
    if (!indexed_) {
        Remove(flat_, at.s, at.e - at.s);
        InsertAt(flat_, at.s, element);
        return;
    }
    Piece& piece = pieces_[at.piece];
    std::string elem;
    elem.reserve(element.size() + 2);
    elem += "\r\n";
    elem += element;
    if (elementIsClean(elem)) {
        const std::string oldKey = piece.key;
        const bool oldHasKey = piece.hasKey;
        piece.elem = std::move(elem);
        piece.summarised = false;
        setKey(piece);
        if (piece.hasKey != oldHasKey || piece.key != oldKey) {
            keysDirty_ = true;
        }
        return;
    }
    std::string region = sepBefore(at.piece) + elem + piece.sep;
    toFlat(at.piece, at.piece + 1, region);
}

void NoteSection::removeNote(const Location& at) {
    if (!indexed_) {
        Remove(flat_, at.s, at.e - at.s + kRemoveTail);
        return;
    }
    const std::size_t i = at.piece;
    std::string region = sepBefore(i);
    const long long s = static_cast<long long>(region.size()) + 2;
    const long long e =
        static_cast<long long>(region.size()) + static_cast<long long>(pieces_[i].elem.size());
    std::size_t j = i;
    // The removal runs two bytes past the note end; take in as many following elements as
    // the removed bytes reach into.
    while (j < pieces_.size() && static_cast<long long>(region.size()) < e + kRemoveTail) {
        region += pieces_[j].elem;
        region += pieces_[j].sep;
        ++j;
    }
    Remove(region, s, e - s + kRemoveTail);
    replaceRegion(i, j, std::move(region));
}

void NoteSection::append(std::string_view text) {
    if (!indexed_) {
        flat_ += text;
        return;
    }
    const std::size_t n = pieces_.size();
    std::string region = sepBefore(n);
    region += text;
    replaceRegion(n, n, std::move(region));
}

void NoteSection::renumber() {
    std::int32_t counter = 0;
    long long from = 2;
    if (indexed_) {
        long long offset = static_cast<long long>(head_.size());
        std::size_t i = 0;
        for (; i < pieces_.size(); ++i) {
            Piece& piece = pieces_[i];
            std::string elem = piece.elem;
            if (WriteAttribute(elem, "nid", std::to_string(counter + 1)) ==
                AttributeFailure::None) {
                ++counter;
                if (!elementIsClean(elem)) {
                    // Carry on over the flat text, just after this element.
                    std::string region = sepBefore(i) + elem + piece.sep;
                    from = offset + static_cast<long long>(elem.size());
                    toFlat(i, i + 1, region);
                    break;
                }
                piece.elem = std::move(elem);
                piece.summarised = false;
                setKey(piece);
            }
            offset += static_cast<long long>(piece.elem.size() + piece.sep.size());
        }
        keysDirty_ = true;
        if (indexed_) {
            return;
        }
    }
    for (;;) {
        const long long s = Find(flat_, kNoteStart, from);
        if (s <= from) {
            return;
        }
        const long long e = Find(flat_, kNoteEnd, s);
        if (e <= s) {
            return;
        }
        std::string element = Extract(flat_, s, e - s);
        if (WriteAttribute(element, "nid", std::to_string(counter + 1)) == AttributeFailure::None) {
            ++counter;
            Remove(flat_, s, e - s);
            InsertAt(flat_, s, element);
            from = s + static_cast<long long>(element.size());
        } else {
            from = e;
        }
    }
}

}  // namespace bp
