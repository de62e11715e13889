#include "FindOptions.h"

namespace bp {

std::string FindOptions::words() const {
    std::string result;
    auto add = [&result](bool on, const char* word) {
        if (!on) {
            return;
        }
        if (!result.empty()) {
            result += ' ';
        }
        result += word;
    };
    add(matchCase, "case_sensitive");
    add(wholeWord, "whole_word");
    add(inNotes, "search_in_notes");
    add(inTitles, "search_in_titles");
    add(allNotes, "all_notes");
    return result;
}

}  // namespace bp
