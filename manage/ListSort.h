#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace bp {

// One row's key in the column being sorted: a number, or the bytes of a title.
struct SortKey {
    std::uint32_t number = 0;
    std::string text;
};

// Negative when row 1 goes first. Numbers: the smaller first with direction +1, the greater
// first with -1. Titles run the other way round (title 2 compared with title 1), byte-wise and
// case-sensitive, so the first click on a header lists numbers from the greatest and titles
// from A.
int CompareRows(const SortKey& key1, const SortKey& key2, bool textKey, int sortDirection);

// The sort state of a list: the column last clicked and the direction the next sort uses.
// Each sort flips the direction, whichever column was clicked.
class ListSorter {
public:
    // The key of a row (by its position in the order being sorted) in a column.
    using KeyOf = std::function<SortKey(std::size_t row, int column)>;

    explicit ListSorter(std::function<bool(int column)> isTextColumn)
        : isTextColumn_(std::move(isTextColumn)) {}

    int column() const { return column_; }
    int direction() const { return direction_; }
    // Whether a header was clicked yet; until then the rows keep the order they came in.
    bool sorted() const { return sorted_; }
    // Whether the last sort put the smaller keys first (titles from A), what the header's
    // arrow shows.
    bool ascending() const;

    // A header click: the new order of the rows, as positions into the current order. Each
    // row's key is read once, however many comparisons it takes part in; rows whose keys
    // compare equal keep their order.
    std::vector<std::size_t> sortBy(int column, std::size_t rowCount, const KeyOf& keyOf);
    // The same sort again (after the rows changed), in the direction it used.
    std::vector<std::size_t> repeat(std::size_t rowCount, const KeyOf& keyOf);

private:
    std::vector<std::size_t> order(std::size_t rowCount, const KeyOf& keyOf) const;

    std::function<bool(int)> isTextColumn_;
    int column_ = 0;
    int direction_ = -1;
    bool sorted_ = false;
};

}  // namespace bp
