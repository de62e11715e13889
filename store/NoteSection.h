#pragma once

#include "Markup.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace bp {

// Where a lookup in the database text stopped. The numbers are the ones the store's error box
// shows in its caption ("Error 1" ... "Error 4"), so users and old reports keep meaning the same.
enum class LookupFailure {
    None = 0,
    NoNote = 1,     // no element with that id
    NoNoteEnd = 2,  // the element is not closed
    NoPart = 3,     // the attribute, body or file is not in the element
    NoPartEnd = 4,  // ... or it is not closed
};

// An attribute's failure as the lookup that went looking for it reports it.
constexpr LookupFailure lookupFailureOf(markup::AttributeFailure failure) {
    switch (failure) {
        case markup::AttributeFailure::None:
            return LookupFailure::None;
        case markup::AttributeFailure::Missing:
            return LookupFailure::NoPart;
        case markup::AttributeFailure::NoTerminator:
            return LookupFailure::NoPartEnd;
    }
    return LookupFailure::NoPart;
}

// The notes section of a database: the text between "\r\n<notes>\r\n" and the notes end.
//
// Every read and write of the format is defined as a search over this text from its start.
// With a thousand notes of rich text that is megabytes per attribute read, so when the text
// parses cleanly it is held as one string per note element plus the text that follows each,
// with a map from id to element. "Cleanly" means exactly that the by-id search and the
// document-order scan can only ever land where the map says: every "<note nid=" opener sits at
// the start of a scanned element, every scanned element has its end, and no element contains a
// note end. Each splice re-checks the text it touched; the first one that would break the rule
// turns the section back into one flat string, where every operation is the plain search of
// the format. Both forms give the same results, byte for byte.
class NoteSection {
public:
    static constexpr std::string_view kNidElementStart = "\r\n<note nid=|<|<|<|<|<";

    // Where a note found by id lies: in flat form, s and e are offsets into the text; in
    // indexed form, piece is its element.
    struct Location {
        long long s = -1;
        long long e = -1;
        std::size_t piece = 0;
    };

    // One scanned element, as seen by the listings. The flags are for the exact attribute
    // strings the listings test; nid is read as the listings read it.
    struct Summary {
        bool notDeleted = false;
        bool deleted = false;
        bool priority[3] = {false, false, false};
        bool hasNid = false;
        std::int32_t nid = 0;
        // Begins with "\r\n<note nid=|<|<|<|<|<": what the recycle-bin scan looks for.
        bool opensWithNid = false;
    };

    NoteSection() = default;
    explicit NoteSection(std::string text) { assign(std::move(text)); }

    void assign(std::string text);
    void clear() { assign({}); }
    std::string text() const;
    std::size_t size() const;
    bool indexed() const { return indexed_; }
    // Off: always the flat form (reference figures, tests).
    void setIndexing(bool enabled);

    // Found, else NoNote or NoNoteEnd. element is the note's text from "<note nid=" up to its end
    // and stays valid until the next change.
    LookupFailure locate(std::int32_t nid, Location& at, std::string_view& element) const;
    // Remove(s, e - s) and InsertAt(s, element) for a located note.
    void replaceElement(const Location& at, std::string_view element);
    // Remove(s, e - s + 24) for a located note.
    void removeNote(const Location& at);
    void append(std::string_view text);

    // Visits every scanned element in document order with its text (starting "\r\n<note ").
    template <typename Visit>
    void forEachElement(Visit&& visit) const;
    // Visits every scanned element's summary in document order.
    template <typename Visit>
    void forEachSummary(Visit&& visit) const;
    // The recycle-bin scan: elements found by "\r\n<note nid=|<|<|<|<|<".
    template <typename Visit>
    void forEachNidElementSummary(Visit&& visit) const;

    // Gives the notes the ids 1, 2, 3, ... in document order.
    void renumber();

private:
    struct Piece {
        std::string elem;  // "\r\n<note ..." up to the note end
        std::string sep;   // the note end and everything up to the next element
        std::string key;   // the id text after the opener, when the element has one
        bool hasKey = false;
        bool hasOpener = false;
        mutable bool summarised = false;
        mutable Summary summary;
    };

    static Summary summarise(std::string_view elem);
    static void setKey(Piece& piece);
    // Splits region into its leading text and elements; false when it does not parse cleanly.
    static bool parseRegion(std::string_view region, long long from, std::string& prefix,
                            std::vector<Piece>& pieces);
    static bool elementIsClean(std::string_view elem);
    std::string& sepBefore(std::size_t i) { return i == 0 ? head_ : pieces_[i - 1].sep; }
    // Replaces the separator before piece i and pieces [i, j) by region.
    void replaceRegion(std::size_t i, std::size_t j, std::string region);
    void toFlat(std::size_t i, std::size_t j, std::string_view region);
    void rebuildKeys() const;
    const Summary& summaryOf(const Piece& piece) const;

    bool enabled_ = true;
    bool indexed_ = false;
    std::string flat_;
    std::string head_;
    std::vector<Piece> pieces_;
    mutable std::unordered_map<std::string, std::size_t> keys_;
    mutable bool keysDirty_ = true;
};

template <typename Visit>
void NoteSection::forEachElement(Visit&& visit) const {
    if (indexed_) {
        for (const Piece& p : pieces_) {
            visit(std::string_view(p.elem));
        }
        return;
    }
    long long from = 2;
    for (;;) {
        const long long s = markup::Find(flat_, markup::kNoteStart, from);
        if (s <= from) {
            return;
        }
        const long long e = markup::Find(flat_, markup::kNoteEnd, s);
        if (e <= s) {
            return;
        }
        visit(std::string_view(flat_).substr(static_cast<std::size_t>(s),
                                             static_cast<std::size_t>(e - s)));
        from = e;
    }
}

template <typename Visit>
void NoteSection::forEachSummary(Visit&& visit) const {
    if (indexed_) {
        for (const Piece& p : pieces_) {
            visit(summaryOf(p));
        }
        return;
    }
    forEachElement([&](std::string_view elem) { visit(summarise(elem)); });
}

template <typename Visit>
void NoteSection::forEachNidElementSummary(Visit&& visit) const {
    if (indexed_) {
        for (const Piece& p : pieces_) {
            if (p.hasOpener) {
                visit(summaryOf(p));
            }
        }
        return;
    }
    long long from = 2;
    for (;;) {
        const long long s = markup::Find(flat_, kNidElementStart, from);
        if (s <= from) {
            return;
        }
        const long long e = markup::Find(flat_, markup::kNoteEnd, s);
        if (e <= s) {
            return;
        }
        visit(summarise(std::string_view(flat_).substr(static_cast<std::size_t>(s),
                                                       static_cast<std::size_t>(e - s))));
        from = e;
    }
}

}  // namespace bp
