#pragma once

#include "StoreData.h"
#include "StoreTypes.h"

#include <optional>
#include <string>

namespace bp {

class IRichTextEngine;

// The notes whose body or title shows a text, as the rich-text engine renders them.
class NoteTextSearch {
public:
    NoteTextSearch(StoreData& data, IRichTextEngine* engine) : data_(data), engine_(engine) {}

    // uid -1 considers every note; options is a list of option words ("case_sensitive",
    // "whole_word", "search_in_notes", "search_in_titles", "all_notes").
    std::optional<IdList> search(int uid, const std::string& options, const std::string& text);

private:
    StoreData& data_;
    IRichTextEngine* engine_;
};

}  // namespace bp
