#pragma once

#include <string>
#include <string_view>

namespace bp {

// The rich-text engine as the notes store sees it: note bodies are RTF (or, for old notes, plain
// text) and the store needs their visible text without depending on any toolkit.
class IRichTextEngine {
public:
    virtual ~IRichTextEngine() = default;

    // The text a reader sees, UTF-8, paragraphs joined by "\r\n". List markers and embedded
    // pictures are not text; a link contributes the text it shows.
    virtual std::string plainText(std::string_view body) = 0;

    // Searches the text of `body` for `needle` the way the note search does: one blank is put in
    // front of the loaded text, so a hit at the very start is reported as position 1. Positions
    // count UTF-16 code units, paragraph breaks count as one. When `bodyIsTitleText` is true the
    // body is plain UTF-8 text (a note title), otherwise it is loaded like a stored note body.
    // Returns -1 when nothing is found; an empty needle finds nothing.
    virtual long long find(std::string_view body, bool bodyIsTitleText, std::string_view needle,
                           bool caseSensitive, bool wholeWord) = 0;
};

}  // namespace bp
