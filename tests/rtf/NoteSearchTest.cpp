#include "platform/fake/FakePlatform.h"
#include "richtext/QtRichTextEngine.h"
#include "store/NotesDatabase.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

using namespace bp;

namespace {

class NoteSearch : public ::testing::Test {
protected:
    NoteSearch() : store(platform()) {
        store.SetDataFolder(folder.path());
        EXPECT_TRUE(store.OpenDatabase(0));
        body(1,
             "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\pard Notes on \\b the\\b0  trip\\par}");
        body(2, "{\\rtf1\\ansi\\deff0\\pard The Note of the day\\par}");
        body(3, "plain text body with noteworthy words");
        store.SetNoteString(1, "Holiday\r\nplans  \t for   July", "title");
    }
    Platform platform() {
        Platform p = fakes.platform();
        p.richText = &engine;
        return p;
    }
    void body(std::int32_t nid, const std::string& text) { store.SetNoteBody(nid, text); }
    std::optional<IdList> search(const std::string& options, const std::string& text) {
        return store.SearchNotes(-1, options, text);
    }

    test::TempFolder folder;
    fake::FakePlatform fakes;
    rtf::QtRichTextEngine engine;
    CNotesDatabase store;
};

TEST_F(NoteSearch, MatchesRenderedTextWithTheOptionsRules) {
    struct Case {
        std::string options;
        std::string text;
        std::optional<IdList> expected;
    };
    const std::string bodies = "search_in_notes";
    const Case cases[] = {
        // The word at the very start of a body is found.
        {bodies, "Notes", IdList{1}},
        {bodies, "note", IdList{1, 2, 3}},
        {bodies + " whole_word", "note", IdList{2}},
        {bodies + " case_sensitive", "Note", IdList{1, 2}},
        {bodies + " case_sensitive whole_word", "Note", IdList{2}},
        // Formatting codes are not text; bold text is.
        {bodies, "\\b", std::nullopt},
        {bodies, "the trip", IdList{1}},
        // Blanks around the search text do not count; nothing is no search.
        {bodies, "  trip  ", IdList{1}},
        {bodies, "   ", std::nullopt},
        {bodies, "", std::nullopt},
        {bodies, "absent", std::nullopt},
        // Titles: line breaks, tabs and runs of blanks read as single blanks.
        {"search_in_titles", "plans for July", IdList{1}},
        {"search_in_titles", "Holiday plans", IdList{1}},
        {"search_in_titles search_in_notes", "July", IdList{1}},
        {"search_in_titles", "High Priority", IdList{3}},
        // Without a place to look, nothing is found.
        {"case_sensitive", "Note", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(search(c.options, c.text), c.expected) << c.options << " / " << c.text;
    }
}

TEST_F(NoteSearch, BinNeverCollapsedAndLockedOnlyWithAllNotes) {
    store.SetNoteDeleted(2, 1);
    store.SetNoteInt(1, 0, "isBody");
    store.SetNoteInt(3, 0, "isEdit");
    EXPECT_EQ(search("search_in_notes", "note"), std::nullopt);
    EXPECT_EQ(search("search_in_notes all_notes", "note"), (IdList{1, 3}));
    // Only notes with the given uid, which notes of this program never have.
    EXPECT_EQ(store.SearchNotes(0, "search_in_notes all_notes", "note"), std::nullopt);
}

}  // namespace
