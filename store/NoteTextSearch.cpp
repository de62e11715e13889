#include "NoteTextSearch.h"

#include "Markup.h"
#include "richtext/RichTextEngine.h"

namespace bp {

using namespace markup;

namespace {

struct Candidate {
    std::int32_t nid = 0;
    std::string body;
    std::string title;
};

std::string trimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

// Line breaks and tabs become blanks and runs of blanks shrink, so a title matches what it
// shows on one line.
std::string flattenTitle(std::string title) {
    for (char& c : title) {
        if (c == '\r' || c == '\n' || c == '\t') {
            c = ' ';
        }
    }
    for (int pass = 0; pass < 2; ++pass) {
        std::string out;
        out.reserve(title.size());
        for (std::size_t i = 0; i < title.size(); ++i) {
            if (title[i] == ' ' && i + 1 < title.size() && title[i + 1] == ' ') {
                out.push_back(' ');
                ++i;
            } else {
                out.push_back(title[i]);
            }
        }
        title.swap(out);
    }
    return trimBlanks(title);
}

bool has(std::string_view options, std::string_view word) {
    return options.find(word) != std::string_view::npos;
}

}  // namespace

std::optional<IdList> NoteTextSearch::search(int uid, const std::string& options,
                                             const std::string& text) {
    IRichTextEngine* engine = engine_;
    const std::string needle = trimBlanks(text);
    if (engine == nullptr || needle.empty()) {
        return std::nullopt;
    }
    const bool inBodies = has(options, "search_in_notes");
    const bool inTitles = has(options, "search_in_titles");
    const bool allNotes = has(options, "all_notes");
    const bool caseSensitive = has(options, "case_sensitive");
    const bool wholeWord = has(options, "whole_word");
    const std::string uidText = AttributeText("uid", std::to_string(uid));
    const std::string notDeleted = AttributeText("isDeleted", "0");
    const std::string expanded = AttributeText("isBody", "1");
    const std::string editable = AttributeText("isEdit", "1");

    // The candidates are copied out under the lock, and rendered and searched after it, so a
    // long search never holds up the notes.
    std::vector<Candidate> candidates;
    {
        std::lock_guard lock(data_.lock);
        data_.notes.forEachElement([&](std::string_view element) {
            if (uid >= 0 && element.find(uidText) == std::string_view::npos) {
                return;
            }
            if (element.find(notDeleted) == std::string_view::npos) {
                return;
            }
            if (!allNotes && (element.find(expanded) == std::string_view::npos ||
                              element.find(editable) == std::string_view::npos)) {
                return;
            }
            Candidate c;
            std::string nid;
            if (ReadAttribute(element, "nid", nid) != AttributeFailure::None) {
                return;
            }
            c.nid = parseStoredInt(nid);
            if (inBodies) {
                const long long n = Find(element, kBodyStart, 0);
                const long long m = n > 0 ? Find(element, "\r\n]CDATAEND]!>", n) : -1;
                if (n > 0 && m > 0) {
                    c.body = Extract(element, n + 16, m - n - 16);
                }
            }
            if (inTitles) {
                ReadAttribute(element, "title", c.title);
            }
            candidates.push_back(std::move(c));
        });
    }

    IdList found;
    for (const Candidate& c : candidates) {
        long long p = -1;
        if (inBodies) {
            p = engine->find(c.body, false, needle, caseSensitive, wholeWord);
        }
        if (inTitles && p <= 0) {
            p = engine->find(flattenTitle(c.title), true, needle, caseSensitive, wholeWord);
        }
        if (p > 0) {
            found.push_back(c.nid);
        }
    }
    if (found.empty()) {
        return std::nullopt;
    }
    return found;
}

}  // namespace bp
