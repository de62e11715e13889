#include "richtext/CachingRichTextEngine.h"

#include "richtext/QtRichTextEngine.h"

namespace bp::rtf {

std::size_t CachingRichTextEngine::Entry::bytes() const {
    // The node, the index's slot and the strings' headers, roughly.
    constexpr std::size_t kOverhead = 128;
    return kOverhead + key.size() + plain.size() + static_cast<std::size_t>(search.size()) * 2;
}

template <typename Render>
const CachingRichTextEngine::Entry& CachingRichTextEngine::lookUp(Kind kind, std::string_view key,
                                                                  Render render) {
    auto& index = index_[kind];
    if (const auto found = index.find(key); found != index.end()) {
        order_.splice(order_.begin(), order_, found->second);
        return order_.front();
    }
    Entry entry{kind, std::string(key), {}, {}};
    render(entry);
    order_.push_front(std::move(entry));
    // The index's key views the entry's own copy, which a list node never moves.
    index.emplace(order_.front().key, order_.begin());
    held_ += order_.front().bytes();
    trim();
    return order_.front();
}

void CachingRichTextEngine::trim() {
    // The entry just made stays, however large: its caller is about to read it.
    while (held_ > capacity_ && order_.size() > 1) {
        const Entry& oldest = order_.back();
        held_ -= oldest.bytes();
        index_[oldest.kind].erase(oldest.key);
        order_.pop_back();
    }
}

std::string CachingRichTextEngine::plainText(std::string_view body) {
    std::lock_guard lock(mutex_);
    return lookUp(kPlain, body,
                  [&](Entry& entry) { entry.plain = QtRichTextEngine().plainText(body); })
        .plain;
}

long long CachingRichTextEngine::find(std::string_view body, bool bodyIsTitleText,
                                      std::string_view needle, bool caseSensitive, bool wholeWord) {
    const QString pattern = QString::fromUtf8(needle.data(), static_cast<qsizetype>(needle.size()));
    if (pattern.isEmpty()) {
        return -1;
    }
    QString text;
    {
        std::lock_guard lock(mutex_);
        // Copied out (the copy shares the characters), so the search runs outside the lock.
        text = lookUp(bodyIsTitleText ? kTitleSearch : kBodySearch, body, [&](Entry& entry) {
                   entry.search = searchableText(body, bodyIsTitleText);
               }).search;
    }
    return findText(text, pattern, caseSensitive, wholeWord);
}

std::size_t CachingRichTextEngine::heldBytes() const {
    std::lock_guard lock(mutex_);
    return held_;
}

}  // namespace bp::rtf
