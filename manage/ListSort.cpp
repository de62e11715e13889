#include "ListSort.h"

#include <algorithm>
#include <numeric>

namespace bp {

int CompareRows(const SortKey& key1, const SortKey& key2, bool textKey, int sortDirection) {
    if (textKey) {
        const int c = key2.text.compare(key1.text);
        return (c < 0 ? -1 : c > 0 ? 1 : 0) * sortDirection;
    }
    if (key1.number < key2.number) {
        return -sortDirection;
    }
    if (key1.number > key2.number) {
        return sortDirection;
    }
    return 0;
}

std::vector<std::size_t> ListSorter::sortBy(int column, std::size_t rowCount, const KeyOf& keyOf) {
    column_ = column;
    sorted_ = true;
    std::vector<std::size_t> result = order(rowCount, keyOf);
    direction_ = -direction_;
    return result;
}

bool ListSorter::ascending() const {
    // direction_ is already the next sort's; the titles run the other way round.
    const int used = -direction_;
    const bool text = isTextColumn_ && isTextColumn_(column_);
    return text ? used < 0 : used > 0;
}

std::vector<std::size_t> ListSorter::repeat(std::size_t rowCount, const KeyOf& keyOf) {
    direction_ = -direction_;
    std::vector<std::size_t> result = order(rowCount, keyOf);
    direction_ = -direction_;
    return result;
}

std::vector<std::size_t> ListSorter::order(std::size_t rowCount, const KeyOf& keyOf) const {
    std::vector<SortKey> keys;
    keys.reserve(rowCount);
    for (std::size_t row = 0; row < rowCount; ++row) {
        keys.push_back(keyOf(row, column_));
    }
    const bool text = isTextColumn_ && isTextColumn_(column_);
    std::vector<std::size_t> positions(rowCount);
    std::iota(positions.begin(), positions.end(), std::size_t{0});
    std::stable_sort(positions.begin(), positions.end(), [&](std::size_t a, std::size_t b) {
        return CompareRows(keys[a], keys[b], text, direction_) < 0;
    });
    return positions;
}

}  // namespace bp
