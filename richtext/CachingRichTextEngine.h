#pragma once

#include "richtext/RichTextEngine.h"

#include <QString>

#include <cstddef>
#include <list>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

namespace bp::rtf {

// The rich-text engine of the running program: it renders as QtRichTextEngine does and keeps
// what it rendered, keyed by the stored bytes, so a search that runs on every key typed (the
// desktop's search, Find) renders only the notes that changed since the last one. The least
// recently used texts go once they hold more than the capacity.
class CachingRichTextEngine : public IRichTextEngine {
public:
    // Enough for 1,000 notes of 10 KB; a body larger than this is rendered each time.
    static constexpr std::size_t kDefaultCapacityBytes = 48u << 20;

    explicit CachingRichTextEngine(std::size_t capacityBytes = kDefaultCapacityBytes)
        : capacity_(capacityBytes) {}

    std::string plainText(std::string_view body) override;
    long long find(std::string_view body, bool bodyIsTitleText, std::string_view needle,
                   bool caseSensitive, bool wholeWord) override;

    // What the kept texts and their keys hold, roughly.
    std::size_t heldBytes() const;

private:
    // What a body is kept as: the text a reader sees, the text the search runs over, and the
    // same for a title.
    enum Kind { kPlain, kBodySearch, kTitleSearch, kKinds };
    struct Entry {
        Kind kind;
        std::string key;
        std::string plain;
        QString search;
        std::size_t bytes() const;
    };
    using Order = std::list<Entry>;

    // The entry of the key (made with `render` when missing), now the most recently used.
    template <typename Render>
    const Entry& lookUp(Kind kind, std::string_view key, Render render);
    void trim();

    const std::size_t capacity_;
    mutable std::mutex mutex_;
    Order order_;  // most recently used first
    std::unordered_map<std::string_view, Order::iterator> index_[kKinds];
    std::size_t held_ = 0;
};

}  // namespace bp::rtf
